#include "diagnose/DiagnoseRequest.h"

#include "diagnose/AnswerFormatting.h"
#include "diagnose/DiagnoseState.h"
#include "diagnose/DiagnoseTexts.h"
#include "diagnose/InputDialogs.h"
#include "framework/core/CTime.h"
#include "shared/SensorTelegram.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>
#include <tuple>

namespace {

constexpr UINT IDS_NO_ANSWER = 534;
constexpr UINT IDS_UNEXPECTED_ANSWER = 531;
constexpr UINT IDS_NO_MEMORY = 533;
constexpr UINT IDS_CODE_CANCELLED = 537;
constexpr UINT IDS_SHAPE_CANCELLED = 1721;
constexpr UINT IDS_ADDRESS_ZOK = 1559;
constexpr UINT IDS_ADDRESS_KVR = 1560;
constexpr UINT IDS_VALUE_COUNT = 547;
constexpr std::int32_t kFailedResult = 255;
constexpr std::size_t kMaxContourSegments = 360;

enum class ParameterDialog { SegmentCount, ZOKNr, ZOKFieldNr, MVPartial, FieldNr, Shape, WATime, Hcode, AglMode,
                             AverageMV, RspTime, SensorAdr };

struct DialogUse {
    UINT templateId;
    DLGPROC procedure;
    std::size_t blockSize;
};

DialogUse Use(ParameterDialog dialog)
{
    switch (dialog) {
    case ParameterDialog::SegmentCount: return {IDD_SEGMENT_COUNT, SegmentCountDlgProc, kSmallBlockSize};
    case ParameterDialog::ZOKNr: return {IDD_ZOK_NR, ZOKNrDlgProc, kSmallBlockSize};
    case ParameterDialog::ZOKFieldNr: return {IDD_ZOK_FIELD_NR, ZOKFieldNrDlgProc, kZOKFieldNrBlockSize};
    case ParameterDialog::MVPartial: return {IDD_MV_PARTIAL, MVPartialDlgProc, kMVPartialBlockSize};
    case ParameterDialog::FieldNr: return {IDD_FIELD_NR, FieldNrDlgProc, kSmallBlockSize};
    case ParameterDialog::Shape: return {IDD_SF_KFG_SEGMENT, SfKfgSegmentDlgProc, kShapeBlockSize};
    case ParameterDialog::WATime: return {IDD_WA_TIME, WATimeDlgProc, kSmallBlockSize};
    case ParameterDialog::Hcode: return {IDD_HCODE, HcodeDlgProc, kHcodeBlockSize};
    case ParameterDialog::AglMode: return {IDD_AGL_MODE, AglModeDlgProc, kSmallBlockSize};
    case ParameterDialog::AverageMV: return {IDD_AVERAGE_MV, AverageMVDlgProc, kSmallBlockSize};
    case ParameterDialog::RspTime: return {IDD_RSP_TIME, RspTimeDlgProc, kSmallBlockSize};
    case ParameterDialog::SensorAdr: return {IDD_SENSOR_ADR, SensorAdrDlgProc, kSmallBlockSize};
    }
    return {0, nullptr, 0};
}

std::string TwoDigits(unsigned value)
{
    std::string text = std::to_string(value);
    return text.size() < 2 ? "0" + text : text;
}

bool In(int value, std::initializer_list<int> values)
{
    for (int v : values)
        if (v == value)
            return true;
    return false;
}

std::optional<ParameterDialog> DialogOf(int kind, int subKind)
{
    switch (kind) {
    case 12:
        if (subKind == 28) return ParameterDialog::SegmentCount;
        if (In(subKind, {29, 73})) return ParameterDialog::ZOKNr;
        if (In(subKind, {30, 31, 32, 149})) return ParameterDialog::ZOKFieldNr;
        if (subKind == 117) return ParameterDialog::MVPartial;
        return std::nullopt;
    case 17: return In(subKind, {38, 39}) ? std::optional(ParameterDialog::FieldNr) : std::nullopt;
    case 18: return subKind == 45 ? std::optional(ParameterDialog::Shape) : std::nullopt;
    case 52: return In(subKind, {61, 101}) ? std::optional(ParameterDialog::WATime) : std::nullopt;
    case 54:
        if (subKind == 143) return ParameterDialog::Hcode;
        if (subKind == 153) return ParameterDialog::AglMode;
        return std::nullopt;
    case 97: return ParameterDialog::AverageMV;
    case 103: return In(subKind, {104, 105}) ? std::optional(ParameterDialog::RspTime) : std::nullopt;
    case 121: return ParameterDialog::SensorAdr;
    default: return std::nullopt;
    }
}

// One call of the callback: the request and answer records and the text being built.
class RequestServer {
public:
    RequestServer(HWND parent, DiagnoseRequestRecord& record) : m_parent(parent), m_record(record) {}

