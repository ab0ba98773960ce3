#pragma once
// The field, scan and contour commands as both families run them, on the records of
// FieldRecords.h. A family hands in a FieldLink for each command: how it addresses a
// request and checks the answer's echoes (a KVR unit names the field pair or the sensor in
// request byte 9, a ZOK scanner names none), how it reads the device type for the
// builders, and its FieldFamily traits. No command lets an exception out: a failure is null.
#include "device/FieldRecords.h"

#include <functional>
#include <memory>

class CScan;
class CSensor;

// Where the families' field commands part ways, as data.
struct FieldFamily {
    FieldAnswerLeads leads;
    int maxScanBeams;
    // A read warning field takes the device's time stamp.
    bool warningFieldTimed;
    // The contour exchange keeps the answer's status as the last status.
    bool contourKeepsStatus;
    // A field write's status survives the type query that follows it.
    bool writeStatusOutlivesTypeRead;
};

// A family's device object as one field command uses it.
struct FieldLink {
    CSensor& sensor;
    const FieldFamily& family;
    // A cleared request of the command, addressed as the family addresses it.
    std::function<SensorRequest(BYTE command)> makeRequest;
    // TRUE when the answer arrived with the answer code and the family's echoes.
    std::function<BOOL(SensorRequest& request, SensorAnswer& answer, BYTE answerCode)> exchange;
    // The device type the builders need.
    std::function<BOOL(CSensorType& type)> readType;
};

namespace FieldCommands {

// Field read (0x45): sub-code 0, the protective field by its shape; sub-code 1, the warning
// polygon (shape 3). The answer stays for the caller.
std::unique_ptr<CShelter> ReadProtectiveField(const FieldLink& link, SensorAnswer& answer);
std::unique_ptr<CPolyShelter> ReadWarningField(const FieldLink& link, SensorAnswer& answer);

// Field write (0x40) by shape, with the time; the device's copy of the field, or null for
// a field of none of the three shapes or a polygon of no or more than 361 beams (nothing
// sent) or any failed check. The status is kept as the last status once the answer came.
std::unique_ptr<CShelter> WriteField(const FieldLink& link, const CShelter* field);
std::unique_ptr<CPolyShelter> WritePolyField(const FieldLink& link, const CPolyShelter* field);
std::unique_ptr<CRectShelter> WriteRectField(const FieldLink& link, const CRectShelter* field);
std::unique_ptr<CArcShelter> WriteArcField(const FieldLink& link, const CArcShelter* field);

// Contour exchange (0x43) of a polygon of 1 to 361 beams: a copy of the polygon sent.
std::unique_ptr<CPolyShelter> ExchangeContour(const FieldLink& link, const CShelter* field);
std::unique_ptr<CPolyShelter> ExchangePolyContour(const FieldLink& link, const CPolyShelter* field);

// Measured scan (0x30) of 361 beams, or of 1 to 255; the answer stays for the caller.
std::unique_ptr<CScan> ReadScan(const FieldLink& link, int count, SensorAnswer& answer);
// Measured contour (0x30 with subCode) as a locked protective polygon.
std::unique_ptr<CPolyShelter> ReadContour(const FieldLink& link, BYTE subCode, BOOL protectiveInDevice);

} // namespace FieldCommands
