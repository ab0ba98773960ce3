#pragma once
// Movable global memory blocks (the clipboard's currency) and a memory file over them.
#include "framework/core/CMemFile.h"
#include "framework/ui/UiDefs.h"

struct GlobalBlock;
using HGLOBAL = GlobalBlock*;

constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_DDESHARE = 0x2000;

// A block of dwBytes bytes (zeroed), or nullptr. Whoever holds the handle frees it,
// unless it was handed to the clipboard.
HGLOBAL GlobalAlloc(UINT uFlags, std::size_t dwBytes);
HGLOBAL GlobalFree(HGLOBAL hMem); // nullptr on success
std::size_t GlobalSize(HGLOBAL hMem);
void* GlobalLock(HGLOBAL hMem);
BOOL GlobalUnlock(HGLOBAL hMem);

class CSharedFile : public CMemFile {
    DECLARE_DYNAMIC(CSharedFile)
public:
    explicit CSharedFile(UINT nAllocFlags = GMEM_DDESHARE | GMEM_MOVEABLE, UINT nGrowBytes = 4096);

    // The content as a new block the caller owns; the file is left empty.
    HGLOBAL Detach();
    // The block's bytes become the file's content (the block stays the caller's).
    void SetHandle(HGLOBAL hGlobalMemory, BOOL bAllowGrow = TRUE);

private:
    UINT m_nAllocFlags;
};
