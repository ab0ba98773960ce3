#include "dialogs/DiagnosisText.h"

#include "device/CSensorErrorList.h"
#include "device/SensorHelpers.h"
#include "framework/core/CTime.h"
#include "framework/gdi/CDC.h"
#include "model/CKVRIdentity.h"
#include "model/CZOKIdentity.h"

#include <cstdarg>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {
constexpr const char* kLineEnd = "\r\n";

// Language string id formatted with printf arguments.
CString S(UINT id, ...)
{
    CString format;
    format.LoadString(id);
    va_list args;
    va_start(args, id);
    CString text;
    text.FormatV(format.c_str(), args);
    va_end(args);
    return text;
}

// The string with every numeric conversion shown as "-" in its width: for values whose
// divisor is 0 and that therefore have no number.
CString NoValue(UINT id)
{
    CString format;
    format.LoadString(id);
    const std::string in = format.c_str();
    std::string out;
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '%') {
            out += in[i];
            continue;
        }
        if (i + 1 < in.size() && in[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        int width = 0;
        while (j < in.size() && std::strchr("-+ #0123456789.l", in[j]) != nullptr) {
            if (in[j] >= '0' && in[j] <= '9' && (j == i + 1 || in[j - 1] != '.') && width < 100)
                width = width * 10 + (in[j] - '0');
            else if (in[j] == '.')
                break;
            ++j;
        }
        while (j < in.size() && std::strchr("diufxXs", in[j]) == nullptr) ++j;
        if (width > 1) out.append(std::size_t(width - 1), ' ');
        out += '-';
        i = j;
    }
    return CString(out.c_str());
}

void Line(CString& text, const CString& line)
{
    text += line;
    text += kLineEnd;
}

// The string of a byte's value among up to three choices; any other value gives an empty line.
CString Choice(BYTE value, std::initializer_list<UINT> ids)
{
    int i = 0;
    for (UINT id : ids) {
        if (value == i++) return S(id);
    }
    return CString();
}

bool InFirmwareWindow(DWORD version)
{
    return (version >= 0x30006 && version <= 0x3FFFF) || (version >= 0x40006 && version <= 0xFFFFF);
}

void ErrorsOrState(const CSensorErrorList& errors, BYTE stateCode, CString& text)
{
    if (errors.GetCount() > 0) {
        text += ErrorListText(errors);
        text += kLineEnd;
    } else {
        Line(text, S(1072) + SensorText(3, stateCode, 0));
    }
}

std::vector<std::string> ReportLines(const CString& text)
{
    std::vector<std::string> lines;
    const std::string all = text.c_str();
    std::size_t start = 0;
    for (std::size_t end; (end = all.find(kLineEnd, start)) != std::string::npos; start = end + 2)
        lines.push_back(all.substr(start, end - start));
    if (start < all.size()) lines.push_back(all.substr(start));
    return lines;
}

int LineHeight(CDC* pDC)
{
    TEXTMETRIC metrics{};
    pDC->GetTextMetrics(&metrics);
    return std::max(1, int(metrics.tmHeight + metrics.tmExternalLeading));
}

double Quotient(double a, double b)
{
    return a / b;
}

