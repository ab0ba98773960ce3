#include "diagnose/internal/InputDialogs.h"

#include "diagnose/internal/DiagnoseState.h"
#include "diagnose/internal/DiagnoseTexts.h"
#include "framework/ui/MessageBox.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr UINT IDS_NOT_A_NUMBER = 1722;

struct EditSpec {
    int id;
    const char* text;
    int limit; // 0: none set
};

enum class OkRule { AnyText, ExactlyEightCharacters };

// What happens on OK: true closes the dialog with 'result'; false keeps it open.
using OkHandler = bool (*)(HWND hDlg, BYTE* block, INT_PTR& result);

struct DialogSpec {
    std::vector<EditSpec> edits;
    OkHandler onOk;
    OkRule okRule = OkRule::AnyText;
    int chainLimit = 0;            // text in an edit raises the next edit's limit to this
    bool emptyBlockOnCancel = false;
};

// The block of the dialog that runs; the dialogs are modal, so one at a time.
BYTE* g_block = nullptr;

std::string EditText(HWND hDlg, int id, int maxLength = 511)
{
    std::vector<char> text(std::size_t(maxLength) + 1, '\0');
    GetDlgItemText(hDlg, id, text.data(), int(text.size()));
    return text.data();
}

// The edit's text as an unsigned decimal integer; empty when it is none.
std::optional<UINT> EditInteger(HWND hDlg, int id)
{
    BOOL translated = FALSE;
    const UINT value = GetDlgItemInt(hDlg, id, &translated, FALSE);
    if (!translated)
        return std::nullopt;
    return value;
}

void Warn(HWND hDlg, UINT id) { ShowDiagnoseMessage(hDlg, MB_OK | MB_ICONEXCLAMATION, int(id)); }

void EnableOk(HWND hDlg, bool enable) { EnableWindow(GetDlgItem(hDlg, IDOK), enable ? TRUE : FALSE); }

void CopyName(BYTE* target, const std::string& name)
{
    std::memset(target, 0, 9);
    std::memcpy(target, name.data(), std::min<std::size_t>(name.size(), 8));
}

void PutLong(BYTE* block, std::size_t offset, DWORD value)
{
    for (int i = 0; i < 4; ++i)
        block[offset + std::size_t(i)] = BYTE(value >> (8 * i));
}

void PutWord(BYTE* block, std::size_t offset, WORD value)
{
    block[offset] = BYTE(value);
    block[offset + 1] = BYTE(value >> 8);
}

// A number entry of a shape dialog; a typing error warns and keeps the dialog open
// rather than sending 0xFFFF (or its clamp) as a field size.
bool ShapeNumber(HWND hDlg, int id, DWORD& value)
{
    const std::optional<DWORD> number = ParseNumberChecked(EditText(hDlg, id));
    if (!number) {
        Warn(hDlg, IDS_NOT_A_NUMBER);
        SetFocus(GetDlgItem(hDlg, id));
        return false;
    }
    value = *number;
    return true;
}

