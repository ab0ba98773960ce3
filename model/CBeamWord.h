#pragma once
// One beam of a contour: a distance in the low 13, 14 or 15 bits and flag bits above.
// The word does not know its resolution type; every operation is given it, and a
// type other than 13, 14 or 15 changes nothing and yields 0.
#include "framework/core/WinTypes.h"

class CBeamWord {
public:
    CBeamWord() = default;
    CBeamWord(WORD raw) : m_word(raw) {}

    WORD GetWord() const { return m_word; }
    operator WORD() const { return m_word; }

    static BOOL IsValidType(int type) { return type >= 13 && type <= 15; }
    // Bits of the distance under a type (0 for an unknown type).
    static WORD DistanceMask(int type);
    // Bits of the flags under a type (0 for an unknown type).
    static WORD FlagMask(int type);

    BOOL SetDistance(int type, WORD distance);
    WORD GetDistance(int type) const;

    BOOL SetFlag13(int type, BOOL on);
    BOOL GetFlag13(int type) const;
    BOOL SetFlag14(int type, BOOL on);
    BOOL GetFlag14(int type) const;
    BOOL SetFlag15(int type, BOOL on);
    BOOL GetFlag15(int type) const;

    BOOL SetAllFlags(int type, BOOL on);
    BOOL AreAllFlagsSet(int type) const;
    BOOL IsAnyFlagSet(int type) const;

    // The flag field as a number; bits above the type's flag width fall off the word.
    BOOL SetFlagBits(int type, BYTE bits);
    WORD GetFlagBits(int type) const;

    static CBeamWord Pack13(WORD distance, BOOL f13, BOOL f14, BOOL f15);
    static CBeamWord Pack14(WORD distance, BOOL f14, BOOL f15);
    static CBeamWord Pack15(WORD distance, BOOL f15);

    friend bool operator==(CBeamWord a, CBeamWord b) { return a.m_word == b.m_word; }

private:
    BOOL SetBit(int bit, BOOL on);
    BOOL GetBit(int bit) const { return (m_word >> bit) & 1; }

    WORD m_word = 0;
};
