// Feeds arbitrary file contents to the documents' open road. The first byte picks the
// family (even: ZOK, odd: KVR), the rest is the file. A refused file leaves the document
// without a configuration; an opened one stores, opens again and stores the same bytes.
#include "FuzzCheck.h"
#include "FuzzScratchFile.h"
#include "FuzzWindowLayer.h"

#include "app/CKVRDoc.h"
#include "app/CZOKDoc.h"
#include "framework/core/CArchive.h"
#include "framework/core/CException.h"
#include "framework/core/CMemFile.h"
#include "framework/ui/ScriptedUi.h"

#include <vector>

namespace {

// What the save road hands the archive, kept in memory.
template <class Doc>
std::vector<BYTE> Stored(Doc& doc)
{
    CMemFile file;
    try {
        CArchive ar(&file, CArchive::store);
        ar.m_pDocument = &doc;
        doc.Serialize(ar);
        ar.Close();
    } catch (const CException&) {
        FuzzFailure("an opened document cannot be stored");
    }
    return file.Detach();
}

template <class Doc>
void CheckOpenRoad(const FuzzScratchFile& file, const std::uint8_t* data, std::size_t size)
{
    file.Write(data, size);
    Doc doc;
    doc.m_bAutoDelete = FALSE;
    if (!doc.OnOpenDocument(file.Path())) {
        if (doc.GetConfiguration() != nullptr)
            FuzzFailure("a refused file left a configuration");
        return;
    }
    if (doc.GetConfiguration() == nullptr)
        FuzzFailure("an opened file has no configuration");
    const std::vector<BYTE> stored = Stored(doc);
    file.Write(stored.data(), stored.size());
    Doc again;
    again.m_bAutoDelete = FALSE;
    if (!again.OnOpenDocument(file.Path()))
        FuzzFailure("what an opened document stored does not open");
    if (Stored(again) != stored)
        FuzzFailure("a document opened again stores other bytes");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    static const FuzzScratchFile file("document");
    ScriptedUi ui; // a refusal's message box is answered, never waited for
    if (data[0] % 2 == 0)
        CheckOpenRoad<CZOKDoc>(file, data + 1, size - 1);
    else
        CheckOpenRoad<CKVRDoc>(file, data + 1, size - 1);
    return 0;
}
