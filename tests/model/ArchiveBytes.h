#pragma once
// Runs one object's Serialize against bytes in memory.
#include "framework/core/CArchive.h"
#include "framework/core/CMemFile.h"

#include <vector>

inline std::vector<BYTE> StoreBytes(CObject& object)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        object.Serialize(ar);
        ar.Close();
    }
    return file.Detach();
}

inline void LoadBytes(CObject& object, const std::vector<BYTE>& bytes)
{
    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    object.Serialize(ar);
}

// The cause of the archive exception that loading these bytes raises; none when it loads.
inline int LoadFailure(CObject& object, const std::vector<BYTE>& bytes)
{
    try {
        LoadBytes(object, bytes);
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    return CArchiveException::none;
}
