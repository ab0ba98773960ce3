#pragma once
// Loading new firmware into a device: the download telegrams (0x0B enter download mode,
// 0x0C one record of the firmware file, 0x78) and the whole download of an Intel HEX
// file, during which the port runs at a download baud rate.
//
// Download telegrams are packed unchanged (L - 1 record bytes from byte 9) and count as
// answered by any whole frame with a correct checksum: the devices' answers to them are
// not examined.
#include "driver/internal/IntelHexFile.h"
#include "driver/internal/SensorHandle.h"

// Last-error texts of the download.
enum : UINT {
    IDS_DL_FILE_UNREADABLE = 2550,
    IDS_DL_NO_COLON = 2551,
    IDS_DL_BAD_CHARACTER = 2552,
    IDS_DL_BAD_LENGTH = 2553,
    IDS_DL_BAD_CHECKSUM = 2554,
    IDS_DL_BAD_TYPE = 2555,
    IDS_DL_BAD_ADDRESS = 2556,
    IDS_DL_NO_END_RECORD = 2557,
    IDS_DL_MODE_REFUSED = 2558,   // the device did not enter download mode
    IDS_DL_RECORD_REFUSED = 2559, // a record of the file was not taken
    IDS_DL_BAD_TELEGRAM = 2560,   // a download telegram that cannot be sent
};

constexpr BYTE kCommandEnterDownload = 0x0B;
constexpr BYTE kCommandDownloadRecord = 0x0C;
constexpr BYTE kCommandDownload78 = 0x78;

// The mode code sent with 0x0B: a digit, two upper-case letters, a lower-case letter.
constexpr char kDownloadModeCode[4] = {'1', 'F', 'W', 'd'};
// How often 0x0B is sent before the download gives up.
constexpr int kEnterDownloadAttempts = 20;

// The baud code of the download for the configured one: 38400 on a standard rate, 8602
// on a fast adapter's rate, else 4302.
DWORD DownloadBaudCode(DWORD configuredCode);
// The last-error text of a file that cannot be downloaded.
UINT DownloadErrorTextId(IntelHexError error);

// Packs a download telegram whose length is in bytes 6-7 into frame; the frame's size, or
// 0 when the length is 0, the data would run past the record, or the frame past 780.
std::size_t BuildDownloadFrame(ConstRequestSpan request, FrameSpan frame);

class FirmwareDownload {
public:
    explicit FirmwareDownload(SensorHandle& sensor) : m_sensor(sensor) {}

    // One download telegram. Its length by command: 0x0B 5, 0x0C 134, 0x78 2, any other
    // the caller's (bytes 3-4); written to bytes 3-4 and 6-7. Refused (0, text
    // IDS_DL_BAD_TELEGRAM, nothing sent) for a marker other than 752 or a length that
    // does not fit. Otherwise the port is purged and the frame sent up to RepeatCounter
    // times until a whole checksum-correct frame comes back.
    BOOL SendTelegram(RequestSpan request);

    // The whole download with request as work space. The file is read and checked first;
    // a damaged one is refused with its text before anything is sent. Then: 0x10 to the
    // unit (outcome ignored), the download baud code, 0x0B up to 20 times, every data
    // record as 0x0C (byte 9 = 0, address at 10-13, data from 14, the rest of the 128-byte
    // data area 0xFF), the end record as 0x0C with byte 9 = 1. The configured baud code
    // is set again in every case. 1 only when every telegram was answered and the INI file
    // was not left with the download's code.
    BOOL SendHexFile(RequestSpan request, const char* path);

private:
    BOOL EnterDownloadMode(RequestSpan request);
    BOOL SendRecords(RequestSpan request, const std::vector<IntelHexRecord>& records);
    void TestConnection(RequestSpan request);
    // A failure whose exchange left no text of its own gets stringId.
    static void ExplainFailure(UINT stringId);

    SensorHandle& m_sensor;
};
