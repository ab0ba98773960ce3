// Feeds arbitrary bytes to the readers of monitor-area files: the current form (a field by
// pointer) and the importers of the older field records. The first input byte picks the
// reader. A field that any of them delivers must store in the current form and load again
// to the same bytes.
#include "FuzzArchive.h"

#include "model/ArchiveOwnership.h"
#include "model/LegacyShelterImport.h"

#include <array>
#include <functional>

namespace {

using FieldReader = std::function<std::unique_ptr<CShelter>(CArchive&)>;

const std::array<FieldReader, 7> kReaders = {
    [](CArchive& ar) { return ReadOwned<CShelter>(ar, RUNTIME_CLASS(CShelter)); },
    [](CArchive& ar) { return ImportBShelter(ar, TRUE); },
    [](CArchive& ar) { return ImportCShelter(ar, TRUE); },
    [](CArchive& ar) { return ImportEditShelterWithTime(ar); },
    [](CArchive& ar) { return ImportEditShelter(ar); },
    [](CArchive& ar) { return ImportBShelter(ar, FALSE); },
    [](CArchive& ar) { return ImportCShelter(ar, FALSE); },
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::size_t reader = data[0] % kReaders.size();
    std::unique_ptr<CShelter> field;
    try {
        field = LoadFrom(std::span<const BYTE>(data + 1, size - 1), kReaders[reader]);
    } catch (const CException&) {
        return 0;
    }
    if (!field) {
        if (reader != 0) // the importers deliver a field or throw
            FuzzFailure("an importer returned no field without refusing the record");
        return 0;
    }
    CheckStoresStably(*field);
    const std::vector<BYTE> stored = StoreByPointer(field.get());
    try {
        if (!LoadFrom(stored, kReaders[0]))
            FuzzFailure("an imported field stores as no field");
    } catch (const CException&) {
        FuzzFailure("an imported field does not load in the current form");
    }
    return 0;
}
