#include "diagnose/internal/DiagnoseRequest.h"

#include "diagnose/internal/AnswerFormatting.h"
#include "diagnose/internal/DiagnoseState.h"
#include "diagnose/internal/DiagnoseTexts.h"
#include "diagnose/internal/InputDialogs.h"
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

namespace {

constexpr UINT IDS_UNEXPECTED_ANSWER = 531;
constexpr UINT IDS_NO_MEMORY = 533;
constexpr UINT IDS_NO_ANSWER = 534;
constexpr UINT IDS_CODE_CANCELLED = 537;
constexpr UINT IDS_NO_ERRORS = 546;
constexpr UINT IDS_VALUE_COUNT = 547;
constexpr UINT IDS_MODE_CHANGED = 570;
constexpr UINT IDS_MODE_REFUSED = 571;
constexpr UINT IDS_COMMAND_ACCEPTED = 645;
constexpr UINT IDS_COMMAND_REFUSED = 670;
constexpr UINT IDS_SHAPE_CANCELLED = 1721;
constexpr UINT IDS_ADDRESS_ZOK = 1559;
constexpr UINT IDS_ADDRESS_KVR = 1560;
// No string: a status without a text, a dialog whose cancel shows no message.
constexpr UINT kNoText = 0;
// A status without a text of its own leaves the caller's text as it was.
constexpr UINT kKeepText = std::numeric_limits<UINT>::max();

constexpr std::int32_t kFailedResult = 255;
constexpr std::size_t kMaxContourSegments = 360;

constexpr int kAnySubKind = -1;
// Asks for the device address and family; it sends nothing.
constexpr int kChooseDeviceKind = 152;
// Kinds that, asked for the parameters of a sub-kind without a dialog, send nothing.
constexpr int kKindsQuietWhenAsked[] = {52, 103, 121};
// Sub-kinds of kind 11: the log-in with the caller's access code, and the device commands
// that are answered as commands rather than as operating modes.
constexpr int kLoginSubKind = 20;
constexpr int kDeviceCommandSubKinds[] = {70, 71, 74, 115, 131};
// Kind 54's sub-kind whose parameter block holds an 8-character code.
constexpr int kAlignmentCodeSubKind = 143;
// Kind 17's sub-kind that reads the stored field; the other one reads the warning contour.
constexpr int kReadStoredField = 39;

constexpr BYTE kIdentification = 0x31;
constexpr BYTE kReadErrorList = 0x32;
constexpr BYTE kReadErrorRing = 0x34;
constexpr BYTE kCheckValues = 0x44; // the first of the two steps of kind 52

// The input dialog that collects the parameters of an action, and the block it fills.
// A shape dialog is opened by its shape code through the shape launcher.
constexpr int kNoShape = -1;
constexpr int kSegmentShape = 3;

struct ParameterDialog {
    int kind;
    int subKind; // or kAnySubKind
    UINT templateId;
    DLGPROC procedure;
    std::size_t blockSize;
    UINT cancelMessage; // or kNoText
    int shapeCode = kNoShape;
};

constexpr ParameterDialog kParameterDialogs[] = {
    {12, 28, IDD_SEGMENT_COUNT, SegmentCountDlgProc, kSmallBlockSize, kNoText},
    {12, 29, IDD_ZOK_NR, ZOKNrDlgProc, kSmallBlockSize, kNoText},
    {12, 73, IDD_ZOK_NR, ZOKNrDlgProc, kSmallBlockSize, kNoText},
    {12, 30, IDD_ZOK_FIELD_NR, ZOKFieldNrDlgProc, kZOKFieldNrBlockSize, kNoText},
    {12, 31, IDD_ZOK_FIELD_NR, ZOKFieldNrDlgProc, kZOKFieldNrBlockSize, kNoText},
    {12, 32, IDD_ZOK_FIELD_NR, ZOKFieldNrDlgProc, kZOKFieldNrBlockSize, kNoText},
    {12, 149, IDD_ZOK_FIELD_NR, ZOKFieldNrDlgProc, kZOKFieldNrBlockSize, kNoText},
    {12, 117, IDD_MV_PARTIAL, MVPartialDlgProc, kMVPartialBlockSize, kNoText},
    {17, 38, IDD_FIELD_NR, FieldNrDlgProc, kSmallBlockSize, kNoText},
    {17, 39, IDD_FIELD_NR, FieldNrDlgProc, kSmallBlockSize, kNoText},
    {18, 45, 0, nullptr, kShapeBlockSize, IDS_SHAPE_CANCELLED, kSegmentShape},
    {52, 61, IDD_WA_TIME, WATimeDlgProc, kSmallBlockSize, kNoText},
    {52, 101, IDD_WA_TIME, WATimeDlgProc, kSmallBlockSize, kNoText},
    {54, kAlignmentCodeSubKind, IDD_HCODE, HcodeDlgProc, kHcodeBlockSize, IDS_CODE_CANCELLED},
    {54, 153, IDD_AGL_MODE, AglModeDlgProc, kSmallBlockSize, kNoText},
    {97, kAnySubKind, IDD_AVERAGE_MV, AverageMVDlgProc, kSmallBlockSize, kNoText},
    {103, 104, IDD_RSP_TIME, RspTimeDlgProc, kSmallBlockSize, kNoText},
    {103, 105, IDD_RSP_TIME, RspTimeDlgProc, kSmallBlockSize, kNoText},
    {121, kAnySubKind, IDD_SENSOR_ADR, SensorAdrDlgProc, kSmallBlockSize, kNoText},
};

// The command of an action and the sub-code it sends in request byte 9.
constexpr int kNoSubCode = -1;
constexpr int kSubCodeFromBlock = -2; // byte 0 of the action's parameter block

struct ActionCommand {
    int kind;
    int subKind; // or kAnySubKind
    BYTE command;
    int subCode; // a byte, kNoSubCode or kSubCodeFromBlock
};

constexpr ActionCommand kActionCommands[] = {
    {10, kAnySubKind, 0x10, kNoSubCode},
    {11, kLoginSubKind, 0x20, 0x00},
    // Operating modes.
    {11, 23, 0x20, 0x10}, {11, 24, 0x20, 0x20}, {11, 25, 0x20, 0x21}, {11, 26, 0x20, 0x22},
    {11, 27, 0x20, 0x23}, {11, 109, 0x20, 0x24}, {11, 116, 0x20, 0x25},
    // Device commands.
    {11, 70, 0x20, 0x40}, {11, 71, 0x20, 0x41}, {11, 74, 0x20, 0x42}, {11, 115, 0x20, 0x43},
    {11, 131, 0x20, 0x48},
    // Measured values; the parameter block fills the request.
    {12, 28, 0x30, kNoSubCode}, {12, 29, 0x30, kNoSubCode}, {12, 73, 0x30, kNoSubCode},
    {12, 30, 0x30, kNoSubCode}, {12, 31, 0x30, kNoSubCode}, {12, 32, 0x30, kNoSubCode},
    {12, 149, 0x30, kNoSubCode}, {12, 117, 0x37, kNoSubCode},
    {13, kAnySubKind, kIdentification, kNoSubCode},
    {14, kAnySubKind, kReadErrorList, kNoSubCode},
    {15, 76, 0x33, 0x11}, // acknowledges the errors
    {17, 38, 0x45, kSubCodeFromBlock}, {17, kReadStoredField, 0x45, kSubCodeFromBlock},
    {18, 45, 0x43, kSubCodeFromBlock},
    {52, 60, kCheckValues, 0}, {52, 61, kCheckValues, 1}, {52, 72, kCheckValues, 2},
    {52, 100, 0x47, 0}, {52, 101, 0x47, 1}, {52, 102, 0x47, 2},
    {54, 66, 0x50, 1}, {54, kAlignmentCodeSubKind, 0x50, 3}, {54, 153, 0x50, kSubCodeFromBlock},
    {89, 90, 0x60, 1}, {89, 91, 0x60, 0}, {89, 92, 0x61, 1}, {89, 99, 0x61, 0},
    {93, 94, 0x62, 0}, {93, 95, 0x62, 1}, {93, 96, 0x62, 2},
    {97, kAnySubKind, 0x36, kNoSubCode},
    {103, 104, 0x63, kSubCodeFromBlock}, {103, 105, 0x64, kSubCodeFromBlock},
    {107, 106, 0x65, 0}, {107, 108, 0x65, 1},
    {118, 119, 0x66, 0}, {118, 120, 0x66, 1},
    {121, kAnySubKind, 0x67, kSubCodeFromBlock},
    {123, 127, 0x69, 0}, {123, 128, 0x69, 1}, {123, 129, 0x6A, 0}, {123, 130, 0x6A, 1},
    {124, 125, 0x68, 1}, {124, 126, 0x68, 0},
    {155, 157, 0x77, 0},
    {162, kAnySubKind, kIdentification, kNoSubCode},
};

// The texts of an answer that carries a status in its byte 9.
struct StatusTexts {
    BYTE answer;                                // the answer command expected
    std::array<UINT, 3> ofStatus;               // status 0, 1, 2; kNoText where there is none
    std::array<UINT, 3> detailOfStatus1 = {};   // appended to status 1 by answer byte 10
    UINT ofOtherStatus = IDS_UNEXPECTED_ANSWER; // or kKeepText
};

// The two steps of kind 52: a check of the values, then their store.
constexpr StatusTexts kCheckStepTexts{0xC4, {581, kNoText, 1626}};
constexpr StatusTexts kStoreStepTexts{0xC4, {581, 580, kNoText}};

template <typename Entry, std::size_t N>
const Entry* FindEntry(const Entry (&table)[N], int kind, int subKind)
{
    for (const Entry& entry : table)
        if (entry.kind == kind && (entry.subKind == kAnySubKind || entry.subKind == subKind))
            return &entry;
    return nullptr;
}

UINT TextAt(const std::array<UINT, 3>& texts, BYTE index)
{
    return index < texts.size() ? texts[index] : kNoText;
}

std::string TwoDigits(unsigned value)
{
    std::string text = std::to_string(value);
    return text.size() < 2 ? "0" + text : text;
}

template <std::size_t N>
bool In(int value, const int (&values)[N])
{
    return std::find(std::begin(values), std::end(values), value) != std::end(values);
}

DWORD BlockLong(const BYTE* block, std::size_t offset)
{
    return DWORD(block[offset]) | (DWORD(block[offset + 1]) << 8) | (DWORD(block[offset + 2]) << 16) |
           (DWORD(block[offset + 3]) << 24);
}

// One call of the callback: the request and answer records and the text being built.
class RequestServer {
public:
    RequestServer(HWND parent, DiagnoseRequestRecord& record) : m_parent(parent), m_record(record) {}

