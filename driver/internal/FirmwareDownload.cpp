#include "driver/internal/FirmwareDownload.h"

#include "driver/internal/DriverLastError.h"
#include "driver/internal/TelegramCrc.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr BYTE kCommandTestConnection = 0x10;
constexpr WORD kEnterDownloadLength = 5;
constexpr WORD kRecordLength = 134;
constexpr WORD kLength78 = 2;

namespace RecordTelegram {
constexpr std::size_t Kind = 9; // 0 data, 1 end
constexpr std::size_t Address = 10;
constexpr std::size_t Data = 14;
constexpr BYTE KindData = 0;
constexpr BYTE KindEnd = 1;
constexpr BYTE Unused = 0xFF; // erased flash: a defined value where the record has none
} // namespace RecordTelegram

void SetRecordDword(RequestSpan request, std::size_t offset, DWORD value)
{
    SetRecordWord(request, offset, LOWORD(value));
    SetRecordWord(request, offset + 2, HIWORD(value));
}

// The telegram length by command; the caller's for any other command.
WORD DownloadLength(ConstRequestSpan request)
{
    switch (request[RequestOffset::Command]) {
    case kCommandEnterDownload:
        return kEnterDownloadLength;
    case kCommandDownloadRecord:
        return kRecordLength;
    case kCommandDownload78:
        return kLength78;
    default:
        return GetRecordWord(request, RequestOffset::Length);
    }
}

void ForgetLastErrorText()
{
    char ignored[DRIVER_LAST_ERROR_SIZE];
    CopyAndClearLastErrorText(ignored, int(sizeof ignored));
}

} // namespace

DWORD DownloadBaudCode(DWORD configuredCode)
{
    switch (configuredCode) {
    case 9600:
    case 19200:
    case 38400:
        return 38400;
    case 2150:
    case 4301:
    case 8602:
    case 65312:
        return 8602;
    default:
        return 4302;
    }
}

UINT DownloadErrorTextId(IntelHexError error)
{
    switch (error) {
    case IntelHexError::NoColon:
        return IDS_DL_NO_COLON;
    case IntelHexError::BadCharacter:
        return IDS_DL_BAD_CHARACTER;
    case IntelHexError::BadLength:
        return IDS_DL_BAD_LENGTH;
    case IntelHexError::BadChecksum:
        return IDS_DL_BAD_CHECKSUM;
    case IntelHexError::BadType:
        return IDS_DL_BAD_TYPE;
    case IntelHexError::BadAddress:
        return IDS_DL_BAD_ADDRESS;
    case IntelHexError::NoEndRecord:
        return IDS_DL_NO_END_RECORD;
    case IntelHexError::None:
    case IntelHexError::CannotRead:
        break;
    }
    return IDS_DL_FILE_UNREADABLE;
}

std::size_t BuildDownloadFrame(ConstRequestSpan request, FrameSpan frame)
{
    const std::size_t length = GetRecordWord(request, RequestOffset::LengthCopy);
    const std::size_t dataCount = length - 1;
    if (length == 0 || length + kFrameOverhead >= kFrameBufferSize ||
        RequestOffset::Data + dataCount > request.size())
        return 0;
    frame[FrameOffset::Stx] = kSTX;
    frame[FrameOffset::Address] = request[RequestOffset::Address];
    frame[FrameOffset::Length] = request[RequestOffset::LengthCopy];
    frame[FrameOffset::Length + 1] = request[RequestOffset::LengthCopy + 1];
    frame[FrameOffset::Command] = request[RequestOffset::Command];
    std::copy_n(request.begin() + RequestOffset::Data, dataCount, frame.begin() + FrameOffset::Data);
    const std::size_t checked = FrameOffset::Data + dataCount;
    const WORD crc = ComputeTelegramCrc(std::span<const BYTE>(frame.data(), checked));
    frame[checked] = LOBYTE(crc);
    frame[checked + 1] = HIBYTE(crc);
    return checked + 2;
}

