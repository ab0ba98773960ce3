#include "device/ZOKParameterFile.h"

#include "framework/core/CFile.h"
#include "model/CZOKParameters.h"

#include <array>

namespace {
constexpr std::size_t kScansAt = 6;
constexpr BYTE kLargestStoredScans = 0xFE; // 0xFF would read back as 0 scans

using FileBytes = std::array<BYTE, kZOKParameterFileSize>;
} // namespace

void WriteZOKParameterFile(CFile& file, const CZOKParameters& parameters)
{
    // 0 scans would be stored as 0xFF, which no reading accepts.
    if (parameters.GetByteAt(kScansAt) == 0)
        AfxThrowFileException(CFileException::genericException, -1, file.GetFilePath());
    FileBytes bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = parameters.GetByteAt(i);
    bytes[kScansAt] = BYTE(bytes[kScansAt] - 1);
    file.Write(bytes.data(), UINT(bytes.size()));
}

void ReadZOKParameterFile(CFile& file, CZOKParameters& parameters)
{
    // One byte more than a record, to see a file that goes on.
    std::array<BYTE, kZOKParameterFileSize + 1> bytes{};
    const UINT read = file.Read(bytes.data(), UINT(bytes.size()));
    if (read < kZOKParameterFileSize)
        AfxThrowFileException(CFileException::endOfFile, -1, file.GetFilePath());
    if (read > kZOKParameterFileSize || bytes[kScansAt] > kLargestStoredScans)
        AfxThrowFileException(CFileException::genericException, -1, file.GetFilePath());
    bytes[kScansAt] = BYTE(bytes[kScansAt] + 1);
    parameters.SetData(bytes.data(), kZOKParameterFileSize);
}
