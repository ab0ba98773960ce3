#include "dialogs/controls/UnitDataExchange.h"

#include "framework/core/Resources.h"
#include "framework/core/Utf8Text.h"
#include "framework/ui/CDataExchange.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/ControlDefs.h"
#include "framework/ui/MessageBox.h"
#include "model/CModeDelay.h"
#include "model/DistanceUnit.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

namespace {

constexpr UINT IDP_TEXT_LENGTH_RANGE = 469;
constexpr UINT IDP_TEXT_LENGTH_EXACT = 470;
constexpr UINT IDP_NOTHING_SELECTED = 471;
constexpr UINT IDP_POINT_TOO_NEAR = 473;
constexpr UINT IDP_POINT_TOO_FAR = 474;
constexpr UINT IDP_WRONG_UNIT = 475;

constexpr int kRealPrecision = 2;

struct BeamCountItem {
    int count;
    UINT textId;
};
constexpr std::array<BeamCountItem, 3> kBeamCounts = {{{91, 1002}, {181, 1003}, {361, 1004}}};

bool IsBlank(char ch) { return ch == ' ' || ch == '\t'; }
bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

std::string_view SkipBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    return text;
}

char AsciiLower(char ch) { return ch >= 'A' && ch <= 'Z' ? char(ch - 'A' + 'a') : ch; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (AsciiLower(text[i]) != AsciiLower(prefix[i])) return false;
    return true;
}

// The digits after an optional sign, as the C library's base-10 conversions read them.
std::size_t SignedDigitsLength(std::string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t firstDigit = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    return i == firstDigit ? 0 : i;
}

// The decimal real at the start of text as the C library's conversion reads it (sign,
// digits, point, exponent), leaving out its special forms (nan, inf, hexadecimal).
std::size_t DecimalRealLength(std::string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        const std::size_t exponentDigits = SignedDigitsLength(text.substr(i + 1));
        if (exponentDigits > 0) i += 1 + exponentDigits;
    }
    return i;
}

bool ConvertReal(std::string_view number, double& value)
{
    if (!number.empty() && number.front() == '+') number.remove_prefix(1);
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    return error == std::errc() && end == number.data() + number.size() && std::isfinite(value);
}

bool ConvertInt(std::string_view number, bool isSigned, std::int64_t& value)
{
    bool negative = false;
    if (number.front() == '+' || number.front() == '-') {
        negative = number.front() == '-';
        number.remove_prefix(1);
    }
    std::uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), magnitude);
    if (error != std::errc() || end != number.data() + number.size()) return false;
    if (isSigned) {
        const std::uint64_t limit = negative ? 0x80000000u : 0x7FFFFFFFu;
        if (magnitude > limit) return false;
        value = negative ? -std::int64_t(magnitude) : std::int64_t(magnitude);
        return true;
    }
    // An unsigned member never takes a negative number as its two's complement.
    if (negative || magnitude > 0xFFFFFFFFu) return false;
    value = std::int64_t(magnitude);
    return true;
}

// What may follow a number: blanks, then nothing or the unit; after the unit the end.
int CheckUnit(std::string_view rest, LPCTSTR unit, int resultAfterUnit)
{
    rest = SkipBlanks(rest);
    if (rest.empty()) return kParseAccepted;
    const std::string_view unitText = unit ? unit : "";
    if (!StartsWithNoCase(rest, unitText)) return kParseWrongUnit;
    rest.remove_prefix(unitText.size());
    return rest.empty() ? kParseAccepted : resultAfterUnit;
}

bool IsSignedFormat(LPCTSTR format)
{
    const std::string_view f = format ? format : "";
    return !f.empty() && (f.back() == 'd' || f.back() == 'i');
}

CString UnitOrEmpty(LPCTSTR unit) { return CString(unit ? unit : ""); }

CString FormatReal(double value, int precision, LPCTSTR unit)
{
    return FormatDecimal(value, precision) + " " + UnitOrEmpty(unit);
}