    int Serve();

private:
    int AskParameters(ParameterDialog dialog);
    void ServeKind();

    // The caller's block when it holds at least size bytes; else null.
    const BYTE* Block(std::size_t size) const;
    bool Exchange();
    bool Send(BYTE command, std::optional<BYTE> subCode = std::nullopt);
    BYTE Status() const { return m_answer.Byte(AnswerOffset::Data); }
    bool Answered(BYTE command) const { return m_answer.Command() == command; }
    void Set(UINT id, std::initializer_list<TextArg> args = {}) { m_text = LoadDiagnoseText(id, args); }
    void Append(UINT id, std::initializer_list<TextArg> args = {}) { m_text += LoadDiagnoseText(id, args); }
    void Refuse();
    void StatusText(BYTE command, std::initializer_list<std::pair<BYTE, UINT>> texts);
    void KeepCallerText();
    void AppendAddressLine();
    void WriteText();

    void ConnectionTest();
    void OperatingMode();
    void MeasuredValues();
    void MeasuredValueAnswer();
    void ErrorList();
    void AcknowledgedErrorList();
    void FieldRecord();
    void ContourExchange();
    void TwoStep();
    void AlignmentMode();
    bool ChooseDevice();
    void StatusReport();
    // A command of a table of (sub-kind, command, sub-code); false for an unknown sub-kind.
    bool SendBySubKind(std::initializer_list<std::tuple<int, BYTE, BYTE>> table);

