#pragma once
// The 125 data bytes of a ZOK scanner's answer to the identification command, as received.
#include "model/CIdentityRecord.h"

class CZOKIdentity : public CIdentityRecord<125> {
public:
    // Identification and name cleared, bytes 8, 9 and 19 at 255, the rest 0.
    CZOKIdentity();

    // The version number of the firmware text in bytes 0 to 7 (ParseVersionNumber).
    DWORD GetFirmwareVersion() const;
    // The delay of word 21 in whole seconds by ScaleDelayWord.
    BYTE GetScaledValue() const;

    BYTE GetByte20() const { return GetByteAt(20); }
    // The delay of the mode/delay pair in 1/200 s.
    WORD GetWord21() const { return GetWordAt(21); }
    // Byte 25 holds the number of scans minus 1.
    int GetScanCount() const { return GetByteAt(25) + 1; }
    // Number of scans times 40 ms.
    int GetResponseTime() const { return GetScanCount() * 40; }
    WORD GetWord26() const { return GetWordAt(26); }
    BYTE GetByte28() const { return GetByteAt(28); }
    BYTE GetByte29() const { return GetByteAt(29); }
    // The sensor type's variant.
    BYTE GetByte30() const { return GetByteAt(30); }
    BYTE GetByte31() const { return GetByteAt(31); }
    WORD GetWord33(int i) const { return GetArrayWord(33, 8, i); }
    WORD GetWord49(int i) const { return GetArrayWord(49, 4, i); }
    WORD GetWord57() const { return GetWordAt(57); }
    WORD GetWord59() const { return GetWordAt(59); }
    WORD GetWord61() const { return GetWordAt(61); }
    WORD GetWord63() const { return GetWordAt(63); }
    WORD GetWord65() const { return GetWordAt(65); }
    WORD GetWord67() const { return GetWordAt(67); }
    WORD GetWord69() const { return GetWordAt(69); }
    WORD GetWord71() const { return GetWordAt(71); }
    WORD GetWord73() const { return GetWordAt(73); }
    WORD GetWord75() const { return GetWordAt(75); }
    WORD GetWord77() const { return GetWordAt(77); }
    WORD GetWord79() const { return GetWordAt(79); }
    WORD GetWord81() const { return GetWordAt(81); }
    WORD GetWord83(int i) const { return GetArrayWord(83, 5, i); }
    WORD GetWord93() const { return GetWordAt(93); }
    WORD GetWord95() const { return GetWordAt(95); }
    WORD GetWord97(int i) const { return GetArrayWord(97, 8, i); }
    WORD GetWord113(int i) const { return GetArrayWord(113, 4, i); }
    WORD GetWord121() const { return GetWordAt(121); }
    WORD GetWord123() const { return GetWordAt(123); }
};

// A delay word in 1/200 s as whole seconds: 0 gives 2, else the whole seconds held
// within 2 to 60.
BYTE ScaleDelayWord(WORD word);