CString FormatInt(std::int64_t value, LPCTSTR unit)
{
    CString text;
    text.Format("%lld %s", static_cast<long long>(value), unit ? unit : "");
    return text;
}

CString ControlText(HWND hWnd)
{
    CString text;
    const int length = ::GetWindowTextLength(hWnd);
    if (length > 0) {
        ::GetWindowText(hWnd, text.GetBuffer(length + 1), length + 1);
        text.ReleaseBuffer();
    }
    return text;
}

[[noreturn]] void FailWithPrompt(CDataExchange* pDX, UINT nIDPrompt)
{
    AfxMessageBox(nIDPrompt, MB_OK);
    pDX->Fail();
}

[[noreturn]] void FailWrongUnit(CDataExchange* pDX, LPCTSTR unit)
{
    CString prompt;
    AfxFormatString1(prompt, IDP_WRONG_UNIT, UnitOrEmpty(unit));
    AfxMessageBox(prompt, MB_OK);
    pDX->Fail();
}

[[noreturn]] void FailWithInserts(CDataExchange* pDX, UINT nIDPrompt, UINT nType, const CString* inserts, int count)
{
    const char* strings[3] = {};
    for (int i = 0; i < count; ++i) strings[i] = inserts[i];
    CString prompt;
    AfxFormatStrings(prompt, nIDPrompt, strings, count);
    AfxMessageBox(prompt, nType, nIDPrompt);
    pDX->Fail();
}

// The worker of the real forms: T is float or double.
template <class T>
void DDX_TextFloatWithUnit(CDataExchange* pDX, int nIDC, T& value, LPCTSTR unit, int precision)
{
    const HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        SetWindowTextIfChanged(hWnd, FormatReal(double(value), precision, unit));
        return;
    }
    double parsed = 0;
    const int result = ParseRealWithUnit(ControlText(hWnd), parsed, unit);
    if (result == kParseWrongUnit) FailWrongUnit(pDX, unit);
    if (result != kParseAccepted || std::fabs(parsed) > double(std::numeric_limits<T>::max()))
        FailWithPrompt(pDX, AFX_IDP_PARSE_REAL);
    pDX->Store(value, T(parsed));
}

// The worker of the integer forms: the format decides signedness, maxValue the member's range.
template <class T>
void DDX_TextIntWithUnit(CDataExchange* pDX, int nIDC, T& value, LPCTSTR format, UINT nIDPrompt, LPCTSTR unit)
{
    const HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        SetWindowTextIfChanged(hWnd, FormatInt(std::int64_t(value), unit));
        return;
    }
    std::int64_t parsed = 0;
    const int result = ParseIntWithUnit(ControlText(hWnd), format, parsed, unit);
    if (result == kParseWrongUnit) FailWrongUnit(pDX, unit);
    if (result != kParseAccepted || parsed < std::int64_t(std::numeric_limits<T>::min())
        || parsed > std::int64_t(std::numeric_limits<T>::max()))
        FailWithPrompt(pDX, nIDPrompt);
    pDX->Store(value, T(parsed));
}

template <class T>
constexpr bool kIsReal = std::is_floating_point_v<T>;

template <class T>
CString FormatValue(T value, LPCTSTR unit)
{
    if constexpr (kIsReal<T>)
        return FormatReal(double(value), kRealPrecision, unit);
    else
        return FormatInt(std::int64_t(value), unit);
}

int CharacterCount(const CString& text)
{
    return Utf8CharacterCount(text.str());
}

void FillBeamCountCombo(HWND hCombo)
{
    ::SendMessage(hCombo, WM_SETREDRAW, FALSE, 0);
    ::SendMessage(hCombo, CB_RESETCONTENT, 0, 0);
    for (const BeamCountItem& item : kBeamCounts) {
        CString text;
        text.LoadString(item.textId);
        const LRESULT index = ::SendMessage(hCombo, CB_ADDSTRING, 0, LPARAM(text.c_str()));
        if (index >= 0) ::SendMessage(hCombo, CB_SETITEMDATA, WPARAM(index), LPARAM(item.count));
    }
    ::SendMessage(hCombo, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hCombo, nullptr, TRUE);
}

} // namespace

