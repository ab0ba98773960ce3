// Feeds arbitrary text to the Intel HEX reader. A refused file keeps no records and names
// its error; an accepted one ends in its end record, holds no record larger than a
// download telegram, and written out again in Intel HEX reads back to the same records.
#include "FuzzCheck.h"

#include "driver/internal/IntelHexFile.h"

#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr BYTE kDataType = 0;
constexpr BYTE kEndType = 1;
constexpr BYTE kSegmentType = 2;
constexpr BYTE kLinearType = 4;
// Below this a segment base reaches every address with a 16-bit offset of at most 15.
constexpr DWORD kSegmentReach = 0x100000;

void AppendRecord(std::string& text, BYTE type, WORD address, const std::vector<BYTE>& data)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::vector<BYTE> bytes = {BYTE(data.size()), HIBYTE(address), LOBYTE(address), type};
    bytes.insert(bytes.end(), data.begin(), data.end());
    BYTE sum = 0;
    for (BYTE b : bytes)
        sum = BYTE(sum + b);
    bytes.push_back(BYTE(0x100 - sum));
    text += ':';
    for (BYTE b : bytes) {
        text += kDigits[b >> 4];
        text += kDigits[b & 0x0F];
    }
    text += '\n';
}

// Each record after a base record of its own, so that its offset stays small enough never
// to run past the base's 64 KiB; the end record keeps its address too.
std::string WriteIntelHex(const std::vector<IntelHexRecord>& records)
{
    std::string text;
    for (const IntelHexRecord& record : records) {
        const BYTE type = record.end ? kEndType : kDataType;
        if (record.address < kSegmentReach) {
            const WORD segment = WORD(record.address >> 4);
            AppendRecord(text, kSegmentType, 0, {HIBYTE(segment), LOBYTE(segment)});
            AppendRecord(text, type, WORD(record.address & 0x0F), record.data);
        } else {
            const WORD upper = HIWORD(record.address);
            AppendRecord(text, kLinearType, 0, {HIBYTE(upper), LOBYTE(upper)});
            AppendRecord(text, type, LOWORD(record.address), record.data);
        }
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    IntelHexFile file;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!file.ReadText(text)) {
        if (!file.Records().empty() || file.Error() == IntelHexError::None)
            FuzzFailure("a refused file kept records or named no error");
        return 0;
    }
    const std::vector<IntelHexRecord>& records = file.Records();
    if (records.empty() || !records.back().end)
        FuzzFailure("an accepted file does not end in its end record");
    for (const IntelHexRecord& record : records) {
        if (record.data.size() > IntelHexFile::kMaxDataBytes)
            FuzzFailure("a record larger than a download telegram was accepted");
    }
    IntelHexFile again;
    if (!again.ReadText(WriteIntelHex(records)) || again.Records() != records)
        FuzzFailure("the records written out again read back differently");
    return 0;
}
