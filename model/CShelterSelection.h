#pragma once
// A packed reference to a field, kept as the item data of the field selectors and stored
// in document files as one 32-bit value: byte 0 the index (field pair or field set), byte
// 1 the sub-index, byte 2 the field kind (1 or 2), byte 3 kept by every operation. 0xFF
// marks each of the first three as unset.
#include "framework/core/WinTypes.h"

class CShelterSelection {
public:
    static constexpr BYTE kUnset = 0xFF;

    // Index, sub-index and kind unset; byte 3 is 0, so that a stored value is always the same.
    CShelterSelection() = default;

    void Clear() { SetBytes(kUnset, kUnset, kUnset); }
    void SetValue(DWORD value) { m_dwValue = value; }
    DWORD GetValue() const { return m_dwValue; }
    void SetKind(int kind) { SetBytes(kUnset, kUnset, BYTE(kind)); }
    void SetIndex(int index) { SetBytes(BYTE(index), kUnset, kUnset); }
    void SetIndexKind(int index, int kind) { SetBytes(BYTE(index), kUnset, BYTE(kind)); }
    void SetIndexKindSub(int index, int kind, int sub) { SetBytes(BYTE(index), BYTE(sub), BYTE(kind)); }

    // Read as signed bytes: unset reads as -1.
    int GetIndex() const { return SignedByte(0); }
    int GetSubIndex() const { return SignedByte(1); }
    int GetKind() const { return SignedByte(2); }

private:
    void SetBytes(BYTE index, BYTE sub, BYTE kind)
    {
        m_dwValue = (m_dwValue & 0xFF000000u) | DWORD(kind) << 16 | DWORD(sub) << 8 | index;
    }
    int SignedByte(int n) const { return static_cast<signed char>((m_dwValue >> (8 * n)) & 0xFF); }

    DWORD m_dwValue = 0x00FFFFFF;
};