int ParseRealWithUnit(LPCTSTR text, double& result, LPCTSTR unit)
{
    const std::string_view trimmed = SkipBlanks(text ? text : "");
    const char first = trimmed.empty() ? '\0' : trimmed.front();
    const std::size_t length = DecimalRealLength(trimmed);
    double value = 0;
    if (length > 0 && !ConvertReal(trimmed.substr(0, length), value)) return kParseNotANumber;
    if (value == 0 && first != '0') return kParseNotANumber;
    const int verdict = CheckUnit(trimmed.substr(length), unit, kParseNotANumber);
    if (verdict == kParseAccepted) result = value;
    return verdict;
}

int ParseIntWithUnit(LPCTSTR text, LPCTSTR format, std::int64_t& result, LPCTSTR unit)
{
    const std::string_view trimmed = SkipBlanks(text ? text : "");
    const char first = trimmed.empty() ? '\0' : trimmed.front();
    const std::size_t length = SignedDigitsLength(trimmed);
    std::int64_t value = 0;
    if (length > 0 && !ConvertInt(trimmed.substr(0, length), IsSignedFormat(format), value)) return kParseNotANumber;
    if (value == 0 && first != '0') return kParseNotANumber;
    const int verdict = CheckUnit(trimmed.substr(length), unit, kParseWrongUnit);
    if (verdict == kParseAccepted) result = value;
    return verdict;
}

void SetWindowTextIfChanged(HWND hWnd, LPCTSTR text)
{
    const CString wanted(text);
    if (ControlText(hWnd) != wanted) ::SetWindowText(hWnd, wanted);
}

void DDX_TextWithUnit(CDataExchange* pDX, int nIDC, float& value, LPCTSTR unit)
{
    DDX_TextFloatWithUnit(pDX, nIDC, value, unit, kRealPrecision);
}

void DDX_TextWithUnit(CDataExchange* pDX, int nIDC, double& value, LPCTSTR unit)
{
    DDX_TextFloatWithUnit(pDX, nIDC, value, unit, kRealPrecision);
}

void DDX_TextWithUnit(CDataExchange* pDX, int nIDC, BYTE& value, LPCTSTR unit)
{
    DDX_TextIntWithUnit(pDX, nIDC, value, "%u", AFX_IDP_PARSE_INT, unit);
}

void DDX_TextWithUnit(CDataExchange* pDX, int nIDC, int& value, LPCTSTR unit)
{
    DDX_TextIntWithUnit(pDX, nIDC, value, "%d", AFX_IDP_PARSE_INT, unit);
}

void DDX_TextWithUnit(CDataExchange* pDX, int nIDC, UINT& value, LPCTSTR unit)
{
    DDX_TextIntWithUnit(pDX, nIDC, value, "%u", AFX_IDP_PARSE_INT, unit);
}

void DDX_TextWithUnit(CDataExchange* pDX, int nIDC, WORD& value, LPCTSTR unit)
{
    DDX_TextIntWithUnit(pDX, nIDC, value, "%u", AFX_IDP_PARSE_INT, unit);
}

void DDX_Delay(CDataExchange* pDX, int nIDC, CModeDelay& value)
{
    BYTE delay = value.GetDelay();
    DDX_TextWithUnit(pDX, nIDC, delay, "");
    if (!pDX->m_bSaveAndValidate) return;
    CModeDelay chosen(value);
    chosen.SetDelay(delay);
    pDX->Store(value, chosen);
}

void FailMinMaxRealWithUnit(CDataExchange* pDX, double minVal, double maxVal, int precision, UINT nIDPrompt,
                            LPCTSTR unit)
{
    if (!pDX->m_bSaveAndValidate) return;
    const CString bounds[2] = {FormatReal(minVal, precision, unit), FormatReal(maxVal, precision, unit)};
    FailWithInserts(pDX, nIDPrompt, MB_OK | MB_ICONEXCLAMATION, bounds, 2);
}

