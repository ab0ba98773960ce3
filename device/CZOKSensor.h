#pragma once
// The device object of a ZOK scanner: packs the scanner's requests, checks its answers and
// turns them into the program's objects. Identification and the parameter commands live in
// CZOKSensor.cpp; fields, scans, contours and teach-in in ZOKFieldCommands.cpp (the field,
// scan and contour commands run as both families run them, FieldCommands.h); the
// whole-configuration transfers in ZOKConfigTransfer.cpp.
//
// No operation shows a message or lets an exception out: each returns TRUE or FALSE, or a
// new object owned by the caller or null. An answer counts only when the exchange
// succeeded and it carries the expected answer code; then its status (byte 9) and, where
// a command has one, its echo (byte 10) are compared. Only the field writes and the
// pending-field preview keep the status as the session's last status.
//
// Two-step commands come in three forms: Write sends both steps (the second only when the
// first was accepted), Check the first step alone and hands back the scanner's values,
// Commit the second step alone.
#include "device/CSensor.h"
#include "device/SensorHelpers.h"
#include "model/CZOKIdentity.h"

#include <memory>

class CArcShelter;
class CPolyShelter;
class CRectShelter;
class CScan;
class CSensorType;
class CShelter;
class CZOKConfig;
struct FieldLink;

// Fields and measured contours hold at most this many beams.
constexpr int kZOKMaxBeams = 361;

struct ZOKValuePair;

class CZOKSensor : public CSensor {
    DECLARE_DYNAMIC(CZOKSensor)
public:
    explicit CZOKSensor(int simulate = 0);

    BYTE GetAddress() override { return 0; }

    // Identification (0x31) with the firmware fix-up: outside the firmware window bytes
    // 30, 31 and 32 read 0, 1, 1 whatever the scanner sent.
    BOOL ReadIdentity(CZOKIdentity& identity);
    // The same for the scanner with a device number (behind an interface unit).
    BOOL ReadIdentityAt(CZOKIdentity& identity, BYTE device);
    // The device's type code with the variant of identification byte 30; FALSE (and no
    // identification sent) unless the type is 4, 7 or 50.
    BOOL ReadSensorType(CSensorType& type);

    // Single values: status 1 and the value echoed.
    BOOL SendCommand62(BYTE value);
    BOOL SendCommand65(BYTE value);
    BOOL SendCommand66(BYTE value);
    BOOL SendCommand67(BYTE value);
    BOOL SendCommand50();
    BOOL SendCommand50At(BYTE device);
    BOOL SendCommand77(BYTE value, BYTE device);

    // Mode/delay pair: 0x44 (first step), 0x47 (second step).
    BOOL WriteCommand44(BYTE mode, BYTE delay);
    BOOL CheckCommand44(BYTE& mode, BYTE& delay);
    BOOL CommitCommand47(BYTE mode, BYTE delay);
    // 0x60 / 0x61.
    BOOL WriteCommand60(BYTE value);
    BOOL CheckCommand60(BYTE& value);
    BOOL CommitCommand61(BYTE value);
    // 0x63 / 0x64, the number of scans: the first step may correct the value, so its echo
    // is not compared; Write commits the caller's own value.
    BOOL WriteCommand63(BYTE value);
    BOOL CheckCommand63(BYTE& value);
    BOOL CommitCommand64(BYTE value);
    // 0x69 / 0x6A, the type variant (only scanners inside the firmware window know it).
    BOOL WriteCommand69(BYTE value);
    BOOL CheckCommand69(BYTE& value);
    BOOL CommitCommand6A(BYTE value);