    int Serve();

private:
    // What a request kind does, and for the kinds answered by a status alone its texts.
    struct RequestKind {
        int kind;
        void (RequestServer::*serve)();
        StatusTexts status = {};
    };
    static const RequestKind kRequestKinds[];

    int AskParameters(const ParameterDialog& dialog);
    const RequestKind* FindKind() const;

    // The block the action's parameter dialog fills, when the caller's block is at least
    // that large; else null.
    const BYTE* ParameterBlock() const;
    bool HasParameterDialog() const { return FindEntry(kParameterDialogs, m_record.Kind, m_record.SubKind); }
    bool Exchange();
    bool Send(BYTE command, std::optional<BYTE> subCode = std::nullopt);
    // The action's command of kActionCommands; false, refused, for an action it does not list.
    bool SendAction();
    BYTE Status() const { return m_answer.Byte(AnswerOffset::Data); }
    bool Answered(BYTE command) const { return m_answer.Command() == command; }
    // True when the answer carries the command; otherwise the text tells of an unexpected answer.
    bool ExpectAnswer(BYTE command);
    void Set(UINT id, std::initializer_list<TextArg> args = {}) { m_text = LoadDiagnoseText(id, args); }
    void Append(UINT id, std::initializer_list<TextArg> args = {}) { m_text += LoadDiagnoseText(id, args); }
    void Refuse();
    void ShowStatus(const StatusTexts& texts);
    void ShowErrorList(BYTE family);
    void KeepCallerText();
    void AppendAddressLine();
    void WriteText();