void FailMinMaxIntWithUnit(CDataExchange* pDX, std::int64_t minVal, std::int64_t maxVal, UINT nIDPrompt, LPCTSTR unit)
{
    if (!pDX->m_bSaveAndValidate) return;
    const CString bounds[2] = {FormatInt(minVal, unit), FormatInt(maxVal, unit)};
    FailWithInserts(pDX, nIDPrompt, MB_OK | MB_ICONEXCLAMATION, bounds, 2);
}

void FailRadiusReal(CDataExchange* pDX, double x, double y, double distance, UINT nIDPrompt, LPCTSTR unit)
{
    if (!pDX->m_bSaveAndValidate) return;
    const CString inserts[3] = {FormatReal(x, kRealPrecision, unit), FormatReal(y, kRealPrecision, unit),
                                FormatReal(distance, kRealPrecision, unit)};
    FailWithInserts(pDX, nIDPrompt, MB_OK | MB_ICONEXCLAMATION, inserts, 3);
}

void FailRadiusInt(CDataExchange* pDX, std::int64_t x, std::int64_t y, double distance, UINT nIDPrompt, LPCTSTR unit)
{
    if (!pDX->m_bSaveAndValidate) return;
    const CString inserts[3] = {FormatInt(x, unit), FormatInt(y, unit), FormatReal(distance, kRealPrecision, unit)};
    FailWithInserts(pDX, nIDPrompt, MB_OK | MB_ICONEXCLAMATION, inserts, 3);
}

double PointRadius(double x, double y) { return std::sqrt(x * x + y * y); }

void DDX_InchLength(CDataExchange* pDX, int nIDC, double& value, LPCTSTR inchUnit, double unitsPerInch)
{
    double inches = value / unitsPerInch;
    DDX_TextFloatWithUnit(pDX, nIDC, inches, inchUnit, kRealPrecision);
    if (pDX->m_bSaveAndValidate) pDX->Store(value, double(RoundToInt(inches * unitsPerInch)));
}

void DDV_InchMinMax(CDataExchange* pDX, double value, double minVal, double maxVal, LPCTSTR inchUnit,
                    double unitsPerInch)
{
    if (!pDX->m_bSaveAndValidate || (minVal <= value && value <= maxVal)) return;
    FailMinMaxRealWithUnit(pDX, minVal / unitsPerInch, maxVal / unitsPerInch, kRealPrecision, AFX_IDP_PARSE_REAL_RANGE,
                           inchUnit);
}

void DDV_InchRadius(CDataExchange* pDX, double x, double y, double minVal, double maxVal, LPCTSTR inchUnit,
                    double unitsPerInch)
{
    if (!pDX->m_bSaveAndValidate) return;
    const double distance = PointRadius(x, y);
    if (distance >= minVal && distance <= maxVal) return;
    FailRadiusReal(pDX, x / unitsPerInch, y / unitsPerInch, distance / unitsPerInch,
                   distance < minVal ? IDP_POINT_TOO_NEAR : IDP_POINT_TOO_FAR, inchUnit);
}

template <UnitValue T>
void DDV_MinMaxWithUnit(CDataExchange* pDX, T value, std::type_identity_t<T> minVal, std::type_identity_t<T> maxVal,
                        LPCTSTR unit)
{
    if (!pDX->m_bSaveAndValidate || (minVal <= value && value <= maxVal)) return;
    if constexpr (kIsReal<T>)
        FailMinMaxRealWithUnit(pDX, minVal, maxVal, kRealPrecision, AFX_IDP_PARSE_REAL_RANGE, unit);
    else
        FailMinMaxIntWithUnit(pDX, minVal, maxVal, AFX_IDP_PARSE_INT_RANGE, unit);
}

