#pragma once
// Numbers with their unit in edit controls: shown as the value, one blank and the unit
// text ("12.50 cm", "40 ms"), read back with or without the unit ("12.5", "12.5 cm",
// "12.5CM"). Range checks name both bounds with the unit. The unit text is always the
// caller's; nothing here converts between units except the cm/inch helpers.
//
// Every reading refuses what is not a plain decimal number of the member's type: no nan,
// no infinity, no hexadecimal float, and no integer beyond the member's range (never
// wrapped or saturated). A failed reading or check shows its message and ends the pass
// through CDataExchange::Fail; no member is changed.
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"
#include "framework/ui/UiDefs.h"
#include "model/DistanceUnit.h"

#include <concepts>
#include <cstdint>
#include <type_traits>

class CDataExchange;
class CModeDelay;


// Results of the parsers.
constexpr int kParseAccepted = 1;
constexpr int kParseNotANumber = 0;
constexpr int kParseWrongUnit = -1;

// A number, optionally followed by the unit text (any case). After the unit only the end
// of the text may follow: otherwise the integer form says wrong unit, the real form not
// a number. A value of 0 must be written with a leading '0'.
int ParseRealWithUnit(LPCTSTR text, double& result, LPCTSTR unit);
// format "%d" or "%ld" reads a signed 32-bit value, "%u" or "%lu" an unsigned one.
int ParseIntWithUnit(LPCTSTR text, LPCTSTR format, std::int64_t& result, LPCTSTR unit);

// Sets the text only when it differs, so that an unchanged control does not flicker.
void SetWindowTextIfChanged(HWND hWnd, LPCTSTR text);

// Edit control <-> member with the unit. Reals show two decimals ("%.2lf %s"), integers
// in full ("%d %s", "%u %s"). Text that is no number gives 61713 (reals) or 61712
// (integers; also a value above 255 in the byte form and above 65535 in the word form);
// other text after the number gives 475 with the unit inserted.
void DDX_TextWithUnit(CDataExchange* pDX, int nIDC, float& value, LPCTSTR unit);
void DDX_TextWithUnit(CDataExchange* pDX, int nIDC, double& value, LPCTSTR unit);
void DDX_TextWithUnit(CDataExchange* pDX, int nIDC, BYTE& value, LPCTSTR unit);
void DDX_TextWithUnit(CDataExchange* pDX, int nIDC, int& value, LPCTSTR unit);
void DDX_TextWithUnit(CDataExchange* pDX, int nIDC, UINT& value, LPCTSTR unit);
void DDX_TextWithUnit(CDataExchange* pDX, int nIDC, WORD& value, LPCTSTR unit);
// The delay of a mode as a plain number in an edit control; saving applies SetDelay.
void DDX_Delay(CDataExchange* pDX, int nIDC, CModeDelay& value);

// The member types of the unit-aware checks; the value's type picks the form and the
// bounds convert to it.
template <class T>
concept UnitValue = std::same_as<T, float> || std::same_as<T, double> || std::same_as<T, BYTE>
    || std::same_as<T, int> || std::same_as<T, UINT> || std::same_as<T, WORD>;

// While saving: lower <= value <= upper, else message 61714 (integers) or 61715 (reals)
// with both bounds followed by a blank and the unit, exclamation icon, and the pass fails.
template <UnitValue T>
void DDV_MinMaxWithUnit(CDataExchange* pDX, T value, std::type_identity_t<T> minVal, std::type_identity_t<T> maxVal,
                        LPCTSTR unit);

// While saving: the distance of the point (x, y) from the origin within [minVal, maxVal];
// below gives message 473, above 474, each with x, y and the distance with the unit.
template <UnitValue T>
void DDV_MinMaxRadius(CDataExchange* pDX, T x, std::type_identity_t<T> y, std::type_identity_t<T> minVal,
                      std::type_identity_t<T> maxVal, LPCTSTR unit);

