#pragma once
// A firmware file in Intel HEX form, read and checked as a whole before any of it goes to
// a device: a damaged file is refused, never sent in part.
//
// Each line is ":" and hex digit pairs: byte count n, 16-bit address, type, n data bytes
// and a checksum that makes all bytes of the record sum to 0. Lines end in LF or CR LF.
// Types: 0 data, 1 end of file, 2 extended segment address (base = value x 16),
// 3 start segment address (ignored), 4 extended linear address (base = value x 65536),
// 5 start linear address (ignored). Reading stops at the end record.
#include "framework/core/WinTypes.h"

#include <cstddef>
#include <istream>
#include <string_view>
#include <vector>

enum class IntelHexError {
    None,
    CannotRead,   // no path, the file cannot be opened, or reading failed
    NoColon,      // a line does not start with ':'
    BadCharacter, // a character that is not a hex digit
    BadLength,    // odd digit count, byte count against the line, more data than a
                  // download telegram holds, or a line longer than any valid record
    BadChecksum,
    BadType,      // a record type above 5
    BadAddress,   // data running past its 64 KiB segment, or an address record whose
                  // address field is not 0
    NoEndRecord,  // the file ends before its end record
};

// What goes to the device: data at an absolute address, or the end record.
struct IntelHexRecord {
    bool end = false;
    DWORD address = 0;
    std::vector<BYTE> data;

    bool operator==(const IntelHexRecord&) const = default;
};

class IntelHexFile {
public:
    // A download telegram carries at most this many data bytes.
    static constexpr std::size_t kMaxDataBytes = 128;

    // TRUE when the whole file up to its end record is sound; otherwise Error() and
    // ErrorLine() say why and where, and Records() is empty.
    BOOL Load(const char* path);
    BOOL Read(std::istream& input);
    BOOL ReadText(std::string_view text);

    IntelHexError Error() const { return m_error; }
    // 1-based; 0 when the failure belongs to no line.
    std::size_t ErrorLine() const { return m_errorLine; }
    // The data records and, last, the end record, with absolute addresses.
    const std::vector<IntelHexRecord>& Records() const { return m_records; }

private:
    enum class LineResult { Next, End };

    BOOL Fail(IntelHexError error, std::size_t line);
    IntelHexError ReadLine(std::istream& input, std::vector<char>& line) const;
    IntelHexError TakeLine(const std::vector<char>& line, LineResult& result);

    std::vector<IntelHexRecord> m_records;
    DWORD m_base = 0;
    IntelHexError m_error = IntelHexError::None;
    std::size_t m_errorLine = 0;
};
