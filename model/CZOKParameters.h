#pragma once
// The 10-byte device-parameter record of a ZOK scanner, also the content of a parameter-set
// file: byte 0 value of command 0x65; 1 mode of the mode/delay pair; 2-3 its delay times
// 200 (little-endian); 4 value of 0x60/0x61; 5 value of 0x62; 6 number of scans; 7 value
// of 0x67 (compared with identification byte 29); 8 value of 0x66; 9 the variant.
#include "model/CIdentityRecord.h"

class CZOKIdentity;

class CZOKParameters : public CPackedRecord<10> {
public:
    // The defaults 1, 0, 400, 1, 0, 2, 0, 0, 0.
    CZOKParameters();

    // Every byte from the matching byte of a device's identification; the delay as its
    // whole seconds times 200, the number of scans as byte 25 plus 1.
    void SetFromIdentity(const CZOKIdentity& identity);
    // Bytes 2-3 := seconds times 200.
    void SetScaledValue(BYTE seconds);

    BYTE GetByte4() const { return GetByteAt(4); }
    BYTE GetByte5() const { return GetByteAt(5); }
    BYTE GetScans() const { return GetByteAt(6); }
    BYTE GetByte7() const { return GetByteAt(7); }
    // Number of scans times 40 ms.
    int GetResponseTime() const { return GetScans() * 40; }
};