void Statistics(const CZOKIdentity& id, CString& text)
{
    const double w113_0 = id.GetWord113(0);
    const double w113_2 = id.GetWord113(2);
    const bool meanKnown = w113_0 != 0 && w113_2 != 0;
    const double a = meanKnown ? Quotient(id.GetWord49(0), w113_0) : 0;
    const double b = meanKnown ? Quotient(id.GetWord49(2), w113_2) : 0;
    const double mean = (a + b) / 2;
    bool percentKnown = meanKnown && mean != 0;
    double p[4] = {};
    for (int k = 0; k < 4; ++k) {
        const double divisor = id.GetWord97(2 * k) * mean;
        if (divisor == 0) percentKnown = false;
        else p[k] = Quotient(id.GetWord33(2 * k), divisor) * 100;
    }

    Line(text, S(1077, unsigned(id.GetWord97(0)), unsigned(id.GetWord97(2))) +
                   S(1078, unsigned(id.GetWord97(4)), unsigned(id.GetWord97(6))));
    Line(text, S(1079, unsigned(id.GetWord33(0)), unsigned(id.GetWord33(2))) +
                   S(1080, unsigned(id.GetWord33(4)), unsigned(id.GetWord33(6))));
    Line(text, percentKnown ? S(1098, p[0], p[1]) + S(1099, p[2], p[3]) : NoValue(1098) + NoValue(1099));
    text += DashLine();
    Line(text, S(1081, unsigned(id.GetWord113(0)), unsigned(id.GetWord113(1))) +
                   S(1082, unsigned(id.GetWord113(2)), unsigned(id.GetWord113(3))));
    Line(text, S(1083, unsigned(id.GetWord49(0)), unsigned(id.GetWord49(1))) +
                   S(1084, unsigned(id.GetWord49(2)), unsigned(id.GetWord49(3))));
    Line(text, meanKnown ? S(1100, mean) : NoValue(1100));
    text += DashLine();
    Line(text, S(1085, unsigned(id.GetWord57()) * 90u));
    Line(text, id.GetWord59() != 0 ? S(1086, 1048576u / id.GetWord59()) : NoValue(1086));
    text += DashLine();
    // One text for both windows: it takes the window's number.
    Line(text, S(1087, 1u, unsigned(id.GetWord61())) + S(1088, unsigned(id.GetWord63()), unsigned(id.GetWord65())));
    Line(text, S(1087, 2u, unsigned(id.GetWord67())) + S(1088, unsigned(id.GetWord69()), unsigned(id.GetWord71())));
    text += DashLine();
    Line(text, S(1089, unsigned(id.GetWord73())));
    text += DashLine();
    Line(text, S(1090, unsigned(id.GetWord121()), unsigned(id.GetWord123())));
    Line(text, S(1091, unsigned(id.GetWord75()), unsigned(id.GetWord77())));
    Line(text, id.GetWord123() != 0 ? S(1112, Quotient(id.GetWord77(), id.GetWord123()) * 100) : NoValue(1112));
    text += DashLine();
    Line(text, S(892, unsigned(id.GetWord79()), unsigned(id.GetWord81())));
    text += DashLine();
    Line(text, S(1094, unsigned(id.GetWord95()), unsigned(id.GetWord93())));
    Line(text, S(1095, unsigned(id.GetWord83(0)), unsigned(id.GetWord83(1))) +
                   S(1096, unsigned(id.GetWord83(2)), unsigned(id.GetWord83(3))) + S(1097, unsigned(id.GetWord83(4))));
    text += StarLine();
}
} // namespace

CString StarLine()
{
    return CString(std::string(80, '*').c_str()) + kLineEnd;
}

CString DashLine()
{
    return CString(std::string(80, '-').c_str()) + kLineEnd;
}

CString DiagnosisTimeStamp()
{
    const CTime now = CTime::GetCurrentTime();
    return now.Format("%x") + " - " + now.Format("%H:%M:%S");
}

CString ErrorListText(const CSensorErrorList& errors)
{
    CString text;
    for (int i = 0; i < errors.GetCount(); ++i) {
        CString head;
        head.Format("(ERR%02d) ", unsigned(errors.GetCode(i)));
        Line(text, head + errors.GetClassText(i) + "! " + errors.GetCodeText(i));
    }
    text += kLineEnd;
    text += S(1102);
    return text;
}

