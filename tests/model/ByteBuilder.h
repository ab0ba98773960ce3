#pragma once
// Builds archive bytes by hand, field by field (little-endian), for records that the
// program only reads.
#include "framework/core/WinTypes.h"

#include <initializer_list>
#include <string>
#include <vector>

class ByteBuilder {
public:
    ByteBuilder& Byte(BYTE value)
    {
        m_bytes.push_back(value);
        return *this;
    }
    ByteBuilder& Word(WORD value) { return Byte(BYTE(value & 0xFF)).Byte(BYTE(value >> 8)); }
    ByteBuilder& Words(std::initializer_list<WORD> values)
    {
        for (WORD value : values) Word(value);
        return *this;
    }
    ByteBuilder& Dword(DWORD value) { return Word(WORD(value & 0xFFFF)).Word(WORD(value >> 16)); }
    ByteBuilder& Long(LONG value) { return Dword(DWORD(value)); }
    // A string with its one-byte length prefix.
    ByteBuilder& String(const std::string& text)
    {
        Byte(BYTE(text.size()));
        for (char c : text) Byte(BYTE(c));
        return *this;
    }
    // The head of an object whose class the archive meets for the first time.
    ByteBuilder& NewClass(const std::string& name, WORD schema)
    {
        Word(0xFFFF).Word(schema).Word(WORD(name.size()));
        for (char c : name) Byte(BYTE(c));
        return *this;
    }
    ByteBuilder& Append(const std::vector<BYTE>& bytes)
    {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
        return *this;
    }
    const std::vector<BYTE>& Bytes() const { return m_bytes; }

private:
    std::vector<BYTE> m_bytes;
};