INT_PTR RunProc(const DialogSpec& spec, HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        g_block = reinterpret_cast<BYTE*>(lParam);
        for (const EditSpec& edit : spec.edits) {
            SetDlgItemText(hDlg, edit.id, edit.text);
            if (edit.limit > 0)
                SendDlgItemMessage(hDlg, edit.id, EM_LIMITTEXT, WPARAM(edit.limit), 0);
        }
        EnableOk(hDlg, spec.okRule == OkRule::AnyText ||
                           (!spec.edits.empty() && std::strlen(spec.edits.front().text) == 8));
        CentreInputDialog(hDlg);
        return TRUE;
    case WM_COMMAND: {
        const int id = LOWORD(DWORD(wParam));
        const UINT code = HIWORD(DWORD(wParam));
        if (code == EN_CHANGE) {
            const int length = GetWindowTextLength(GetDlgItem(hDlg, id));
            EnableOk(hDlg, spec.okRule == OkRule::ExactlyEightCharacters ? length == 8 : length > 0);
            const auto edit = std::find_if(spec.edits.begin(), spec.edits.end(),
                                           [id](const EditSpec& e) { return e.id == id; });
            if (spec.chainLimit > 0 && length > 0 && edit != spec.edits.end() && edit + 1 != spec.edits.end())
                SendDlgItemMessage(hDlg, (edit + 1)->id, EM_LIMITTEXT, WPARAM(spec.chainLimit), 0);
            return TRUE;
        }
        if (id == IDCANCEL) {
            if (spec.emptyBlockOnCancel && g_block)
                g_block[0] = 0;
            EndDialog(hDlg, 0);
            return TRUE;
        }
        if (id == IDOK && g_block) {
            INT_PTR result = 1;
            if (spec.onOk(hDlg, g_block, result))
                EndDialog(hDlg, result);
            return TRUE;
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}

// A one-byte entry checked against [low, high] before it is narrowed to the byte: it
// goes into target (result 1), or its message is shown (result 0).
INT_PTR TakeByteInRange(HWND hDlg, int edit, UINT low, UINT high, UINT message, BYTE& target)
{
    const std::optional<UINT> value = EditInteger(hDlg, edit);
    if (value && *value >= low && *value <= high) {
        target = BYTE(*value);
        return 1;
    }
    Warn(hDlg, message);
    return 0;
}

template <UINT Edit, UINT Low, UINT High, UINT Message>
bool RangeByte(HWND hDlg, BYTE* block, INT_PTR& result)
{
    result = TakeByteInRange(hDlg, int(Edit), Low, High, Message, block[0]);
    return true;
}

bool EditResultOk(HWND hDlg, BYTE* block, INT_PTR& result)
{
    const std::string text = CutText(EditText(hDlg, 2263), kEditResultMaxLength);
    std::memcpy(block, text.c_str(), text.size() + 1);
    result = 1;
    return true;
}

bool MemDumpOk(HWND hDlg, BYTE* block, INT_PTR& result)
{
    PutLong(block, 0, ParseNumber(EditText(hDlg, 2205, 11)));
    PutLong(block, 4, ParseNumber(EditText(hDlg, 2207, 7)));
    result = 1;
    return true;
}

bool HcodeOk(HWND hDlg, BYTE* block, INT_PTR& result)
{
    CopyName(block, EditText(hDlg, 2265, 8));
    result = 1;
    return true;
}

bool DeviceAdrOk(HWND hDlg, BYTE* block, INT_PTR& result)
{
    // Checked before it becomes a byte, so that 300 is refused rather than taken as 44.
    const DWORD address = ParseNumber(EditText(hDlg, 2277));
    if (address >= 128) {
        Warn(hDlg, 1558);
        block[0] = 0;
    } else {
        block[0] = BYTE(address);
    }
    std::string family = EditText(hDlg, 2139);
    std::transform(family.begin(), family.end(), family.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    block[1] = family == "KVR" ? 1 : 0;
    result = 1;
    return true;
}

// Scanner number below 5 and field number below 9; an entry outside gives its message
// and 1.
void ScannerAndField(HWND hDlg, BYTE* block, int scannerEdit, int fieldEdit)
{
    const DWORD scanner = ParseNumber(EditText(hDlg, scannerEdit));
    if (scanner < 5) {
        block[0] = BYTE(scanner);
    } else {
        Warn(hDlg, 1694);
        block[0] = 1;
    }
    const DWORD field = ParseNumber(EditText(hDlg, fieldEdit));
    if (field < 9) {
        block[1] = BYTE(field);
    } else {
        Warn(hDlg, 1696);
        block[1] = 1;
    }
}

bool ZOKFieldNrOk(HWND hDlg, BYTE* block, INT_PTR& result)
{
    ScannerAndField(hDlg, block, 2285, 2286);
    result = 1;
    return true;
}

bool LModeDataOk(HWND hDlg, BYTE* block, INT_PTR& result)
{
    ScannerAndField(hDlg, block, 2294, 2295);
    CopyName(block + 2, EditText(hDlg, 2296, 8));
    result = 1;
    return true;
}

bool AverageMVOk(HWND hDlg, BYTE* block, INT_PTR& result)
{
    const std::optional<UINT> count = EditInteger(hDlg, 2267);
    const std::optional<UINT> mode = EditInteger(hDlg, 2297);
    const bool valid = count && *count >= 1 && *count <= 250;
    PutWord(block, 0, valid ? WORD(*count) : 0);
    PutWord(block, 2, WORD(mode.value_or(0)));
    if (!valid)
        Warn(hDlg, 1680);
    result = valid ? 1 : 0;
    return true;
}

bool IsSegmentCount(UINT count)
{
    constexpr UINT kCounts[] = {9, 10, 15, 18, 30, 45, 90, 180};
    return std::find(std::begin(kCounts), std::end(kCounts), count) != std::end(kCounts);
}

// An invalid segment count or value range is shown and the dialog stays open for a
// correction, instead of sending it.
bool SegmentCountOk(HWND hDlg, BYTE* block, INT_PTR& result)
{
    const std::optional<UINT> count = EditInteger(hDlg, 2257);
    if (!count || !IsSegmentCount(*count)) {
        Warn(hDlg, 1681);
        return false;
    }
    block[0] = BYTE(*count);
    result = TakeByteInRange(hDlg, 2293, 0, 4, 1694, block[2]);
    return true;
}

bool MVPartialOk(HWND hDlg, BYTE* block, INT_PTR& result)
{
    const std::optional<UINT> scanner = EditInteger(hDlg, 2268);
    const std::optional<UINT> first = EditInteger(hDlg, 2273);
    const std::optional<UINT> last = EditInteger(hDlg, 2259);
    if (!first || !last || *last < *first || *last > 361) {
        Warn(hDlg, 1682);
        return false;
    }
    if (!scanner || *scanner >= 5) {
        Warn(hDlg, 1694);
        result = 0;
        return true;
    }
    PutWord(block, 0, WORD(*scanner));
    PutWord(block, 2, WORD(*first));
    PutWord(block, 4, WORD(*last));
    result = 1;
    return true;
}

// Field number and name of the shape blocks.
bool ShapeHead(HWND hDlg, BYTE* block, int numberEdit, int nameEdit)
{
    DWORD number = 0;
    if (!ShapeNumber(hDlg, numberEdit, number))
        return false;
    block[0] = BYTE(number);
    CopyName(block + 1, EditText(hDlg, nameEdit, 8));
    return true;
}

bool CircleOk(HWND hDlg, BYTE* block, INT_PTR& result)
{
    DWORD radius = 0;
    if (!ShapeNumber(hDlg, 2216, radius) || !ShapeHead(hDlg, block, 2282, 2281))
        return false;
    PutLong(block, 12, radius);
    result = 1;
    return true;
}

bool RectangleOk(HWND hDlg, BYTE* block, INT_PTR& result)
{
    constexpr int kEdits[] = {2210, 2212, 2214};
    std::array<DWORD, 3> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!ShapeNumber(hDlg, kEdits[i], values[i]))
            return false;
    }
    if (!ShapeHead(hDlg, block, 2279, 2280))
        return false;
    for (std::size_t i = 0; i < values.size(); ++i)
        PutLong(block, 12 + 4 * i, values[i]);
    result = 1;
    return true;
}

std::vector<std::string> Tokens(const std::string& text)
{
    std::vector<std::string> tokens;
    std::string token;
    for (char c : text + " ") {
        if (c == ' ' || c == ',') {
            if (!token.empty())
                tokens.push_back(token);
            token.clear();
        } else {
            token += c;
        }
    }
    return tokens;
}

bool SegmentOk(HWND hDlg, BYTE* block, INT_PTR& result)
{
    constexpr DWORD kMaxSegments = 360;
    constexpr DWORD kDefaultValue = 60;
    const std::vector<std::string> countTokens = Tokens(EditText(hDlg, 2257));
    const DWORD count = countTokens.empty() ? 0 : ParseNumber(countTokens.front());
    if (count == 0 || count > kMaxSegments) {
        result = 0;
        return true;
    }
    const std::vector<std::string> valueTokens = Tokens(EditText(hDlg, 2258, 399));
    std::vector<DWORD> values;
    for (DWORD i = 0; i <= count; ++i) {
        if (i >= valueTokens.size()) {
            values.push_back(kDefaultValue);
            continue;
        }
        const std::optional<DWORD> value = ParseNumberChecked(valueTokens[i]);
        if (!value) {
            Warn(hDlg, IDS_NOT_A_NUMBER);
            return false;
        }
        values.push_back(*value);
    }
    if (!ShapeHead(hDlg, block, 2261, 2260))
        return false;
    PutLong(block, 12, count);
    for (std::size_t i = 0; i < values.size(); ++i)
        PutLong(block, 16 + 4 * i, values[i]);
    result = 1;
    return true;
}

// Word index of the block, edit id.
constexpr std::pair<std::size_t, int> DynamicWord(std::size_t word)
{
    if (word < 12)
        return {word, 2289 + int(word) - 8};
    if (word < 22)
        return {word, 2247 + int(word) - 12};
    if (word < 32)
        return {word, 2237 + int(word) - 22};
    if (word < 42)
        return {word, 2217 + int(word) - 32};
    return {word, 2227 + int(word) - 42};
}

bool DynamicFieldOk(HWND hDlg, BYTE* block, INT_PTR& result)
{
    constexpr std::size_t kFirstWord = 8;
    constexpr std::size_t kEndWord = 52;
    std::array<DWORD, kEndWord> values{};
    for (std::size_t word = kFirstWord; word < kEndWord; ++word) {
        if (!ShapeNumber(hDlg, DynamicWord(word).second, values[word]))
            return false;
    }
    if (!ShapeHead(hDlg, block, 2287, 2288))
        return false;
    for (std::size_t word = kFirstWord; word < kEndWord; ++word)
        PutWord(block, 2 * word, WORD(values[word]));
    result = 1;
    return true;
}

std::vector<EditSpec> DynamicFieldEdits()
{
    static const std::array<std::array<const char*, 10>, 4> kGrid = {{
        {"30", "35", "40", "45", "50", "55", "60", "70", "75", "80"},
        {"35", "40", "45", "50", "55", "60", "65", "75", "80", "85"},
        {"40", "45", "50", "55", "60", "65", "70", "80", "85", "90"},
        {"50", "60", "70", "80", "90", "100", "110", "120", "130", "140"},
    }};
    std::vector<EditSpec> edits = {{2287, "1", 1}, {2288, "DYNRECT1", 8}, {2289, "15", 0},
                                   {2290, "20", 0}, {2291, "25", 0},      {2292, "5", 0}};
    for (std::size_t column = 0; column < kGrid.size(); ++column)
        for (std::size_t row = 0; row < 10; ++row)
            edits.push_back({2217 + int(column * 10 + row), kGrid[column][row], 4});
    return edits;
}

const DialogSpec kEditResult{{{2263, "", 499}}, EditResultOk, OkRule::AnyText, 0, true};
const DialogSpec kMemDump{{{2205, "", 499}, {2207, "", 0}}, MemDumpOk, OkRule::AnyText, 499};
const DialogSpec kHcode{{{2265, "58302714", 499}}, HcodeOk, OkRule::ExactlyEightCharacters};
const DialogSpec kWATime{{{2266, "2", 2}}, RangeByte<2266, 2, 60, 1679>};
const DialogSpec kAglMode{{{2298, "4", 2}}, RangeByte<2298, 4, 10, 1561>};
const DialogSpec kUWFNr{{{2278, "1", 2}}, RangeByte<2278, 1, 15, 1695>};
const DialogSpec kFieldNr{{{2283, "1", 2}}, RangeByte<2283, 1, 8, 1696>};
const DialogSpec kZOKNr{{{2284, "1", 2}}, RangeByte<2284, 0, 4, 1694>};
const DialogSpec kRspTime{{{2270, "2", 2}}, RangeByte<2270, 2, 16, 1676>};
const DialogSpec kSensorAdr{{{2275, "0", 3}}, RangeByte<2275, 0, 127, 1683>};
const DialogSpec kDeviceAdr{{{2277, "0", 3}}, DeviceAdrOk};
const DialogSpec kZOKFieldNr{{{2285, "1", 3}, {2286, "1", 0}}, ZOKFieldNrOk};
const DialogSpec kLModeData{{{2294, "1", 0}, {2295, "1", 0}, {2296, "Feld1", 8}}, LModeDataOk};
const DialogSpec kAverageMV{{{2267, "10", 3}, {2297, "1", 1}}, AverageMVOk};
const DialogSpec kSegmentCount{{{2257, "10", 3}, {2293, "1", 1}}, SegmentCountOk};
const DialogSpec kMVPartial{{{2268, "1", 3}, {2273, "180", 3}, {2259, "181", 3}}, MVPartialOk};
const DialogSpec kCircle{{{2282, "1", 0}, {2281, "Radius1", 0}, {2216, "111", 0}}, CircleOk, OkRule::AnyText, 499};
const DialogSpec kRectangle{{{2279, "1", 0}, {2280, "Recht1", 0}, {2210, "10", 0}, {2212, "15", 0}, {2214, "15", 0}},
                            RectangleOk, OkRule::AnyText, 499};
const DialogSpec kSegment{{{2261, "1", 0},
                           {2260, "Segment1", 0},
                           {2257, "10", 0},
                           {2258, "60 60 60 60 60 60 60 60 60 60 60 ", 0}},
                          SegmentOk, OkRule::AnyText, 499};
const DialogSpec kDynamicField{DynamicFieldEdits(), DynamicFieldOk, OkRule::AnyText, 4};

} // namespace