void ZOKText(const CZOKIdentity& id, const CSensorErrorList& errors, CString& text, bool partOfKVR,
             const DiagnosisTextOptions& options)
{
    if (!partOfKVR) {
        text.Empty();
        Line(text, options.timeStamp);
    }
    text += StarLine();
    Line(text, S(1066, id.GetIdentification().c_str()));
    Line(text, S(1065, id.GetName().c_str()));
    text += StarLine();
    ErrorsOrState(errors, id.GetByte9(), text);
    text += StarLine();
    Line(text, SensorText(1, id.GetByte8(), 0));
    if (!partOfKVR) Line(text, Choice(id.GetByte19(), {1013, 1014}));
    Line(text, id.GetByte29() != 0 ? S(1015, int(id.GetByte29())) : S(1016));
    if (!partOfKVR) {
        Line(text, S(1017, id.GetScanCount(), id.GetResponseTime()));
        const BYTE restart = id.GetByte20();
        Line(text, restart == 1 ? S(1215, int(id.GetScaledValue())) : Choice(restart, {1217, 0, 1216}));
        Line(text, Choice(id.GetByte23(), {1019, 1018}));
        Line(text, Choice(id.GetByte24(), {1045, 1046, 1047}));
    }
    if (InFirmwareWindow(id.GetFirmwareVersion())) {
        Line(text, Choice(id.GetByte30(), {1036, 1037}));
        Line(text, SensorText(28, id.GetByte31(), 0));
        if (!partOfKVR) Line(text, SensorText(29, id.GetByte32(), 0));
    }
    Line(text, SensorText(21, id.GetWord26(), 0));
    if (!partOfKVR) Line(text, SensorText(25, id.GetByte28(), 0));
    text += StarLine();
    if (options.statistics) Statistics(id, text);
}

void KVRText(const CKVRIdentity& id, const CSensorErrorList& errors, CString& text,
             const DiagnosisTextOptions& options)
{
    text.Empty();
    Line(text, options.timeStamp);
    text += StarLine();
    Line(text, S(1066, id.GetIdentification().c_str()));
    Line(text, S(1065, id.GetName().c_str()));
    text += StarLine();
    ErrorsOrState(errors, id.GetByte9(), text);
    text += StarLine();
    Line(text, SensorText(1, id.GetByte8(), 0));
    Line(text, id.GetByte23() != 0 ? S(1015, int(id.GetByte23())) : S(1016));
    Line(text, SensorText(21, id.GetWord20(), 0));
    Line(text, SensorText(25, id.GetByte22(), 0));
    Line(text, SensorText(29, id.GetByte24(), 0));
    Line(text, S(1114, unsigned(id.GetLowNibble25()), unsigned(id.GetHighNibble25())));
    Line(text, S(1115, unsigned(id.GetByte19())));
    Line(text, S(1103));
    Line(text, S(1107, unsigned(id.GetBit27()), unsigned(id.GetBit27_1())) +
                   S(1108, unsigned(id.GetBit27_2()), unsigned(id.GetBit27_3())));
    Line(text, S(1111));
    // The speeds are signed: a unit driving backwards reports negative values.
    Line(text, S(1110, int(id.GetWord28()), int(id.GetWord30())));
    Line(text, S(1104));
    Line(text, S(1105, unsigned(id.GetBit26()), unsigned(id.GetBit26_2())));
    Line(text, S(1106, unsigned(id.GetBit26_1()), unsigned(id.GetBit26_3())));
    Line(text, S(1113, unsigned(id.GetByte32())));
    text += StarLine();
}

int DiagnosisLinesPerPage(CDC* pDC)
{
    // At least one line, however small the page, so printing always moves on.
    return std::max(1, pDC->GetDeviceCaps(VERTRES) / LineHeight(pDC) - 2);
}

int DiagnosisPageCount(CDC* pDC, const CString& text)
{
    const int lines = int(ReportLines(text).size());
    const int perPage = DiagnosisLinesPerPage(pDC);
    return std::max(1, (lines + perPage - 1) / perPage);
}

void PrintDiagnosisPage(CDC* pDC, const CString& text, int nPage)
{
    const std::vector<std::string> lines = ReportLines(text);
    const int perPage = DiagnosisLinesPerPage(pDC);
    const int height = LineHeight(pDC);
    TEXTMETRIC metrics{};
    pDC->GetTextMetrics(&metrics);
    const std::size_t first = std::size_t(std::max(0, nPage - 1)) * std::size_t(perPage);
    const std::size_t last = std::min(lines.size(), first + std::size_t(perPage));
    int y = height;
    for (std::size_t i = first; i < last; ++i, y += height)
        pDC->TextOut(int(metrics.tmAveCharWidth), y, lines[i].c_str(), int(lines[i].size()));
}
