#include "app/settings/CTalisoSetup.h"

#include "framework/core/CString.h"
#include "framework/core/ProfileBatch.h"
#include "model/DistanceUnit.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <string_view>

namespace {

constexpr const char* kSettings = "Settings";
constexpr const char* kColors = "Colors";

constexpr COLORREF kOtherFieldColor = 0xC0C0C0;
constexpr int kLargestGridValue = 32767;

// One INI key: an integer setting with its range, or a colour.
struct SetupKey {
    const char* section;
    const char* key;
    int CTalisoSetup::*intMember;
    COLORREF CTalisoSetup::*colorMember;
    std::int64_t defaultValue;
    int minValue;
    int maxValue;
};

constexpr SetupKey Int(const char* key, int CTalisoSetup::*member, int defaultValue, int minValue, int maxValue)
{
    return {kSettings, key, member, nullptr, defaultValue, minValue, maxValue};
}

constexpr SetupKey Flag(const char* key, int CTalisoSetup::*member, int defaultValue)
{
    return Int(key, member, defaultValue, 0, 1);
}

constexpr SetupKey Color(const char* key, COLORREF CTalisoSetup::*member, COLORREF defaultValue)
{
    return {kColors, key, nullptr, member, defaultValue, 0, 0};
}

// In the order the file is read and written. The ranges keep what the views and the
// documents divide or step by, and the timers, away from values that hang the program;
// the values the options sheet edits have its ranges.
const std::array<SetupKey, 31> kKeys = {{
    Int("ShelterSize", &CTalisoSetup::m_nShelterSize, 91, 1, 32767),
    Int("MarkerSizeUnits", &CTalisoSetup::m_nMarkerSizeUnits, 10, 2, 200),
    Int("MaxViewSize", &CTalisoSetup::m_nMaxViewSize, 5000, 100, 15000),
    Int("RectGrid", &CTalisoSetup::m_nRectGrid, 100, 3, 5000),
    Int("RadiusGrid", &CTalisoSetup::m_nRadiusGrid, 100, 3, 5000),
    Int("AngleGrid", &CTalisoSetup::m_nAngleGrid, 10, 1, 180),
    Flag("ViewRectGrid", &CTalisoSetup::m_bViewRectGrid, 1),
    Flag("ViewMetric", &CTalisoSetup::m_bViewMetric, 1),
    Flag("ViewLineScan", &CTalisoSetup::m_bViewLineScan, 1),
    Flag("ViewGrid", &CTalisoSetup::m_bViewGrid, 1),
    Flag("ViewLabels", &CTalisoSetup::m_bViewLabels, 1),
    Flag("ViewAngle", &CTalisoSetup::m_bViewAngle, 1),
    Flag("ViewMaximize", &CTalisoSetup::m_bViewMaximize, 1),
    Flag("DrawOnScreen", &CTalisoSetup::m_bDrawOnScreen, 0),
    Flag("ViewEditScan", &CTalisoSetup::m_bViewEditScan, 1),
    Int("EditScanInterval", &CTalisoSetup::m_nEditScanInterval, 30, 5, 65),
    Int("ScanMode", &CTalisoSetup::m_nScanMode, 0, 0, 2),
    Int("ScanDivisor", &CTalisoSetup::m_nScanDivisor, 1, 1, 65535),
    Int("ScanAverage", &CTalisoSetup::m_nScanAverage, 125, 1, 65535),
    Int("ScanPartFrom", &CTalisoSetup::m_nScanPartFrom, 1, 1, 65535),
    Int("ScanPartTo", &CTalisoSetup::m_nScanPartTo, 401, 1, 65535),
    Color("NormalScan", &CTalisoSetup::m_crNormalScan, 0x00FF00),
    Color("DamageScan", &CTalisoSetup::m_crDamageScan, 0x0000FF),
    Color("ShelterA", &CTalisoSetup::m_crShelterA, 0xFFFF00),
    Color("ShelterB", &CTalisoSetup::m_crShelterB, 0xFF0000),
    Color("ShelterC", &CTalisoSetup::m_crShelterC, 0x800080),
    Color("Marker", &CTalisoSetup::m_crMarker, 0x80FFFF),
    Color("Grid", &CTalisoSetup::m_crGrid, 0x808080),
    Color("Label", &CTalisoSetup::m_crLabel, 0xC0C0C0),
    Int("TimerProg", &CTalisoSetup::m_nTimerProg, 250, 10, 600000),
    Int("TimerScan", &CTalisoSetup::m_nTimerScan, 500, 10, 600000),
}};

bool IsSpace(char ch) { return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\f' || ch == '\v'; }

// An integer as "%i" reads it: blanks, a sign, then "0x" and hex digits, "0" and octal
// digits, or decimal digits. Consumes it from text; false when there is none or it does
// not fit 32 bits.
bool ScanInteger(std::string_view& text, std::int64_t& value)
{
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int base = 10;
    const bool hexPrefix = i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')
                           && std::isxdigit(static_cast<unsigned char>(text[i + 2]));
    if (hexPrefix) {
        base = 16;
        i += 2;
    } else if (i < text.size() && text[i] == '0') {
        base = 8;
    }
    std::uint64_t magnitude = 0;
    const char* begin = text.data() + i;
    const auto [end, error] = std::from_chars(begin, text.data() + text.size(), magnitude, base);
    if (end == begin || error != std::errc() || magnitude > 0x80000000u) return false;
    if (!negative && magnitude > 0x7FFFFFFFu) return false;
    value = negative ? -std::int64_t(magnitude) : std::int64_t(magnitude);
    text.remove_prefix(std::size_t(end - text.data()));
    return true;
}

// A whole INI value as one integer, blanks around it allowed.
bool ParseWholeInteger(std::string_view text, std::int64_t& value)
{
    if (!ScanInteger(text, value)) return false;
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    return text.empty();
}

int ReadInt(const SetupKey& key, const ProfileBatch& ini)
{
    const CString text = ini.GetString(key.section, key.key, "");
    std::int64_t value = 0;
    if (!ParseWholeInteger(text.c_str(), value) || value < key.minValue || value > key.maxValue)
        return int(key.defaultValue);
    return int(value);
}

// "%i,%i,%i" as red, green and blue, each masked to a byte; numbers missing after the
// first count 0. A text that does not even start with a number gives the default.
COLORREF ReadColor(const SetupKey& key, const ProfileBatch& ini)
{
    const CString text = ini.GetString(key.section, key.key, "");
    std::string_view rest = text.c_str();
    std::int64_t parts[3] = {};
    int scanned = 0;
    while (scanned < 3 && ScanInteger(rest, parts[scanned])) {
        ++scanned;
        if (rest.empty() || rest.front() != ',') break;
        rest.remove_prefix(1);
    }
    if (scanned == 0) return COLORREF(key.defaultValue);
    return RGB(BYTE(parts[0] & 0xFF), BYTE(parts[1] & 0xFF), BYTE(parts[2] & 0xFF));
}

void WriteValue(const SetupKey& key, const CTalisoSetup& setup, ProfileBatch& ini)
{
    CString text;
    if (key.intMember) {
        text.Format("%d", setup.*key.intMember);
    } else {
        const COLORREF color = setup.*key.colorMember;
        text.Format("%i,%i,%i", int(GetRValue(color)), int(GetGValue(color)), int(GetBValue(color)));
    }
    ini.WriteString(key.section, key.key, text);
}

int GridInUnit(int cm, int unit)
{
    return std::min(RoundToInt(ConvertDistanceUnit(cm, kUnitCm, unit)), kLargestGridValue);
}

} // namespace

CTalisoSetup::CTalisoSetup() { SetDefaults(); }

CTalisoSetup::CTalisoSetup(const CTalisoSetup& other) : CObject() { CopySettings(other); }

CTalisoSetup& CTalisoSetup::operator=(const CTalisoSetup& other)
{
    if (this != &other) CopySettings(other);
    return *this;
}

void CTalisoSetup::CopySettings(const CTalisoSetup& other)
{
    for (const SetupKey& key : kKeys) {
        if (key.intMember)
            this->*key.intMember = other.*key.intMember;
        else
            this->*key.colorMember = other.*key.colorMember;
    }
}

void CTalisoSetup::SetDefaults()
{
    for (const SetupKey& key : kKeys) {
        if (key.intMember)
            this->*key.intMember = int(key.defaultValue);
        else
            this->*key.colorMember = COLORREF(key.defaultValue);
    }
}

void CTalisoSetup::Unload()
{
    SetDefaults();
    m_bLoaded = FALSE;
}

void CTalisoSetup::Load(LPCTSTR iniPath)
{
    const ProfileBatch ini(iniPath);
    for (const SetupKey& key : kKeys) {
        if (key.intMember)
            this->*key.intMember = ReadInt(key, ini);
        else
            this->*key.colorMember = ReadColor(key, ini);
    }
    // A partial scan needs its first beam before its last.
    if (m_nScanPartFrom > m_nScanPartTo) {
        m_nScanPartFrom = 1;
        m_nScanPartTo = 401;
    }
    m_bLoaded = TRUE;
}

BOOL CTalisoSetup::Save(LPCTSTR iniPath) const
{
    // One replace of the file for the whole save.
    ProfileBatch ini(iniPath);
    Write(ini);
    return ini.Commit();
}

void CTalisoSetup::Write(ProfileBatch& ini) const
{
    // Every value is a number or a colour, which the file always takes.
    for (const SetupKey& key : kKeys)
        WriteValue(key, *this, ini);
}

COLORREF CTalisoSetup::GetFieldColor(int kind) const
{
    switch (kind) {
    case 0: return m_crShelterA;
    case 1: return m_crShelterB;
    case 2: return m_crShelterC;
    default: return kOtherFieldColor;
    }
}

int CTalisoSetup::GetRectGrid(int unit) const { return GridInUnit(m_nRectGrid, unit); }

int CTalisoSetup::GetRadiusGrid(int unit) const { return GridInUnit(m_nRadiusGrid, unit); }

int CTalisoSetup::GetMinViewRange(int unit)
{
    switch (unit) {
    case kUnitMm: return 100;
    case kUnitDm: return 1;
    default: return 10;
    }
}

int CTalisoSetup::GetMaxViewRange(int unit) const
{
    const int range = RoundToInt(ConvertDistanceUnit(m_nMaxViewSize, kUnitCm, unit));
    switch (unit) {
    case kUnitMm: return std::min(range, 32767);
    case kUnitDm: return std::min(range, 1500);
    default: return std::min(range, 8192);
    }
}

int CTalisoSetup::GetZoomStep(int unit) { return unit == kUnitDm ? 10 : 100; }

CTalisoSetup& GetTalisoSetup()
{
    static CTalisoSetup setup;
    return setup;
}
