#pragma once
// Packed device records kept exactly as the device sent them and read field by field.
// Fields sit at any offset without alignment; words are little-endian. Every read is
// bounded by the record: a field that does not lie wholly inside reads as 0 (text as
// empty), so an index from a caller can never reach beyond the record.
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"

#include <algorithm>
#include <array>
#include <cstddef>

template <std::size_t N>
class CPackedRecord {
public:
    static constexpr std::size_t kSize = N;

    // Takes the first N bytes; FALSE and nothing changed when fewer are given.
    BOOL SetData(const BYTE* data, std::size_t size)
    {
        if (!data || size < N) return FALSE;
        std::copy(data, data + N, m_bytes.begin());
        return TRUE;
    }
    const BYTE* GetData() const { return m_bytes.data(); }

    BYTE GetByteAt(std::size_t offset) const { return offset < N ? m_bytes[offset] : 0; }
    WORD GetWordAt(std::size_t offset) const
    {
        if (offset >= N || N - offset < 2) return 0;
        return WORD(m_bytes[offset] | m_bytes[offset + 1] << 8);
    }
    short GetShortAt(std::size_t offset) const { return short(GetWordAt(offset)); }
    // Word i of an array of count words that starts at offset; 0 for an index outside it.
    WORD GetArrayWord(std::size_t offset, std::size_t count, int i) const
    {
        return i >= 0 && std::size_t(i) < count ? GetWordAt(offset + 2 * std::size_t(i)) : 0;
    }
    // The characters from offset up to the first NUL, at most maxChars of them.
    CString GetTextAt(std::size_t offset, std::size_t maxChars) const
    {
        if (offset >= N) return CString();
        const std::size_t limit = std::min(maxChars, N - offset);
        std::size_t length = 0;
        while (length < limit && m_bytes[offset + length] != 0) ++length;
        return CString(reinterpret_cast<const char*>(m_bytes.data() + offset), int(length));
    }

protected:
    void SetByteAt(std::size_t offset, BYTE value)
    {
        if (offset < N) m_bytes[offset] = value;
    }

private:
    std::array<BYTE, N> m_bytes{};
};

// The part both identification answers share: an 8-character identification, bytes 8
// and 9, the device name in bytes 10 to 18, and bytes 19, 23, 24 and 32.
template <std::size_t N>
class CIdentityRecord : public CPackedRecord<N> {
public:
    static constexpr std::size_t kNameOffset = 10;
    static constexpr std::size_t kNameBytes = 9;

    // The identification text (firmware version digits of a scanner), up to 8 characters.
    CString GetIdentification() const { return this->GetTextAt(0, 8); }
    // The device name: up to 9 characters, ending at a NUL or at the end of its field.
    CString GetName() const { return this->GetTextAt(kNameOffset, kNameBytes); }
    BYTE GetByte8() const { return this->GetByteAt(8); }
    BYTE GetByte9() const { return this->GetByteAt(9); }
    BYTE GetByte19() const { return this->GetByteAt(19); }
    BYTE GetByte23() const { return this->GetByteAt(23); }
    BYTE GetByte24() const { return this->GetByteAt(24); }
    BYTE GetByte32() const { return this->GetByteAt(32); }

protected:
    // A new record: identification and name cleared, bytes 8 and 9 at 255.
    CIdentityRecord()
    {
        this->SetByteAt(8, 0xFF);
        this->SetByteAt(9, 0xFF);
    }
};