template <UnitValue T>
void DDV_MinMaxRadius(CDataExchange* pDX, T x, std::type_identity_t<T> y, std::type_identity_t<T> minVal,
                      std::type_identity_t<T> maxVal, LPCTSTR unit)
{
    if (!pDX->m_bSaveAndValidate) return;
    const double distance = PointRadius(double(x), double(y));
    UINT nIDPrompt = 0;
    if (distance < double(minVal))
        nIDPrompt = IDP_POINT_TOO_NEAR;
    else if (distance > double(maxVal))
        nIDPrompt = IDP_POINT_TOO_FAR;
    else
        return;
    if constexpr (kIsReal<T>)
        FailRadiusReal(pDX, x, y, distance, nIDPrompt, unit);
    else
        FailRadiusInt(pDX, x, y, distance, nIDPrompt, unit);
}

template void DDV_MinMaxWithUnit<float>(CDataExchange*, float, float, float, LPCTSTR);
template void DDV_MinMaxWithUnit<double>(CDataExchange*, double, double, double, LPCTSTR);
template void DDV_MinMaxWithUnit<BYTE>(CDataExchange*, BYTE, BYTE, BYTE, LPCTSTR);
template void DDV_MinMaxWithUnit<int>(CDataExchange*, int, int, int, LPCTSTR);
template void DDV_MinMaxWithUnit<UINT>(CDataExchange*, UINT, UINT, UINT, LPCTSTR);
template void DDV_MinMaxWithUnit<WORD>(CDataExchange*, WORD, WORD, WORD, LPCTSTR);
template void DDV_MinMaxRadius<float>(CDataExchange*, float, float, float, float, LPCTSTR);
template void DDV_MinMaxRadius<double>(CDataExchange*, double, double, double, double, LPCTSTR);
template void DDV_MinMaxRadius<BYTE>(CDataExchange*, BYTE, BYTE, BYTE, BYTE, LPCTSTR);
template void DDV_MinMaxRadius<int>(CDataExchange*, int, int, int, int, LPCTSTR);
template void DDV_MinMaxRadius<UINT>(CDataExchange*, UINT, UINT, UINT, UINT, LPCTSTR);
template void DDV_MinMaxRadius<WORD>(CDataExchange*, WORD, WORD, WORD, WORD, LPCTSTR);

void DDV_MinMaxChars(CDataExchange* pDX, const CString& value, int minChars, int maxChars)
{
    if (!pDX->m_bSaveAndValidate) return;
    const int length = CharacterCount(value);
    if (length >= minChars && length <= maxChars) return;
    CString bounds[2];
    bounds[0].Format("%d", minChars);
    bounds[1].Format("%d", maxChars);
    FailWithInserts(pDX, IDP_TEXT_LENGTH_RANGE, MB_OK | MB_ICONEXCLAMATION, bounds, 2);
}

void DDV_ExactChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (!pDX->m_bSaveAndValidate || CharacterCount(value) == nChars) return;
    CString length;
    length.Format("%d", nChars);
    FailWithInserts(pDX, IDP_TEXT_LENGTH_EXACT, MB_OK | MB_ICONEXCLAMATION, &length, 1);
}

void DDV_Selected(CDataExchange* pDX, int index)
{
    if (!pDX->m_bSaveAndValidate || index >= 0) return;
    FailWithPrompt(pDX, IDP_NOTHING_SELECTED);
}

void DDX_BeamCount(CDataExchange* pDX, int nIDC, int& value)
{
    const HWND hCombo = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        const LRESULT selected = ::SendMessage(hCombo, CB_GETCURSEL, 0, 0);
        if (selected != CB_ERR) pDX->Store(value, int(::SendMessage(hCombo, CB_GETITEMDATA, WPARAM(selected), 0)));
        return;
    }
    if (::SendMessage(hCombo, CB_GETCOUNT, 0, 0) != LRESULT(kBeamCounts.size())) FillBeamCountCombo(hCombo);
    // A count outside the table selects nothing, so that saving keeps it.
    LRESULT match = CB_ERR;
    const LRESULT count = ::SendMessage(hCombo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count && match == CB_ERR; ++i)
        if (::SendMessage(hCombo, CB_GETITEMDATA, WPARAM(i), 0) == LPARAM(value)) match = i;
    ::SendMessage(hCombo, CB_SETCURSEL, WPARAM(match), 0);
}