std::optional<DWORD> ParseNumberChecked(std::string_view text)
{
    const std::size_t x = text.find_first_of("xX");
    const bool hex = x != std::string_view::npos;
    const std::string_view digits = hex ? text.substr(x + 1) : text;
    const DWORD base = hex ? 16 : 10;
    DWORD value = 0;
    DWORD weight = 1;
    for (auto c = digits.rbegin(); c != digits.rend(); ++c, weight *= base) {
        DWORD digit = 0;
        if (*c >= '0' && *c <= '9')
            digit = DWORD(*c - '0');
        else if (hex && *c >= 'a' && *c <= 'f')
            digit = DWORD(*c - 'a' + 10);
        else if (hex && *c >= 'A' && *c <= 'F')
            digit = DWORD(*c - 'A' + 10);
        else
            return std::nullopt;
        value += digit * weight;
    }
    return value;
}

DWORD ParseNumber(std::string_view text) { return ParseNumberChecked(text).value_or(0xFFFF); }

void CentreInputDialog(HWND hDlg)
{
    RECT own{};
    GetWindowRect(hDlg, &own);
    const LONG width = own.right - own.left;
    const LONG height = own.bottom - own.top;
    const LONG screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const LONG screenHeight = GetSystemMetrics(SM_CYSCREEN);
    LONG x = (screenWidth - width) / 2;
    LONG y = (screenHeight - height) / 2;
    HWND parent = GetParent(hDlg);
    if (parent && IsWindow(parent)) {
        RECT client{};
        GetClientRect(parent, &client);
        POINT origin{client.left, client.top};
        ClientToScreen(parent, &origin);
        x = (client.right - client.left - width) / 2 + origin.x;
        y = (client.bottom - client.top - height) / 2 + origin.y;
        if (x + width > screenWidth)
            x = screenWidth - width;
        if (y + height > screenHeight)
            y = screenHeight - height;
    }
    SetWindowPos(hDlg, nullptr, std::max<LONG>(x, 0), std::max<LONG>(y, 0), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

#define DIAGNOSE_DIALOG_PROC(name, spec)                                                                       \
    extern "C" INT_PTR name(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)                             \
    {                                                                                                          \
        return RunProc(spec, hDlg, message, wParam, lParam);                                                   \
    }

DIAGNOSE_DIALOG_PROC(EditResultDlgProc, kEditResult)
DIAGNOSE_DIALOG_PROC(MemDumpDlgProc, kMemDump)
DIAGNOSE_DIALOG_PROC(HcodeDlgProc, kHcode)
DIAGNOSE_DIALOG_PROC(WATimeDlgProc, kWATime)
DIAGNOSE_DIALOG_PROC(AglModeDlgProc, kAglMode)
DIAGNOSE_DIALOG_PROC(UWFNrDlgProc, kUWFNr)
DIAGNOSE_DIALOG_PROC(FieldNrDlgProc, kFieldNr)
DIAGNOSE_DIALOG_PROC(ZOKNrDlgProc, kZOKNr)
DIAGNOSE_DIALOG_PROC(RspTimeDlgProc, kRspTime)
DIAGNOSE_DIALOG_PROC(SensorAdrDlgProc, kSensorAdr)
DIAGNOSE_DIALOG_PROC(ZOKFieldNrDlgProc, kZOKFieldNr)
DIAGNOSE_DIALOG_PROC(LModeDataDlgProc, kLModeData)
DIAGNOSE_DIALOG_PROC(AverageMVDlgProc, kAverageMV)
DIAGNOSE_DIALOG_PROC(SegmentCountDlgProc, kSegmentCount)
DIAGNOSE_DIALOG_PROC(MVPartialDlgProc, kMVPartial)
DIAGNOSE_DIALOG_PROC(SfKfgCircleDlgProc, kCircle)
DIAGNOSE_DIALOG_PROC(SfKfgRectangleDlgProc, kRectangle)
DIAGNOSE_DIALOG_PROC(SfKfgSegmentDlgProc, kSegment)
DIAGNOSE_DIALOG_PROC(DynSfKfgDlgProc, kDynamicField)

extern "C" INT_PTR DeviceAdrDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    const INT_PTR handled = RunProc(kDeviceAdr, hDlg, message, wParam, lParam);
    if (message == WM_INITDIALOG && g_block)
        SetDlgItemText(hDlg, 2139, g_block[2] == 0 ? "ZOK" : "KVR");
    return handled;
}

extern "C" INT_PTR UWFDefDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    if (message != WM_COMMAND)
        return FALSE;
    const int id = LOWORD(DWORD(wParam));
    if (id == IDOK || id == IDCANCEL) {
        EndDialog(hDlg, id == IDOK ? 1 : 0);
        return TRUE;
    }
    return FALSE;
}

