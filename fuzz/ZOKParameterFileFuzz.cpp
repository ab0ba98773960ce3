// Feeds arbitrary file contents to the ZOK parameter-set reader. A refused file leaves the
// record as it was; an accepted one is written back byte for byte as it was read.
#include "FuzzCheck.h"

#include "device/ZOKParameterFile.h"
#include "framework/core/CException.h"
#include "framework/core/CMemFile.h"
#include "model/CZOKParameters.h"

#include <vector>

namespace {

std::vector<BYTE> RecordBytes(const CZOKParameters& parameters)
{
    std::vector<BYTE> bytes(kZOKParameterFileSize);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = parameters.GetByteAt(i);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CZOKParameters parameters;
    const std::vector<BYTE> defaults = RecordBytes(parameters);
    CMemFile in(data, UINT(size));
    try {
        ReadZOKParameterFile(in, parameters);
    } catch (const CFileException&) {
        if (RecordBytes(parameters) != defaults)
            FuzzFailure("a refused parameter file changed the record");
        return 0;
    }
    CMemFile out;
    try {
        WriteZOKParameterFile(out, parameters);
    } catch (const CFileException&) {
        FuzzFailure("a parameter record that was read cannot be written");
    }
    if (out.Detach() != std::vector<BYTE>(data, data + size))
        FuzzFailure("a parameter record is written back otherwise than it was read");
    return 0;
}
