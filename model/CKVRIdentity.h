#pragma once
// The 33 data bytes of a KVR unit's answer to the identification command, as received.
#include "model/CIdentityRecord.h"

class CKVRIdentity : public CIdentityRecord<33> {
public:
    // Identification and name cleared, bytes 8 and 9 at 255, the rest 0.
    CKVRIdentity() = default;

    WORD GetWord20() const { return GetWordAt(20); }
    BYTE GetByte22() const { return GetByteAt(22); }
    BYTE GetLowNibble25() const { return GetByteAt(25) & 0x0F; }
    BYTE GetHighNibble25() const { return GetByteAt(25) >> 4; }
    BOOL GetBit26() const { return Bit(26, 0); }
    BOOL GetBit26_1() const { return Bit(26, 1); }
    BOOL GetBit26_2() const { return Bit(26, 2); }
    BOOL GetBit26_3() const { return Bit(26, 3); }
    BOOL GetBit27() const { return Bit(27, 0); }
    BOOL GetBit27_1() const { return Bit(27, 1); }
    BOOL GetBit27_2() const { return Bit(27, 2); }
    BOOL GetBit27_3() const { return Bit(27, 3); }
    // Signed words.
    short GetWord28() const { return GetShortAt(28); }
    short GetWord30() const { return GetShortAt(30); }

private:
    BOOL Bit(std::size_t offset, int bit) const { return (GetByteAt(offset) >> bit) & 1; }
};