BOOL FirmwareDownload::SendTelegram(RequestSpan request)
{
    const WORD length = DownloadLength(request);
    SetRecordWord(request, RequestOffset::Length, length);
    SetRecordWord(request, RequestOffset::LengthCopy, length);
    FrameBuffer frame{};
    const std::size_t frameLength = GetRecordWord(request, RequestOffset::Marker) == kRequestMarker
                                        ? BuildDownloadFrame(request, frame)
                                        : 0;
    if (frameLength == 0) {
        SetLastErrorText(IDS_DL_BAD_TELEGRAM);
        return FALSE;
    }
    m_sensor.Port().ClearComPortBuffer();
    return m_sensor.TelegramManager::SendTelegram(frame.data(), DWORD(frameLength));
}

BOOL FirmwareDownload::SendHexFile(RequestSpan request, const char* path)
{
    IntelHexFile file;
    if (!file.Load(path)) {
        SetLastErrorText(DownloadErrorTextId(file.Error()));
        return FALSE;
    }
    std::fill(request.begin(), request.end(), BYTE(0));
    TestConnection(request);

    const DWORD configuredCode = m_sensor.SetupBaudrate();
    // An INI file that takes no code keeps the configured one, which is what the download
    // must leave there: that failure loses nothing and must not stand for the download's.
    const BOOL fileTookDownloadCode = m_sensor.SetBaudrate(DownloadBaudCode(configuredCode));
    if (!fileTookDownloadCode)
        ForgetLastErrorText();
    const BOOL sent = EnterDownloadMode(request) && SendRecords(request, file.Records());
    const std::string downloadReason = PeekLastErrorText();
    if (m_sensor.SetBaudrate(configuredCode))
        return sent;
    if (!fileTookDownloadCode) {
        PutBackLastErrorText(downloadReason.c_str());
        return sent;
    }
    return FALSE; // the file keeps the download's code: its reason is left
}

void FirmwareDownload::TestConnection(RequestSpan request)
{
    SetRecordWord(request, RequestOffset::Marker, kRequestMarker);
    request[RequestOffset::Address] = 0;
    request[RequestOffset::Family] = kFamilyKVR;
    request[RequestOffset::Command] = kCommandTestConnection;
    SensorAnswer answer;
    m_sensor.Telegram(request.data(), answer.data());
    // Its outcome does not matter; neither must the text a silence left.
    ForgetLastErrorText();
}

BOOL FirmwareDownload::EnterDownloadMode(RequestSpan request)
{
    request[RequestOffset::Command] = kCommandEnterDownload;
    std::copy(std::begin(kDownloadModeCode), std::end(kDownloadModeCode), request.begin() + RequestOffset::Data);
    for (int attempt = 0; attempt < kEnterDownloadAttempts; ++attempt) {
        if (SendTelegram(request)) {
            ForgetLastErrorText(); // of the attempts before, which no longer matter
            return TRUE;
        }
    }
    ExplainFailure(IDS_DL_MODE_REFUSED);
    return FALSE;
}

BOOL FirmwareDownload::SendRecords(RequestSpan request, const std::vector<IntelHexRecord>& records)
{
    request[RequestOffset::Command] = kCommandDownloadRecord;
    for (const IntelHexRecord& record : records) {
        request[RecordTelegram::Kind] = record.end ? RecordTelegram::KindEnd : RecordTelegram::KindData;
        SetRecordDword(request, RecordTelegram::Address, record.address);
        const auto dataArea = request.subspan(RecordTelegram::Data, IntelHexFile::kMaxDataBytes);
        const std::size_t count = std::min(record.data.size(), dataArea.size());
        std::copy_n(record.data.begin(), count, dataArea.begin());
        std::fill(dataArea.begin() + std::ptrdiff_t(count), dataArea.end(), RecordTelegram::Unused);
        if (!SendTelegram(request)) {
            ExplainFailure(IDS_DL_RECORD_REFUSED);
            return FALSE;
        }
    }
    return TRUE;
}

void FirmwareDownload::ExplainFailure(UINT stringId)
{
    if (!PeekLastErrorText() || !*PeekLastErrorText())
        SetLastErrorText(stringId);
}