    HWND m_parent;
    DiagnoseRequestRecord& m_record;
    DiagnoseState& m_state = TheDiagnoseState();
    SensorRequest m_request;
    SensorAnswer m_answer;
    std::string m_text;
};

int RequestServer::Serve()
{
    m_record.Result = 0;
    const int kind = m_record.Kind;
    if (kind == 152) {
        const bool confirmed = ChooseDevice();
        if (m_record.AskParameters)
            return confirmed ? 1 : 0;
    } else if (m_record.AskParameters) {
        if (const std::optional<ParameterDialog> dialog = DialogOf(kind, m_record.SubKind))
            return AskParameters(*dialog);
    }
    const bool sendNothing = kind == 152 || (m_record.AskParameters && In(kind, {52, 103, 121}));
    if (!sendNothing) {
        m_request = SensorRequest(m_state.family, 0, m_state.address);
        ServeKind();
    }
    AppendAddressLine();
    WriteText();
    return 1;
}

int RequestServer::AskParameters(ParameterDialog dialog)
{
    const DialogUse use = Use(dialog);
    if (!m_record.Parameters) {
        m_record.Parameters = std::calloc(1, use.blockSize);
        if (!m_record.Parameters) {
            ShowDiagnoseMessage(m_parent, MB_OK | MB_ICONEXCLAMATION, int(IDS_NO_MEMORY));
            return 0;
        }
        m_record.ParametersSize = std::int32_t(use.blockSize);
    } else if (m_record.ParametersSize < std::int32_t(use.blockSize)) {
        // A block too small for the dialog's data would be written past its end.
        ShowDiagnoseMessage(m_parent, MB_OK | MB_ICONEXCLAMATION, int(IDS_NO_MEMORY));
        return 0;
    }
    const INT_PTR result = dialog == ParameterDialog::Shape
                               ? RunShapeDialog(m_parent, 3, m_record.Parameters)
                               : RunInputDialog(m_parent, use.templateId, use.procedure, m_record.Parameters);
    if (result == 1)
        return 1;
    if (dialog == ParameterDialog::Shape)
        ShowDiagnoseMessage(m_parent, MB_OK | MB_ICONEXCLAMATION, int(IDS_SHAPE_CANCELLED));
    else if (dialog == ParameterDialog::Hcode)
        ShowDiagnoseMessage(m_parent, MB_OK | MB_ICONEXCLAMATION, int(IDS_CODE_CANCELLED));
    return 0;
}

const BYTE* RequestServer::Block(std::size_t size) const
{
    if (!m_record.Parameters || m_record.ParametersSize < std::int32_t(size))
        return nullptr;
    return static_cast<const BYTE*>(m_record.Parameters);
}

bool RequestServer::Exchange()
{
    m_answer = SensorAnswer();
    if (m_state.line && m_state.line->Telegram(m_request.data(), m_answer.data()))
        return true;
    Refuse();
    return false;
}

bool RequestServer::Send(BYTE command, std::optional<BYTE> subCode)
{
    m_request.SetByte(RequestOffset::Command, command);
    if (subCode)
        m_request.SetByte(RequestOffset::Data, *subCode);
    return Exchange();
}

// Nothing reached the device, or nothing may be sent: the outside library's signal.
void RequestServer::Refuse()
{
    Set(IDS_NO_ANSWER);
    m_record.Result = kFailedResult;
}

void RequestServer::StatusText(BYTE command, std::initializer_list<std::pair<BYTE, UINT>> texts)
{
    if (Answered(command)) {
        for (const auto& [status, id] : texts) {
            if (Status() == status) {
                Set(id);
                return;
            }
        }
    }
    // An unknown status is no answer this request can show.
    Set(IDS_UNEXPECTED_ANSWER);
}

void RequestServer::KeepCallerText()
{
    if (!m_record.Text || m_record.TextSize <= 0)
        return;
    m_text.assign(m_record.Text, strnlen(m_record.Text, std::size_t(m_record.TextSize)));
}

void RequestServer::AppendAddressLine()
{
    m_text += LoadDiagnoseText(m_state.family == kFamilyKVR ? IDS_ADDRESS_KVR : IDS_ADDRESS_ZOK, {m_state.address});
}

// An answer longer than the buffer is never lost unseen: what fits is written, and the
// record tells the caller the size the whole answer needs, to ask again with.
void RequestServer::WriteText()
{
    if (!m_record.Text || m_record.TextSize <= 0)
        return;
    const std::string cut = CutText(m_text, std::size_t(m_record.TextSize - 1));
    std::memcpy(m_record.Text, cut.c_str(), cut.size() + 1);
    if (cut.size() < m_text.size())
        m_record.TextSize = std::int32_t(std::min<std::size_t>(m_text.size() + 1, std::numeric_limits<std::int32_t>::max()));
}

bool RequestServer::SendBySubKind(std::initializer_list<std::tuple<int, BYTE, BYTE>> table)
{
    for (const auto& [subKind, command, subCode] : table) {
        if (m_record.SubKind == subKind)
            return Send(command, subCode);
    }
    Refuse();
    return false;
}

void RequestServer::ServeKind()
{
    switch (m_record.Kind) {
    case 10: ConnectionTest(); break;
    case 11: OperatingMode(); break;
    case 12: MeasuredValues(); break;
    case 13:
        if (Send(0x31)) {
            if (Answered(0xB1))
                FormatStatusReport(m_text, m_answer.Bytes(), m_state.family, *m_state.line);
            else
                Set(IDS_UNEXPECTED_ANSWER);
        }
        break;
    case 14: ErrorList(); break;
    case 15: AcknowledgedErrorList(); break;
    case 17: FieldRecord(); break;
    case 18: ContourExchange(); break;
    case 52: TwoStep(); break;
    case 54: AlignmentMode(); break;
    case 89:
        if (SendBySubKind({{90, 0x60, 1}, {91, 0x60, 0}, {92, 0x61, 1}, {99, 0x61, 0}})) {
            // A status without a text of its own leaves the caller's text as it was.
            if (Answered(0xE0) && Status() > 2)
                KeepCallerText();
            else
                StatusText(0xE0, {{0, 1664}, {1, 1663}, {2, 1665}});
        }
        break;
    case 93:
        if (SendBySubKind({{94, 0x62, 0}, {95, 0x62, 1}, {96, 0x62, 2}})) {
            StatusText(0xE2, {{0, 1669}, {1, 1670}});
            if (Answered(0xE2) && Status() == 1) {
                const BYTE mode = m_answer.Byte(10);
                if (mode <= 2)
                    Append(mode == 0 ? 688 : mode == 1 ? 686 : 687);
            }
        }
        break;
    case 97:
        if (const BYTE* block = Block(kSmallBlockSize)) {
            m_request.SetByte(10, block[0]);
            if (!Send(0x36))
                break;
            if (Answered(0xB6)) {
                Set(1583, {m_answer.Byte(10)});
                Append(IDS_VALUE_COUNT, {m_answer.Word(11)});
                FormatAveragedValues(m_text, m_answer.Bytes());
            } else {
                Set(IDS_UNEXPECTED_ANSWER);
            }
        } else {
            Refuse();
        }
        break;
    case 103:
        if (const BYTE* block = Block(kSmallBlockSize)) {
            m_request.SetByte(RequestOffset::Data, block[0]);
            if (SendBySubKind({{104, 0x63, block[0]}, {105, 0x64, block[0]}}))
                StatusText(0xE4, {{2, 1635}, {1, 1627}, {0, 1628}});
        } else {
            Refuse();
        }
        break;
    case 107:
        if (SendBySubKind({{106, 0x65, 0}, {108, 0x65, 1}})) {
            StatusText(0xE5, {{0, 1674}, {1, 1675}});
            if (Answered(0xE5) && Status() == 1 && m_answer.Byte(10) <= 1)
                Append(m_answer.Byte(10) == 0 ? 1677 : 1678);
        }
        break;
    case 118:
        if (SendBySubKind({{119, 0x66, 0}, {120, 0x66, 1}}))
            StatusText(0xE6, {{0, 1633}, {1, 1632}});
        break;
    case 121:
        if (const BYTE* block = Block(kSmallBlockSize)) {
            if (Send(0x67, block[0]))
                StatusText(0xE7, {{1, 1630}, {0, 1631}});
        } else {
            Refuse();
        }
        break;
    case 123:
        if (SendBySubKind({{127, 0x69, 0}, {128, 0x69, 1}, {129, 0x6A, 0}, {130, 0x6A, 1}}))
            StatusText(0xE9, {{0, 1691}, {1, 1690}, {2, 1692}});
        break;
    case 124:
        if (SendBySubKind({{125, 0x68, 1}, {126, 0x68, 0}})) {
            StatusText(0xE8, {{0, 1689}, {1, 1688}});
            if (Answered(0xE8) && Status() == 1 && m_answer.Byte(10) <= 1)
                Append(m_answer.Byte(10) == 0 ? 712 : 711);
        }
        break;
    case 155:
        if (SendBySubKind({{157, 0x77, 0}}))
            StatusText(0xF7, {{0, 1698}, {1, 1697}});
        break;
    case 162: StatusReport(); break;
    default: Refuse(); break;
    }
}

void RequestServer::ConnectionTest()
{
    if (Send(0x10)) {
        Set(Answered(0x91) ? 554 : IDS_UNEXPECTED_ANSWER);
        return;
    }
    // Fetching the driver's reason clears it; the outside library is shown 534.
    if (m_state.line)
        m_state.line->TakeLastError(std::max(m_record.TextSize - 1, 0));
    Refuse();
}

void RequestServer::OperatingMode()
{
    const int subKind = m_record.SubKind;
    if (subKind == 20) {
        if (!m_record.Code) {
            Refuse();
            return;
        }
        const std::size_t length = strnlen(m_record.Code, 8);
        for (std::size_t i = 0; i < length; ++i)
            m_request.SetByte(10 + i, BYTE(m_record.Code[i]));
        if (Send(0x20, 0x00))
            Set(Answered(0xA0) && Status() == 0 ? 570 : 571);
        return;
    }
    if (In(subKind, {23, 24, 25, 26, 27, 109, 116})) {
        if (SendBySubKind({{23, 0x20, 0x10}, {24, 0x20, 0x20}, {25, 0x20, 0x21}, {26, 0x20, 0x22},
                           {27, 0x20, 0x23}, {109, 0x20, 0x24}, {116, 0x20, 0x25}}))
            Set(Answered(0xA0) && Status() == 0 ? 570 : 571);
        return;
    }
    if (SendBySubKind({{70, 0x20, 0x40}, {71, 0x20, 0x41}, {74, 0x20, 0x42}, {115, 0x20, 0x43}, {131, 0x20, 0x48}}))
        Set(Answered(0xA0) && Status() == 0 ? 645 : 670);
}

void RequestServer::MeasuredValues()
{
    const int subKind = m_record.SubKind;
    if (subKind == 28) {
        const BYTE* block = Block(kSmallBlockSize);
        if (!block)
            return Refuse();
        m_request.SetByte(10, 5);
        m_request.SetByte(11, block[0]);
        m_request.SetByte(9, block[2]);
    } else if (In(subKind, {29, 73})) {
        const BYTE* block = Block(kSmallBlockSize);
        if (!block)
            return Refuse();
        m_request.SetByte(10, 1);
        m_request.SetByte(9, block[0]);
    } else if (In(subKind, {30, 31, 32, 149})) {
        const BYTE* block = Block(kZOKFieldNrBlockSize);
        if (!block)
            return Refuse();
        m_request.SetByte(10, subKind == 30 ? 2 : subKind == 31 ? 3 : subKind == 32 ? 4 : 0);
        m_request.SetByte(9, block[0]);
        m_request.SetByte(11, block[1]);
    } else if (subKind == 117) {
        const BYTE* block = Block(kMVPartialBlockSize);
        if (!block)
            return Refuse();
        m_request.SetByte(9, block[0]);
        for (std::size_t i = 0; i < 4; ++i)
            m_request.SetByte(10 + i, block[2 + i]);
        if (Send(0x37))
            MeasuredValueAnswer();
        return;
    } else {
        return Refuse();
    }
    if (Send(0x30))
        MeasuredValueAnswer();
}

void RequestServer::MeasuredValueAnswer()
{
    if (Answered(0xB0)) {
        Set(IDS_VALUE_COUNT, {m_answer.Word(10)});
        const BYTE table = m_request.Byte(10);
        if (m_request.Command() == 0x30 && In(table, {0, 1, 2, 5})) {
            if (m_record.SubKind == 73)
                FormatBarChart(m_text, m_answer.Bytes());
            else
                FormatValueTable(m_text, m_answer.Bytes());
        } else if (m_request.Command() == 0x30 && In(table, {3, 4})) {
            FormatSegmentTable(m_text, m_answer.Bytes());
        } else {
            FormatValueTable(m_text, m_answer.Bytes());
        }
    } else if (Answered(0xB7)) {
        Set(1586, {m_answer.Word(10), m_answer.Word(12)});
        Append(IDS_VALUE_COUNT, {m_answer.Word(14)});
        FormatPartialValues(m_text, m_answer.Bytes());
    } else {
        Set(IDS_UNEXPECTED_ANSWER);
    }
}

void RequestServer::ErrorList()
{
    if (!Send(0x32))
        return;
    if (!Answered(0xB2))
        Set(IDS_UNEXPECTED_ANSWER);
    else if (m_answer.Word(AnswerOffset::DataLength) == 1)
        Set(546);
    else
        FormatErrorList(m_text, m_answer.Bytes(), m_request.Family(), *m_state.line);
}

void RequestServer::AcknowledgedErrorList()
{
    if (m_record.SubKind != 76)
        return Refuse();
    if (!Send(0x33, 0x11))
        return;
    if (!Answered(0xB2))
        return Set(IDS_UNEXPECTED_ANSWER);
    m_request.SetByte(RequestOffset::Data, 0);
    if (!Send(0x32))
        return;
    if (!Answered(0xB2))
        Set(IDS_UNEXPECTED_ANSWER);
    else if (m_answer.Word(AnswerOffset::DataLength) == 1)
        Set(546);
    else
        FormatErrorList(m_text, m_answer.Bytes(), kFamilyZOK, *m_state.line);
}

void RequestServer::FieldRecord()
{
    const int subKind = m_record.SubKind;
    const BYTE* block = Block(kSmallBlockSize);
    if (!In(subKind, {38, 39}) || !block)
        return Refuse();
    m_request.SetByte(10, subKind == 38 ? 1 : 0);
    if (!Send(0x45, block[0]))
        return;
    // Only a field record can be shown; the record of sub-kind 38 carries no time.
    if (!Answered(0xC5))
        return Set(IDS_UNEXPECTED_ANSWER);
    const bool hasTime = subKind == 39;
    auto timeStamp = [this, hasTime] {
        if (hasTime)
            Append(1598, {TwoDigits(m_answer.Byte(23)), TwoDigits(m_answer.Byte(24) + 1u), m_answer.Word(25) + 1900u,
                          TwoDigits(m_answer.Byte(22)), TwoDigits(m_answer.Byte(21))});
    };
    m_text.clear();
    if (m_state.family == kFamilyKVR) {
        Set(1701, {m_answer.Byte(9)});
        Append(1702, {RecordText(m_answer.Bytes(), 10, 8)});
    }
    const WORD w = m_answer.Word(27);
    switch (m_answer.Byte(19)) {
    case 0:
        Append(552);
        timeStamp();
        Append(556, {w, m_answer.Word(29), m_answer.Word(31)});
        break;
    case 1:
        Append(553);
        timeStamp();
        Append(550, {w});
        break;
    case 2:
        Append(551);
        timeStamp();
        Append(549, {w, w + 1u});
        FormatFieldContour(m_text, m_answer.Bytes());
        break;
    case 3:
        Append(548);
        Append(549, {w, w + 1u});
        FormatFieldContour(m_text, m_answer.Bytes());
        break;
    case 4:
        Append(586);
        timeStamp();
        FormatFieldContour(m_text, m_answer.Bytes());
        break;
    case 7:
        Append(1710);
        timeStamp();
        Append(556, {w, m_answer.Word(29), m_answer.Word(31)});
        Append(1714, {m_answer.Word(33)});
        break;
    default: break;
    }
    // The field kind's text opens with the line break that parts it from a unit's field
    // head; a scanner's record has no head, and its answer starts on the first line.
    if (m_state.family != kFamilyKVR && !m_text.empty() && m_text.front() == '\n')
        m_text.erase(0, 1);
}

DWORD BlockLong(const BYTE* block, std::size_t offset)
{
    return DWORD(block[offset]) | (DWORD(block[offset + 1]) << 8) | (DWORD(block[offset + 2]) << 16) |
           (DWORD(block[offset + 3]) << 24);
}

void RequestServer::ContourExchange()
{
    const BYTE* read = Block(kShapeBlockSize);
    if (m_record.SubKind != 45 || !read)
        return Refuse();
    BYTE* block = static_cast<BYTE*>(m_record.Parameters);
    const DWORD count = BlockLong(block, 12);
    if (count > kMaxContourSegments)
        return Refuse();
    const CTime now = CTime::GetCurrentTime();
    m_request.SetByte(20, BYTE(now.GetMinute()));
    m_request.SetByte(21, BYTE(now.GetHour()));
    m_request.SetByte(22, BYTE(now.GetDay()));
    m_request.SetByte(23, BYTE(now.GetMonth() - 1));
    m_request.SetWord(24, WORD(now.GetYear() - 1900));
    m_request.SetByte(RequestOffset::Data, block[0]);
    m_request.SetWord(10, WORD(count));
    for (std::size_t i = 0; i <= count; ++i) {
        const DWORD value = std::clamp<DWORD>(BlockLong(block, 16 + 4 * i), 5, 5000);
        for (std::size_t b = 0; b < 4; ++b)
            block[16 + 4 * i + b] = BYTE(value >> (8 * b));
        m_request.SetWord(12 + 2 * i, WORD(value | 0x8000));
    }
    if (!Send(0x43))
        return;
    if (!Answered(0xC3))
        return Set(IDS_UNEXPECTED_ANSWER);
    if (Status() != 1)
        return Set(575);
    Set(574);
    Append(1701, {m_answer.Byte(10)});
    Append(548);
}

void RequestServer::TwoStep()
{
    const int subKind = m_record.SubKind;
    const bool withDelay = In(subKind, {61, 101});
    const BYTE* block = Block(kSmallBlockSize);
    if (withDelay && !block)
        return Refuse();
    if (withDelay)
        m_request.SetByte(10, block[0]);
    if (!SendBySubKind({{60, 0x44, 0}, {61, 0x44, 1}, {72, 0x44, 2}, {100, 0x47, 0}, {101, 0x47, 1}, {102, 0x47, 2}}))
        return;
    const bool first = In(subKind, {60, 61, 72});
    if (Answered(0xC4) && Status() == 2 && first)
        Set(1626);
    else if (Answered(0xC4) && Status() == 1 && !first)
        Set(580);
    else if (Answered(0xC4) && Status() == 0)
        Set(581);
    else
        Set(IDS_UNEXPECTED_ANSWER);
}

void RequestServer::AlignmentMode()
{
    const int subKind = m_record.SubKind;
    if (subKind == 66) {
        m_request.SetByte(RequestOffset::Data, 1);
    } else if (subKind == 143) {
        const BYTE* block = Block(kHcodeBlockSize);
        if (!block)
            return Refuse();
        m_request.SetByte(RequestOffset::Data, 3);
        for (std::size_t i = 0; i < 8 && block[i]; ++i)
            m_request.SetByte(10 + i, block[i]);
    } else if (subKind == 153) {
        const BYTE* block = Block(kSmallBlockSize);
        if (!block)
            return Refuse();
        m_request.SetByte(RequestOffset::Data, block[0]);
    } else {
        return Refuse();
    }
    if (!Send(0x50))
        return;
    if (Answered(0xD0) && Status() == 1) {
        Set(582);
    } else if (Answered(0xD0) && Status() == 0) {
        Set(583);
    } else {
        Set(IDS_UNEXPECTED_ANSWER);
        m_record.Result = kFailedResult;
    }
}

bool RequestServer::ChooseDevice()
{
    // Cancel keeps the device in use; the dialog opens with its family.
    std::array<BYTE, kDeviceAddressBlockSize> block{};
    block[2] = m_state.family;
    if (RunInputDialog(m_parent, IDD_DEVICE_ADR, DeviceAdrDlgProc, block.data()) != 1)
        return false;
    m_state.address = block[0];
    m_state.family = block[1];
    return true;
}

void RequestServer::StatusReport()
{
    const BYTE address = m_state.address;
    // A KVR unit answers its identification at address 0 only.
    if (m_state.family == kFamilyKVR && address == 127)
        m_request.SetByte(RequestOffset::Address, 0);
    const bool identified = Send(0x31);
    m_request.SetByte(RequestOffset::Address, address);
    if (!identified)
        return;
    if (!Answered(0xB1))
        return Set(IDS_UNEXPECTED_ANSWER);
    m_text = StatusReportHead(m_answer.Bytes(), *m_state.line);
    if (m_state.family == kFamilyZOK) {
        const DWORD version = DeviceVersionNumber(RecordText(m_answer.Bytes(), 9, 8).c_str());
        const WORD minor = LOWORD(version);
        if (HIWORD(version) < 3 || !((minor >= 12 && minor <= 19) || (minor >= 21 && minor <= 99)))
            return Append(654);
    }
    m_request.SetByte(RequestOffset::Command, 0x34);
    const DWORD selector = m_state.family == kFamilyKVR ? 0x17F00 : 0xC634;
    for (std::size_t i = 0; i < 4; ++i)
        m_request.SetByte(9 + i, BYTE(selector >> (8 * i)));
    m_request.SetByte(13, 0x7A);
    if (!Exchange())
        return;
    if (Answered(0xB4))
        FormatErrorRing(m_text, m_answer.Bytes(), m_state.family, *m_state.line);
    else
        Set(IDS_UNEXPECTED_ANSWER);
}

} // namespace

extern "C" int DiagnoseRequest(HWND parent, DiagnoseRequestRecord* record)
{
    if (!record)
        return 0;
    return RequestServer(parent, *record).Serve();
}