    void ConnectionTest();
    void OperatingMode();
    void MeasuredValues();
    void MeasuredValueAnswer();
    void DeviceStatus();
    void ErrorList();
    void AcknowledgedErrorList();
    void FieldRecord();
    void ContourExchange();
    void TwoStep();
    void AlignmentMode();
    void AveragedValues();
    void StatusRequest();
    bool ChooseDevice();
    void StatusReport();

    HWND m_parent;
    DiagnoseRequestRecord& m_record;
    DiagnoseState& m_state = TheDiagnoseState();
    SensorRequest m_request;
    SensorAnswer m_answer;
    std::string m_text;
};

// Every request kind and what serves it. A kind answered by a status alone names its
// status texts; the note at the end of its row says what they speak of.
const RequestServer::RequestKind RequestServer::kRequestKinds[] = {
    {10, &RequestServer::ConnectionTest},
    {11, &RequestServer::OperatingMode},
    {12, &RequestServer::MeasuredValues},
    {13, &RequestServer::DeviceStatus},
    {14, &RequestServer::ErrorList},
    {15, &RequestServer::AcknowledgedErrorList},
    {17, &RequestServer::FieldRecord},
    {18, &RequestServer::ContourExchange},
    {52, &RequestServer::TwoStep},
    {54, &RequestServer::AlignmentMode},
    {89, &RequestServer::StatusRequest, {0xE0, {1664, 1663, 1665}, {}, kKeepText}},          // a function
    {93, &RequestServer::StatusRequest, {0xE2, {1669, 1670, kNoText}, {688, 686, 687}}},      // output mode
    {97, &RequestServer::AveragedValues},
    {103, &RequestServer::StatusRequest, {0xE4, {1628, 1627, 1635}}},                         // response time
    {107, &RequestServer::StatusRequest, {0xE5, {1674, 1675, kNoText}, {1677, 1678, kNoText}}}, // inputs
    {118, &RequestServer::StatusRequest, {0xE6, {1633, 1632, kNoText}}},                      // a function
    {121, &RequestServer::StatusRequest, {0xE7, {1631, 1630, kNoText}}},                      // scanner address
    {123, &RequestServer::StatusRequest, {0xE9, {1691, 1690, 1692}}},                         // a status
    {124, &RequestServer::StatusRequest, {0xE8, {1689, 1688, kNoText}, {712, 711, kNoText}}}, // field switching
    {155, &RequestServer::StatusRequest, {0xF7, {1698, 1697, kNoText}}},                      // a command
    {162, &RequestServer::StatusReport},
};

int RequestServer::Serve()
{
    m_record.Result = 0;
    const int kind = m_record.Kind;
    if (kind == kChooseDeviceKind) {
        const bool confirmed = ChooseDevice();
        if (m_record.AskParameters)
            return confirmed ? 1 : 0;
    } else if (m_record.AskParameters) {
        if (const ParameterDialog* dialog = FindEntry(kParameterDialogs, kind, m_record.SubKind))
            return AskParameters(*dialog);
    }
    const bool sendNothing = kind == kChooseDeviceKind || (m_record.AskParameters && In(kind, kKindsQuietWhenAsked));
    if (!sendNothing) {
        m_request = SensorRequest(m_state.family, 0, m_state.address);
        if (const RequestKind* entry = FindKind())
            (this->*entry->serve)();
        else
            Refuse();
    }
    AppendAddressLine();
    WriteText();
    return 1;
}

int RequestServer::AskParameters(const ParameterDialog& dialog)
{
    if (!m_record.Parameters) {
        m_record.Parameters = std::calloc(1, dialog.blockSize);
        if (!m_record.Parameters) {
            ShowDiagnoseMessage(m_parent, MB_OK | MB_ICONEXCLAMATION, int(IDS_NO_MEMORY));
            return 0;
        }
        m_record.ParametersSize = std::int32_t(dialog.blockSize);
    } else if (m_record.ParametersSize < std::int32_t(dialog.blockSize)) {
        // A block too small for the dialog's data would be written past its end.
        ShowDiagnoseMessage(m_parent, MB_OK | MB_ICONEXCLAMATION, int(IDS_NO_MEMORY));
        return 0;
    }
    const INT_PTR result = dialog.shapeCode != kNoShape
                               ? RunShapeDialog(m_parent, dialog.shapeCode, m_record.Parameters)
                               : RunInputDialog(m_parent, dialog.templateId, dialog.procedure, m_record.Parameters);
    if (result == 1)
        return 1;
    if (dialog.cancelMessage != kNoText)
        ShowDiagnoseMessage(m_parent, MB_OK | MB_ICONEXCLAMATION, int(dialog.cancelMessage));
    return 0;
}

const RequestServer::RequestKind* RequestServer::FindKind() const
{
    for (const RequestKind& entry : kRequestKinds)
        if (entry.kind == m_record.Kind)
            return &entry;
    return nullptr;
}

const BYTE* RequestServer::ParameterBlock() const
{
    const ParameterDialog* dialog = FindEntry(kParameterDialogs, m_record.Kind, m_record.SubKind);
    if (!dialog || !m_record.Parameters || m_record.ParametersSize < std::int32_t(dialog->blockSize))
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

bool RequestServer::SendAction()
{
    const ActionCommand* action = FindEntry(kActionCommands, m_record.Kind, m_record.SubKind);
    const BYTE* block = ParameterBlock();
    if (!action || (action->subCode == kSubCodeFromBlock && !block)) {
        Refuse();
        return false;
    }
    if (action->subCode == kSubCodeFromBlock)
        return Send(action->command, block[0]);
    if (action->subCode == kNoSubCode)
        return Send(action->command);
    return Send(action->command, BYTE(action->subCode));
}

// Nothing reached the device, or nothing may be sent: the outside library's signal.
void RequestServer::Refuse()
{
    Set(IDS_NO_ANSWER);
    m_record.Result = kFailedResult;
}

bool RequestServer::ExpectAnswer(BYTE command)
{
    if (Answered(command))
        return true;
    Set(IDS_UNEXPECTED_ANSWER);
    return false;
}

void RequestServer::ShowStatus(const StatusTexts& texts)
{
    if (!ExpectAnswer(texts.answer))
        return;
    const UINT text = TextAt(texts.ofStatus, Status());
    if (text == kNoText && texts.ofOtherStatus == kKeepText)
        return KeepCallerText();
    if (text == kNoText)
        return Set(texts.ofOtherStatus);
    Set(text);
    if (Status() != 1)
        return;
    if (const UINT detail = TextAt(texts.detailOfStatus1, m_answer.Byte(10)); detail != kNoText)
        Append(detail);
}

void RequestServer::ShowErrorList(BYTE family)
{
    if (!ExpectAnswer(0xB2))
        return;
    if (m_answer.Word(AnswerOffset::DataLength) == 1)
        Set(IDS_NO_ERRORS);
    else
        FormatErrorList(m_text, m_answer.Bytes(), family, *m_state.line);
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

void RequestServer::ConnectionTest()
{
    if (SendAction()) {
        if (ExpectAnswer(0x91))
            Set(554);
        return;
    }
    // Fetching the driver's reason clears it; the outside library is shown 534.
    if (m_state.line)
        m_state.line->TakeLastError(std::max(m_record.TextSize - 1, 0));
    Refuse();
}

void RequestServer::OperatingMode()
{
    if (m_record.SubKind == kLoginSubKind) {
        if (!m_record.Code)
            return Refuse();
        const std::size_t length = strnlen(m_record.Code, 8);
        for (std::size_t i = 0; i < length; ++i)
            m_request.SetByte(10 + i, BYTE(m_record.Code[i]));
    }
    if (!SendAction())
        return;
    const bool accepted = Answered(0xA0) && Status() == 0;
    if (In(m_record.SubKind, kDeviceCommandSubKinds))
        Set(accepted ? IDS_COMMAND_ACCEPTED : IDS_COMMAND_REFUSED);
    else
        Set(accepted ? IDS_MODE_CHANGED : IDS_MODE_REFUSED);
}

void RequestServer::MeasuredValues()
{
    const BYTE* block = ParameterBlock();
    if (!block)
        return Refuse();
    const int subKind = m_record.SubKind;
    if (subKind == 28) {
        m_request.SetByte(10, 5);
        m_request.SetByte(11, block[0]);
        m_request.SetByte(9, block[2]);
    } else if (In(subKind, {29, 73})) {
        m_request.SetByte(10, 1);
        m_request.SetByte(9, block[0]);
    } else if (In(subKind, {30, 31, 32, 149})) {
        m_request.SetByte(10, subKind == 30 ? 2 : subKind == 31 ? 3 : subKind == 32 ? 4 : 0);
        m_request.SetByte(9, block[0]);
        m_request.SetByte(11, block[1]);
    } else {
        // The partial values (sub-kind 117): the scanner, then the first and last beam.
        m_request.SetByte(9, block[0]);
        for (std::size_t i = 0; i < 4; ++i)
            m_request.SetByte(10 + i, block[2 + i]);
    }
    if (SendAction())
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

void RequestServer::DeviceStatus()
{
    if (SendAction() && ExpectAnswer(0xB1))
        FormatStatusReport(m_text, m_answer.Bytes(), m_state.family, *m_state.line);
}

void RequestServer::ErrorList()
{
    if (SendAction())
        ShowErrorList(m_request.Family());
}

void RequestServer::AcknowledgedErrorList()
{
    if (!SendAction() || !ExpectAnswer(0xB2))
        return;
    m_request.SetByte(RequestOffset::Data, 0);
    if (Send(kReadErrorList))
        ShowErrorList(kFamilyZOK);
}

void RequestServer::FieldRecord()
{
    m_request.SetByte(10, m_record.SubKind == kReadStoredField ? 0 : 1);
    // Only a field record can be shown; its time is shown whichever of the two was read.
    if (!SendAction() || !ExpectAnswer(0xC5))
        return;
    auto timeStamp = [this] {
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

void RequestServer::ContourExchange()
{
    if (!ParameterBlock())
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
    m_request.SetWord(10, WORD(count));
    for (std::size_t i = 0; i <= count; ++i) {
        const DWORD value = std::clamp<DWORD>(BlockLong(block, 16 + 4 * i), 5, 5000);
        for (std::size_t b = 0; b < 4; ++b)
            block[16 + 4 * i + b] = BYTE(value >> (8 * b));
        m_request.SetWord(12 + 2 * i, WORD(value | 0x8000));
    }
    if (!SendAction() || !ExpectAnswer(0xC3))
        return;
    if (Status() != 1)
        return Set(575);
    Set(574);
    Append(1701, {m_answer.Byte(10)});
    Append(548);
}

void RequestServer::TwoStep()
{
    // The sub-kinds with a dialog send the delay typed there.
    if (HasParameterDialog()) {
        const BYTE* block = ParameterBlock();
        if (!block)
            return Refuse();
        m_request.SetByte(10, block[0]);
    }
    if (SendAction())
        ShowStatus(m_request.Command() == kCheckValues ? kCheckStepTexts : kStoreStepTexts);
}

void RequestServer::AlignmentMode()
{
    if (m_record.SubKind == kAlignmentCodeSubKind) {
        const BYTE* block = ParameterBlock();
        if (!block)
            return Refuse();
        for (std::size_t i = 0; i < 8 && block[i]; ++i)
            m_request.SetByte(10 + i, block[i]);
    }
    if (!SendAction())
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

void RequestServer::AveragedValues()
{
    const BYTE* block = ParameterBlock();
    if (!block)
        return Refuse();
    m_request.SetByte(10, block[0]);
    if (!SendAction() || !ExpectAnswer(0xB6))
        return;
    Set(1583, {m_answer.Byte(10)});
    Append(IDS_VALUE_COUNT, {m_answer.Word(11)});
    FormatAveragedValues(m_text, m_answer.Bytes());
}

void RequestServer::StatusRequest()
{
    if (SendAction())
        ShowStatus(FindKind()->status);
}

bool RequestServer::ChooseDevice()
{
    // The dialog opens with the family in use; Cancel falls back to the default
    // device, address 0 of a KVR unit, for every request that follows.
    std::array<BYTE, kDeviceAddressBlockSize> block{};
    block[2] = m_state.family;
    const bool confirmed = RunInputDialog(m_parent, IDD_DEVICE_ADR, DeviceAdrDlgProc, block.data()) == 1;
    m_state.address = confirmed ? block[0] : 0;
    m_state.family = confirmed ? block[1] : kFamilyKVR;
    return confirmed;
}

void RequestServer::StatusReport()
{
    const BYTE address = m_state.address;
    // A KVR unit answers its identification at address 0 only.
    if (m_state.family == kFamilyKVR && address == 127)
        m_request.SetByte(RequestOffset::Address, 0);
    const bool identified = SendAction();
    m_request.SetByte(RequestOffset::Address, address);
    if (!identified || !ExpectAnswer(0xB1))
        return;
    m_text = StatusReportHead(m_answer.Bytes(), *m_state.line);
    if (m_state.family == kFamilyZOK) {
        const DWORD version = DeviceVersionNumber(RecordText(m_answer.Bytes(), 9, 8).c_str());
        const WORD minor = LOWORD(version);
        if (HIWORD(version) < 3 || !((minor >= 12 && minor <= 19) || (minor >= 21 && minor <= 99)))
            return Append(654);
    }
    m_request.SetByte(RequestOffset::Command, kReadErrorRing);
    const DWORD selector = m_state.family == kFamilyKVR ? 0x17F00 : 0xC634;
    for (std::size_t i = 0; i < 4; ++i)
        m_request.SetByte(9 + i, BYTE(selector >> (8 * i)));
    m_request.SetByte(13, 0x7A);
    if (Exchange() && ExpectAnswer(0xB4))
        FormatErrorRing(m_text, m_answer.Bytes(), m_state.family, *m_state.line);
}

} // namespace

extern "C" int DiagnoseRequest(HWND parent, DiagnoseRequestRecord* record)
{
    if (!record)
        return 0;
    return RequestServer(parent, *record).Serve();
}
