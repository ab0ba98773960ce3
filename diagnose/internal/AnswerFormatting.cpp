#include "diagnose/internal/AnswerFormatting.h"

#include "diagnose/internal/DiagnoseTexts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <initializer_list>

namespace {

constexpr char kLineBreak[] = "\n";
constexpr char kNoFlag[] = "   ";
constexpr UINT IDS_NO_ERRORS = 546;
constexpr UINT IDS_DISTANCE = 555;
constexpr UINT IDS_CONTOUR_DISTANCE = 543;
constexpr UINT IDS_FLAG_FA = 562;
constexpr UINT IDS_FLAG_FB = 563;
constexpr UINT IDS_FLAG_BL = 564;
constexpr UINT IDS_FLAG_SEGMENT = 565;
constexpr UINT IDS_FLAG_VERTEX = 566;
constexpr UINT IDS_BAR_CHART_HEAD = 1605;
constexpr UINT IDS_SEPARATOR = 1557;
constexpr int kValuesPerLine = 8;

constexpr int kTextClassStatusFormat = 18;
constexpr int kTextClassOperatingTime = 64;
constexpr int kTextClassErrorKind = 3;
constexpr int kTextClassZOKError = 4;
constexpr int kTextClassKVRError = 55;

WORD Word(ConstAnswerSpan answer, std::size_t offset)
{
    return offset + 1 < answer.size() ? GetRecordWord(answer, offset) : 0;
}

DWORD Long(ConstAnswerSpan answer, std::size_t offset)
{
    return DWORD(Word(answer, offset)) | (DWORD(Word(answer, offset + 2)) << 16);
}

// At most as many 16-bit values as the record holds from 'first' on.
std::size_t BoundedCount(std::size_t count, std::size_t first)
{
    return std::min(count, (kAnswerRecordSize - first) / 2);
}

std::string Load(UINT id, std::initializer_list<TextArg> args = {}) { return LoadDiagnoseText(id, args); }

std::string ErrorLine(BYTE code)
{
    std::array<char, 16> line{};
    std::snprintf(line.data(), line.size(), "\n(ERR%02d) ", unsigned(code));
    return line.data();
}

int ErrorClass(BYTE family) { return family == kFamilyKVR ? kTextClassKVRError : kTextClassZOKError; }

// Values of 16 bits from 'first' on, each with the text that 'entry' gives, a line
// break after every eighth.
template <typename Entry>
void AppendTable(std::string& text, ConstAnswerSpan answer, std::size_t count, std::size_t first, Entry entry)
{
    count = BoundedCount(count, first);
    for (std::size_t i = 0; i < count; ++i) {
        entry(text, Word(answer, first + 2 * i));
        if ((i + 1) % kValuesPerLine == 0)
            text += kLineBreak;
    }
}

void FlaggedDistance(std::string& text, WORD value)
{
    if (value & 0x8000)
        text += Load(IDS_FLAG_FA);
    if (value & 0x4000)
        text += Load(IDS_FLAG_FB);
    if (value & 0x2000)
        text += Load(IDS_FLAG_BL);
    if (value < 0x2000)
        text += kNoFlag;
    text += Load(IDS_DISTANCE, {unsigned(value & 0x1FFF)});
}

void Distance(std::string& text, WORD value) { text += Load(IDS_DISTANCE, {unsigned(value & 0x1FFF)}); }

std::string DeviceText(DiagnoseLine& line, int textClass, int code) { return line.DeviceText(textClass, code).c_str(); }

void AppendSeparator(std::string& text) { text += Load(IDS_SEPARATOR) + kLineBreak; }

void AppendClass(std::string& text, DiagnoseLine& line, int textClass, int code)
{
    text += DeviceText(line, textClass, code) + kLineBreak;
}

// Extra items of ZOK firmware 3.06 to 3.99 and 4.06 on.
bool HasZOKExtraItems(DWORD version)
{
    return (version > 0x30005 && version < 0x40000) || (version > 0x40005 && version < 0x100000);
}

void FormatKVRStatus(std::string& text, ConstAnswerSpan a, DiagnoseLine& line)
{
    AppendSeparator(text);
    AppendClass(text, line, 1, a[17]);
    AppendSeparator(text);
    AppendClass(text, line, 26, a[32]);
    AppendClass(text, line, 25, a[31]);
    AppendClass(text, line, 21, Word(a, 29));
    AppendClass(text, line, 29, a[33]);
    AppendSeparator(text);
    AppendClass(text, line, 3, a[18]);
    AppendClass(text, line, 54, a[34]);
    AppendClass(text, line, 58, a[28]);
    AppendClass(text, line, 62, a[35]);
    AppendClass(text, line, 61, a[36]);
    AppendClass(text, line, 59, Word(a, 37));
    AppendClass(text, line, 60, Word(a, 39));
    AppendClass(text, line, 63, a[41]);
}

void FormatZOKCounters(std::string& text, ConstAnswerSpan a)
{
    auto w = [&a](std::size_t offset) { return unsigned(Word(a, offset)); };
    text += Load(1554, {w(106), w(110), w(114), w(118)});
    text += Load(666, {w(42), w(46)});
    text += Load(896, {w(50), w(54)});
    text += kLineBreak;
    AppendSeparator(text);
    text += Load(1555, {w(122), w(124), w(126), w(128)});
    text += Load(667, {w(58), w(60), w(62), w(64)});
    AppendSeparator(text);
    const unsigned divisor = w(68);
    // A device reporting 0 there has no rate to show.
    const TextArg rate = divisor ? TextArg(0x100000u / divisor) : TextArg("-");
    text += Load(668, {w(66) * 90u});
    text += Load(669, {rate});
    AppendSeparator(text);
    for (std::size_t first : {70u, 76u}) {
        text += Load(660, {w(first)});
        text += Load(661, {w(first + 2)});
        text += Load(662, {w(first + 4)});
    }
    AppendSeparator(text);
    text += Load(663, {w(82)}) + kLineBreak;
    AppendSeparator(text);
    text += Load(664, {w(84)});
    text += Load(665, {w(86)});
    text += Load(1556, {w(130), w(132)});
    AppendSeparator(text);
    text += Load(893, {w(88), w(90)});
    AppendSeparator(text);
    text += Load(894, {w(104), w(102)});
    text += Load(895, {w(92), w(94), w(96), w(98), w(100)});
}

void FormatZOKStatus(std::string& text, ConstAnswerSpan a, DiagnoseLine& line)
{
    AppendSeparator(text);
    AppendClass(text, line, 1, a[17]);
    AppendSeparator(text);
    text += DeviceText(line, 6, a[29]);
    if (a[29] == 1)
        text += DeviceText(line, 22, Word(a, 30));
    text += kLineBreak;
    AppendClass(text, line, 20, a[32]);
    AppendClass(text, line, 19, a[33]);
    AppendClass(text, line, 26, a[38]);
    AppendClass(text, line, 25, a[37]);
    AppendClass(text, line, 21, Word(a, 35));
    text += DeviceText(line, 24, a[34] + 1);
    AppendClass(text, line, 23, a[34] * 40 + 40);
    AppendClass(text, line, 2, a[28]);
    if (HasZOKExtraItems(DeviceVersionNumber(RecordText(a, 9, 8).c_str()))) {
        AppendClass(text, line, 30, a[39]);
        AppendClass(text, line, 28, a[40]);
        if (a[39] == 1)
            AppendClass(text, line, 29, a[41]);
    }
    AppendSeparator(text);
    AppendClass(text, line, 3, a[18]);
    AppendSeparator(text);
    FormatZOKCounters(text, a);
}

} // namespace