    // The scanner's fields (0x45) as new objects with the device type, kind, device
    // flags and the scanner's time stamp. The protective field is a rectangle, an arc,
    // a polygon or a locked contour of 361 beams; the warning field is a polygon.
    std::unique_ptr<CShelter> ReadProtectiveField();
    std::unique_ptr<CPolyShelter> ReadWarningField();
    // Writes a protective field by its shape (0x40) and returns the scanner's copy of it;
    // null for a field that is none of the three shapes (nothing sent), a polygon of no
    // or more than 361 beams (nothing sent) or any failed check. The answer's status is
    // kept as the last status once the answer code matched.
    std::unique_ptr<CShelter> WriteField(const CShelter* field);
    std::unique_ptr<CPolyShelter> WritePolyField(const CPolyShelter* field);
    std::unique_ptr<CRectShelter> WriteRectField(const CRectShelter* field);
    std::unique_ptr<CArcShelter> WriteArcField(const CArcShelter* field);
    // Sends a polygon contour (0x43); the result is a copy of the polygon sent.
    std::unique_ptr<CPolyShelter> ExchangeContour(const CShelter* field);
    std::unique_ptr<CPolyShelter> ExchangePolyContour(const CPolyShelter* field);

    // A measured scan (0x30) of 361 beams, or of a count of 1 to 255 beams.
    std::unique_ptr<CScan> ReadScan(int count);
    // The measured contour as a locked protective polygon; the Locked form marks it as
    // the scanner's protective field as well.
    std::unique_ptr<CPolyShelter> ReadScanContour();
    std::unique_ptr<CPolyShelter> ReadScanContourLocked();

    // The scanner's pending field (0x41). The preview keeps the status as the last
    // status and is TRUE when it is 3.
    BOOL DiscardPendingField();
    BOOL PreviewPendingField();
    BOOL StorePendingField();
    // Follows a field write: answered with 0xC0, status 1 or 2.
    BOOL SendCommand41Sub3();
    // Contour teach-in (0x46).
    BOOL StartTeachIn();
    BOOL AcceptTeachIn();
    BOOL EndTeachIn();

    // The whole configuration: type, identification values and both fields; null on any
    // failure (nothing half-built is handed out).
    std::unique_ptr<CZOKConfig> ReadConfiguration();
    // Both steps of every value the configuration carries (not the fields). FALSE at the
    // first failed step, with the steps before it already stored by the scanner; FALSE as
    // well when the identification cannot be read, since the variant would go unwritten.
    BOOL WriteConfiguration(const CZOKConfig& config);
    // The first steps only: a copy of the configuration with the scanner's corrections,
    // or null. Without an identification only the variant step is left out.
    // CommitConfiguration with the same values must follow.
    std::unique_ptr<CZOKConfig> CheckConfiguration(const CZOKConfig& config);
    // The second steps only; fails like WriteConfiguration.
    BOOL CommitConfiguration(const CZOKConfig& config);

private:
    BOOL ReadIdentityFrom(CZOKIdentity& identity, BYTE address);
    // A request with one value byte, answered with status 1 and the value echoed.
    BOOL SendSingleValue(BYTE command, BYTE answerCode, BYTE value, BYTE address);
    // One step of a pair: status as given and, when compareEcho, the value echoed. The
    // answer stays for the Check forms.
    BOOL SendPairStep(BYTE command, BYTE answerCode, BYTE value, BYTE status, BOOL compareEcho, SensorAnswer& answer);
    // The steps of a value set in two steps (see ZOKValuePair).
    BOOL WritePair(const ZOKValuePair& pair, BYTE value);
    BOOL CheckPair(const ZOKValuePair& pair, BYTE& value);
    BOOL CommitPair(const ZOKValuePair& pair, BYTE value);
    BOOL SendModeDelayStep(BYTE command, BYTE mode, BYTE delay, SensorAnswer& answer);
    // The shared field commands as the scanner takes them: no number in the request.
    FieldLink ScannerLink();
    BOOL SendPendingRequest(BYTE subCode, BYTE answerCode, SensorAnswer& answer);
    BOOL SendTeachIn(BYTE subCode, BYTE acceptedStatus);
};

// TRUE for the scanner types 4, 7 and 50 (the low byte is compared).
BOOL IsZOKTypeCode(int code);
// TRUE for the firmware versions that know the variant commands and send identification
// bytes 30 to 32: above 3.05 and below 4.00, or above 4.05 and below 16.00.
BOOL IsInFirmwareWindow(DWORD version);
