#include "driver/internal/IntelHexFile.h"

#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace {

enum RecordType : BYTE {
    DATA = 0,
    END_OF_FILE = 1,
    EXTENDED_SEGMENT = 2,
    START_SEGMENT = 3,
    EXTENDED_LINEAR = 4,
    START_LINEAR = 5,
};

// Count, address (2), type and checksum around the data.
constexpr std::size_t kRecordOverhead = 5;
// ':' and the digits of the longest record accepted, plus a CR.
constexpr std::size_t kMaxLineLength = 1 + 2 * (kRecordOverhead + IntelHexFile::kMaxDataBytes) + 1;
constexpr DWORD kSegmentSize = 0x10000;

std::optional<BYTE> HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return BYTE(c - '0');
    if (c >= 'A' && c <= 'F')
        return BYTE(c - 'A' + 10);
    if (c >= 'a' && c <= 'f')
        return BYTE(c - 'a' + 10);
    return std::nullopt;
}

// The digit pairs after the colon as bytes.
IntelHexError DecodeDigits(const std::vector<char>& line, std::vector<BYTE>& bytes)
{
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (!HexDigit(line[i]))
            return IntelHexError::BadCharacter;
    }
    const std::size_t digits = line.size() - 1;
    if (digits % 2 != 0 || digits < 2 * kRecordOverhead)
        return IntelHexError::BadLength;
    bytes.clear();
    for (std::size_t i = 1; i < line.size(); i += 2)
        bytes.push_back(BYTE(*HexDigit(line[i]) << 4 | *HexDigit(line[i + 1])));
    return IntelHexError::None;
}

bool ChecksumHolds(const std::vector<BYTE>& bytes)
{
    BYTE sum = 0;
    for (BYTE b : bytes)
        sum = BYTE(sum + b);
    return sum == 0;
}

} // namespace

BOOL IntelHexFile::Load(const char* path)
{
    if (!path || !*path)
        return Fail(IntelHexError::CannotRead, 0);
    std::ifstream input(path, std::ios::binary);
    if (!input)
        return Fail(IntelHexError::CannotRead, 0);
    return Read(input);
}

BOOL IntelHexFile::ReadText(std::string_view text)
{
    std::istringstream input{std::string(text)};
    return Read(input);
}

BOOL IntelHexFile::Read(std::istream& input)
{
    m_records.clear();
    m_base = 0;
    m_error = IntelHexError::None;
    m_errorLine = 0;
    std::vector<char> line;
    line.reserve(kMaxLineLength);
    for (std::size_t number = 1;; ++number) {
        if (input.peek() == std::char_traits<char>::eof())
            return Fail(input.bad() ? IntelHexError::CannotRead : IntelHexError::NoEndRecord, 0);
        if (IntelHexError error = ReadLine(input, line); error != IntelHexError::None)
            return Fail(error, number);
        LineResult result = LineResult::Next;
        if (IntelHexError error = TakeLine(line, result); error != IntelHexError::None)
            return Fail(error, number);
        if (result == LineResult::End)
            return TRUE;
    }
}

BOOL IntelHexFile::Fail(IntelHexError error, std::size_t line)
{
    m_records.clear();
    m_error = error;
    m_errorLine = line;
    return FALSE;
}

// One line without its LF and a CR before it; never more than the longest valid record.
IntelHexError IntelHexFile::ReadLine(std::istream& input, std::vector<char>& line) const
{
    line.clear();
    for (;;) {
        const int c = input.get();
        if (c == std::char_traits<char>::eof()) {
            if (input.bad())
                return IntelHexError::CannotRead;
            break;
        }
        if (c == '\n')
            break;
        if (line.size() == kMaxLineLength)
            return IntelHexError::BadLength;
        line.push_back(char(c));
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return IntelHexError::None;
}

IntelHexError IntelHexFile::TakeLine(const std::vector<char>& line, LineResult& result)
{
    if (line.empty() || line.front() != ':')
        return IntelHexError::NoColon;
    std::vector<BYTE> bytes;
    if (IntelHexError error = DecodeDigits(line, bytes); error != IntelHexError::None)
        return error;
    const std::size_t count = bytes[0];
    if (bytes.size() != count + kRecordOverhead || count > kMaxDataBytes)
        return IntelHexError::BadLength;
    if (!ChecksumHolds(bytes))
        return IntelHexError::BadChecksum;

    const DWORD offset = DWORD(bytes[1]) << 8 | bytes[2];
    const BYTE type = bytes[3];
    const auto data = bytes.begin() + 4;
    const auto value16 = [&] { return DWORD(data[0]) << 8 | data[1]; };
    switch (type) {
    case DATA:
        if (offset + count > kSegmentSize)
            return IntelHexError::BadAddress;
        m_records.push_back({false, m_base + offset, std::vector<BYTE>(data, data + std::ptrdiff_t(count))});
        return IntelHexError::None;
    case END_OF_FILE:
        if (count != 0)
            return IntelHexError::BadLength;
        m_records.push_back({true, m_base + offset, {}});
        result = LineResult::End;
        return IntelHexError::None;
    case EXTENDED_SEGMENT:
    case EXTENDED_LINEAR:
        if (count != 2)
            return IntelHexError::BadLength;
        if (offset != 0)
            return IntelHexError::BadAddress;
        m_base = type == EXTENDED_LINEAR ? value16() << 16 : value16() << 4;
        return IntelHexError::None;
    case START_SEGMENT:
    case START_LINEAR:
        // Where a program starts means nothing to a download.
        if (count != 4)
            return IntelHexError::BadLength;
        if (offset != 0)
            return IntelHexError::BadAddress;
        return IntelHexError::None;
    default:
        return IntelHexError::BadType;
    }
}