OperatingTime SplitOperatingTime(DWORD counter, int mode)
{
    struct Ticks {
        DWORD day, hour, minute, second;
    };
    const Ticks ticks = mode == 1 ? Ticks{2160000, 90000, 1500, 25} : Ticks{2081928, 86747, 1446, 24};
    OperatingTime time;
    time.days = counter / ticks.day;
    const DWORD inDay = counter % ticks.day;
    time.hours = inDay / ticks.hour;
    const DWORD inHour = inDay % ticks.hour;
    time.minutes = inHour / ticks.minute;
    time.seconds = (inHour % ticks.minute) / ticks.second;
    return time;
}

DWORD DeviceVersionNumber(const char* text)
{
    DWORD ms = 0;
    for (int i = 0; text && i < 8 && text[i]; ++i) {
        if (text[i] >= '0' && text[i] <= '9')
            ms = (ms + DWORD(text[i] - '0')) * 10;
    }
    return ((ms / 1000) << 16) | ((ms % 1000) / 10);
}

std::string RecordText(ConstAnswerSpan answer, std::size_t offset, std::size_t maxLength)
{
    std::string text;
    for (std::size_t i = offset; i < answer.size() && text.size() < maxLength && answer[i]; ++i)
        text += char(answer[i]);
    return text;
}

void FormatErrorList(std::string& text, ConstAnswerSpan answer, BYTE family, DiagnoseLine& line)
{
    const int length = Word(answer, AnswerOffset::DataLength);
    const std::size_t wanted = 1 + (length > 3 ? std::size_t(length - 2) / 2 : 0);
    const std::size_t entries = BoundedCount(wanted, 10);
    text.clear();
    for (std::size_t i = 0; i < entries; ++i) {
        const BYTE kind = answer[10 + 2 * i];
        const BYTE code = answer[11 + 2 * i];
        text += ErrorLine(code) + DeviceText(line, kTextClassErrorKind, kind) +
                DeviceText(line, ErrorClass(family), code);
    }
}

