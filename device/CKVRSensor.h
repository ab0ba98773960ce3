#pragma once
// The device object of a KVR interface unit: packs the unit's requests, checks its
// answers and turns them into the program's objects. Unit-wide commands (identity,
// configuration block, monitoring cases, case mask) live in CKVRSensor.cpp; fields,
// scans, contours and teach-in in KVRFieldCommands.cpp (the field, scan and contour
// commands run as both families run them, FieldCommands.h).
//
// No operation shows a message or lets an exception out: each returns TRUE or FALSE, or
// a new object owned by the caller or null. An answer counts only when it carries the
// expected answer code and echoes; commands with a status store it as the last status
// once code and echoes matched, also when the status is then refused.
#include "device/CSensor.h"
#include "device/SensorHelpers.h"
#include "framework/core/CString.h"
#include "model/CKVRIdentity.h"
#include "shared/KVRRecordLayout.h"

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <span>

class CArcShelter;
class CKVRConfig;
class CPolyShelter;
class CRectShelter;
class CScan;
class CSensorType;
class CShelter;
struct FieldLink;

// Fields and contours hold at most this many beams.
constexpr int kKVRMaxBeams = 361;

// The unit's configuration block and one monitoring-case record, byte for byte.
using KVRConfigBlock = std::array<BYTE, kKVRConfigBlockSize>;
using KVRCaseRecord = std::array<BYTE, kKVRCaseRecordSize>;

class CKVRSensor : public CSensor {
    DECLARE_DYNAMIC(CKVRSensor)
public:
    explicit CKVRSensor(int simulate = 0);

    BYTE GetAddress() override { return 0; }

    // Unit-wide commands.
    BOOL ReadIdentity(CKVRIdentity& identity);                 // 0x31
    BOOL ReadConfigBlock(KVRConfigBlock& block);               // 0x38
    BOOL CheckConfigBlock(KVRConfigBlock& block);              // 0x70: status 2, block replaced by the unit's copy
    BOOL CommitConfigBlock(const KVRConfigBlock& block);       // 0x71: status 1
    BOOL ReadCaseRecord(int number, KVRCaseRecord& record);    // 0x39, number 1-based
    BOOL CheckCaseRecord(KVRCaseRecord& record);               // 0x72: status 2, record replaced
    BOOL CommitCaseRecord(const KVRCaseRecord& record);        // 0x73: status 1
    BOOL WriteCaseMask(const WORD& mask);                      // 0x74: status not 0
    BOOL SendCommand66(BYTE value);                            // 0x66
    // The scanner type behind the unit with the block's variant; FALSE (no 0x38 sent)
    // unless the type query names a scanner of type 4, 7 or 50.
    BOOL ReadSensorType(CSensorType& type);

    // Fields of field pair n (1-based). The name receives the pair's name as the unit
    // sent it (up to 9 characters) when a field was built.
    std::unique_ptr<CShelter> ReadProtectiveField(int number, CString& name);
    std::unique_ptr<CPolyShelter> ReadWarningField(int number, CString& name);
    // Writes a protective field by its shape and returns the unit's copy of it; null for
    // a field that is none of the three shapes (nothing sent) or any failed check.
    std::unique_ptr<CShelter> WriteField(int number, const CString& name, const CShelter* field);
    std::unique_ptr<CPolyShelter> WritePolyField(int number, const CString& name, const CPolyShelter* field);
    std::unique_ptr<CRectShelter> WriteRectField(int number, const CString& name, const CRectShelter* field);
    std::unique_ptr<CArcShelter> WriteArcField(int number, const CString& name, const CArcShelter* field);
    // Sends a warning contour; the result is a copy of the polygon sent. Only polygons
    // of 1 to 361 beams are sent.
    std::unique_ptr<CPolyShelter> ExchangeContour(int number, const CShelter* field);
    std::unique_ptr<CPolyShelter> ExchangePolyContour(int number, const CPolyShelter* field);

    // Measured scans: count 361, or a count of 1 to 255 beams.
    std::unique_ptr<CScan> ReadScan(int sensor, int count);
    std::unique_ptr<CScan> ReadScanB(int sensor, int count);
    // Selector 1: the first active case, any other: the second; caseNumber receives the
    // number the unit names in its answer.
    std::unique_ptr<CScan> ReadScanWithStatus(int selector, int count, int& caseNumber);
    // Measured contours as locked protective polygons.
    std::unique_ptr<CPolyShelter> ReadScanContour(int number);
    std::unique_ptr<CPolyShelter> ReadScanContourLocked(int number);

    // The unit's pending field of pair n.
    BOOL DiscardPendingField(int selector, int number);
    BOOL PreviewPendingField(int selector, int number);
    BOOL StorePendingField(int selector, int number);
    // Contour teach-in for a sensor into field pair n.
    BOOL StartTeachIn(int sensor, int number, const CString& name);
    BOOL AcceptTeachIn(int sensor, int number, const CString& name);
    BOOL EndTeachIn(int sensor, int number, const CString& name);

    // Whole configurations (KVRConfigTransfer.cpp). Read and Check build a new
    // configuration owned by the caller, or null; Write and Commit return TRUE once every
    // step succeeded and stop at the first that fails. Check sends first steps only and
    // returns the unit's corrected copy; Commit sends second steps only.
    std::unique_ptr<CKVRConfig> ReadConfiguration();
    BOOL WriteConfiguration(const CKVRConfig& config, BOOL withFields);
    std::unique_ptr<CKVRConfig> CheckConfiguration(const CKVRConfig& config);
    BOOL CommitConfiguration(const CKVRConfig& config, BOOL withFields);

private:
    // Both two-step commands: the first step expects status 2, the second status 1.
    BOOL SendRecordStep(BYTE command, std::span<const BYTE> data, BYTE expectedStatus, SensorAnswer& answer);
    // The shared field commands addressed to a field pair or sensor: its number in request
    // byte 9, echoed at echoAt when the answer echoes it.
    FieldLink PairLink(BYTE number, std::optional<std::size_t> echoAt);
    // The same for a field write, which names the pair as well.
    FieldLink FieldWriteLink(int number, const CString& name);
    std::unique_ptr<CScan> ReadScanRequest(BYTE numberByte, int count, int* caseNumber);
    BOOL SendPendingRequest(BYTE subCode, int selector, int number, BYTE acceptedStatus);
    BOOL SendTeachIn(BYTE subCode, int sensor, int number, const CString& name, BYTE acceptedStatus);
};

// Blanks appended up to length (the NUL follows implicitly); returns the text.
CString& PadDeviceName(CString& text, int length);
// Leading blanks removed and the final run of blanks cut off; inner blanks stay.
CString& TrimDeviceName(CString& text);
// TRUE for the scanner types 4, 7 and 50 (the low byte is compared).
BOOL IsKVRTypeCode(int code);

// A device name into a 9-byte record field: at most 8 characters, blanks up to 8, a NUL.
void PutDeviceName(std::span<BYTE> field, const CString& name);
// The text of a name field up to its NUL, never beyond its 9 bytes.
CString GetDeviceName(std::span<const BYTE> field);
