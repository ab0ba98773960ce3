#pragma once
// What the archive fuzz targets share: objects to and from bytes in memory, and the check
// that an object which loaded stores bytes that load again into the same content.
#include "FuzzCheck.h"

#include "framework/core/CArchive.h"
#include "framework/core/CMemFile.h"
#include "tests/model/ArchiveBytes.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <span>
#include <vector>

inline std::vector<BYTE> StoreByPointer(const CObject* object)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar.WriteObject(object);
        ar.Close();
    }
    return file.Detach();
}

// Runs read on an archive over the bytes; the archive's exceptions pass on.
template <typename Read>
auto LoadFrom(std::span<const BYTE> bytes, Read read)
{
    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    return read(ar);
}

// A new object of the same class loaded from what the object stores, which must load.
inline std::unique_ptr<CObject> StoredAndLoaded(CObject& object, const std::vector<BYTE>& stored)
{
    std::unique_ptr<CObject> again = object.GetRuntimeClass()->CreateObject();
    if (!again)
        FuzzFailure("a stored class cannot be created by name");
    try {
        LoadBytes(*again, stored);
    } catch (const CException&) {
        FuzzFailure("what an object stored does not load again");
    }
    return again;
}

inline std::unique_ptr<CObject> StoredAndLoaded(CObject& object)
{
    return StoredAndLoaded(object, StoreBytes(object));
}

// Stores an object that was loaded, loads the bytes into a new object of its class and
// stores that: both must give the same bytes. Records kept only for reading older files
// store nothing and are not checked.
inline void CheckStoresStably(CObject& loaded)
{
    const std::vector<BYTE> stored = StoreBytes(loaded);
    if (stored.empty())
        return;
    const std::unique_ptr<CObject> again = StoredAndLoaded(loaded, stored);
    const std::vector<BYTE> restored = StoreBytes(*again);
    if (restored != stored) {
        const auto [first, second] = std::mismatch(stored.begin(), stored.end(), restored.begin(), restored.end());
        std::fprintf(stderr, "%s: %zu bytes stored, %zu after loading them; they differ from byte %td on\n",
                     loaded.GetRuntimeClass()->m_lpszClassName, stored.size(), restored.size(), first - stored.begin());
        FuzzFailure("what an object stored loads with other content");
    }
}