void FormatErrorRing(std::string& text, ConstAnswerSpan answer, BYTE family, DiagnoseLine& line)
{
    constexpr std::size_t kEntries = 20;
    // The device's index is taken modulo the ring, so no count reaches past it.
    std::size_t position = 2 * (Word(answer, 14) % kEntries) + 2;
    const std::string timeFormat = DeviceText(line, kTextClassOperatingTime, 0);
    const int mode = family == kFamilyKVR ? 0 : 1;
    std::string entries;
    bool taking = false;
    for (std::size_t visited = 0; visited < kEntries; ++visited, position = position >= 40 ? 2 : position + 2) {
        const BYTE kind = answer[position + 14];
        const BYTE code = answer[position + 15];
        if (!taking && code == 0)
            continue;
        taking = true;
        const OperatingTime time = SplitOperatingTime(Long(answer, 2 * position + 52), mode);
        entries += ErrorLine(code) + DeviceText(line, kTextClassErrorKind, kind) +
                   DeviceText(line, ErrorClass(family), code);
        entries += FormatDiagnoseText(timeFormat.c_str(), {time.days, time.hours, time.minutes, time.seconds});
    }
    if (!taking)
        text = Load(IDS_NO_ERRORS);
    else
        text += entries;
}

void FormatValueTable(std::string& text, ConstAnswerSpan answer)
{
    AppendTable(text, answer, Word(answer, 10), 12, FlaggedDistance);
}

void FormatPartialValues(std::string& text, ConstAnswerSpan answer)
{
    AppendTable(text, answer, Word(answer, 14), 16, FlaggedDistance);
}

void FormatAveragedValues(std::string& text, ConstAnswerSpan answer)
{
    AppendTable(text, answer, Word(answer, 11), 13, Distance);
}

void FormatSegmentTable(std::string& text, ConstAnswerSpan answer)
{
    AppendTable(text, answer, Word(answer, 10), 12, [](std::string& out, WORD value) {
        out += (value & 0x4000) ? Load(IDS_FLAG_SEGMENT) : std::string(kNoFlag);
        out += Load(IDS_DISTANCE, {unsigned(value & 0x1FFF)});
    });
}

void FormatBarChart(std::string& text, ConstAnswerSpan answer)
{
    text += Load(IDS_BAR_CHART_HEAD) + kLineBreak;
    const std::size_t count = BoundedCount(Word(answer, 10), 12);
    for (std::size_t i = 0; i < count; ++i) {
        const WORD value = Word(answer, 12 + 2 * i);
        const int distance = value & 0x1FFF;
        const float angle = float(i) * 0.5f;
        const float radians = angle * 0.017453292f;
        const float x = float(distance) * std::cos(radians);
        const float y = float(distance) * std::sin(radians);
        std::array<char, 128> line{};
        std::snprintf(line.data(), line.size(), "%3d " "       %3.1f" "      %5d " "       %5.1f" "       %5.1f   ", int(i),
                      double(angle), distance, double(x), double(y));
        text += line.data();
        if (value & 0x2000)
            text += "BL";
        if (value & 0x4000)
            text += "WF";
        if (value & 0x8000)
            text += "SF";
        text += kLineBreak;
    }
}

void FormatFieldContour(std::string& text, ConstAnswerSpan answer)
{
    const BYTE kind = answer[19];
    auto vertex = [](std::string& out, WORD value) {
        out += (value & 0x8000) ? Load(IDS_FLAG_VERTEX) : std::string(kNoFlag);
        out += Load(IDS_CONTOUR_DISTANCE, {unsigned(value & 0x1FFF)});
    };
    if (kind == 2 || kind == 3)
        AppendTable(text, answer, std::size_t(Word(answer, 27)) + 1, 29, vertex);
    else if (kind == 4)
        AppendTable(text, answer, 361, 27, vertex);
}

std::string StatusReportHead(ConstAnswerSpan answer, DiagnoseLine& line)
{
    const std::string format = DeviceText(line, kTextClassStatusFormat, 0);
    return FormatDiagnoseText(format.c_str(), {RecordText(answer, 9, 8), RecordText(answer, 19, 9)});
}

void FormatStatusReport(std::string& text, ConstAnswerSpan answer, BYTE family, DiagnoseLine& line)
{
    text = StatusReportHead(answer, line) + kLineBreak;
    if (family == kFamilyKVR)
        FormatKVRStatus(text, answer, line);
    else
        FormatZOKStatus(text, answer, line);
}