extern "C" INT_PTR ORUKfgDlgProc(HWND, UINT, WPARAM, LPARAM) { return TRUE; }

INT_PTR RunInputDialog(HWND parent, UINT templateId, DLGPROC procedure, void* block)
{
    BYTE* outer = g_block;
    const INT_PTR result = DialogBoxParamA(TheDiagnoseState().resources, MAKEINTRESOURCE(templateId), parent,
                                           procedure, reinterpret_cast<LPARAM>(block));
    g_block = outer;
    return result;
}

INT_PTR RunShapeDialog(HWND parent, int shapeCode, void* block)
{
    switch (shapeCode) {
    case 0:
        return RunInputDialog(parent, IDD_SF_KFG_RECTANGLE, SfKfgRectangleDlgProc, block);
    case 1:
        return RunInputDialog(parent, IDD_SF_KFG_CIRCLE, SfKfgCircleDlgProc, block);
    case 2:
    case 3:
        return RunInputDialog(parent, IDD_SF_KFG_SEGMENT, SfKfgSegmentDlgProc, block);
    default:
        return 1;
    }
}

INT_PTR RunUWFDefDialog(HWND parent)
{
    MessageBox(parent, "DIALOGFELD UWFDEF nicht mehr vorhanden", nullptr, MB_OK | MB_ICONERROR);
    return 1;
}

INT_PTR RunORUKfgDialog(HWND parent)
{
    MessageBox(parent, "DIALOGFELD ORUkfg nicht mehr vorhanden", nullptr, MB_OK | MB_ICONERROR);
    return 1;
}