extern template void DDV_MinMaxWithUnit<float>(CDataExchange*, float, float, float, LPCTSTR);
extern template void DDV_MinMaxWithUnit<double>(CDataExchange*, double, double, double, LPCTSTR);
extern template void DDV_MinMaxWithUnit<BYTE>(CDataExchange*, BYTE, BYTE, BYTE, LPCTSTR);
extern template void DDV_MinMaxWithUnit<int>(CDataExchange*, int, int, int, LPCTSTR);
extern template void DDV_MinMaxWithUnit<UINT>(CDataExchange*, UINT, UINT, UINT, LPCTSTR);
extern template void DDV_MinMaxWithUnit<WORD>(CDataExchange*, WORD, WORD, WORD, LPCTSTR);
extern template void DDV_MinMaxRadius<float>(CDataExchange*, float, float, float, float, LPCTSTR);
extern template void DDV_MinMaxRadius<double>(CDataExchange*, double, double, double, double, LPCTSTR);
extern template void DDV_MinMaxRadius<BYTE>(CDataExchange*, BYTE, BYTE, BYTE, BYTE, LPCTSTR);
extern template void DDV_MinMaxRadius<int>(CDataExchange*, int, int, int, int, LPCTSTR);
extern template void DDV_MinMaxRadius<UINT>(CDataExchange*, UINT, UINT, UINT, UINT, LPCTSTR);
extern template void DDV_MinMaxRadius<WORD>(CDataExchange*, WORD, WORD, WORD, WORD, LPCTSTR);

// Lengths kept in whole units (cm; mm or dm with their unitsPerInch) but shown and typed
// in inches with two decimals. Saving turns the typed inches into the whole units that
// will be stored, and the checks test those stored values: an unchanged value at its
// limit passes, and a typed value that rounds beyond a limit is refused. The messages
// name the bounds in inches, rounded as the edit shows them. The value is a working copy:
// the caller stores it only when every check passed.
void DDX_InchLength(CDataExchange* pDX, int nIDC, double& value, LPCTSTR inchUnit, double unitsPerInch = kCmPerInch);
// While saving: minVal <= value <= maxVal, else message 61715.
void DDV_InchMinMax(CDataExchange* pDX, double value, double minVal, double maxVal, LPCTSTR inchUnit,
                    double unitsPerInch = kCmPerInch);
// While saving: the distance of (x, y) within [minVal, maxVal], else message 473 or 474.
void DDV_InchRadius(CDataExchange* pDX, double x, double y, double minVal, double maxVal, LPCTSTR inchUnit,
                    double unitsPerInch = kCmPerInch);

// The reports of the checks above, for checks of the callers' own. Each does nothing
// while loading; while saving it shows the message and fails the pass.
void FailMinMaxRealWithUnit(CDataExchange* pDX, double minVal, double maxVal, int precision, UINT nIDPrompt,
                            LPCTSTR unit);
void FailMinMaxIntWithUnit(CDataExchange* pDX, std::int64_t minVal, std::int64_t maxVal, UINT nIDPrompt, LPCTSTR unit);
void FailRadiusReal(CDataExchange* pDX, double x, double y, double distance, UINT nIDPrompt, LPCTSTR unit);
void FailRadiusInt(CDataExchange* pDX, std::int64_t x, std::int64_t y, double distance, UINT nIDPrompt, LPCTSTR unit);

// sqrt(x * x + y * y).
double PointRadius(double x, double y);

// While saving: the text's length in characters within [minChars, maxChars] (message 469)
// or exactly nChars (message 470); an index of -1 (nothing selected) gives message 471.
void DDV_MinMaxChars(CDataExchange* pDX, const CString& value, int minChars, int maxChars);
void DDV_ExactChars(CDataExchange* pDX, const CString& value, int nChars);
void DDV_Selected(CDataExchange* pDX, int index);

// The beam-count combo box: items 91, 181 and 361 (texts 1002 to 1004) with the count as
// item data. Loading fills it when it does not hold three items and selects the value's
// item (none for another value); saving takes the selected item's count and leaves the
// value as it is when nothing is selected.
void DDX_BeamCount(CDataExchange* pDX, int nIDC, int& value);
