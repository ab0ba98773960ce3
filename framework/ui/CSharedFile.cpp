#include "framework/ui/CSharedFile.h"

#include <set>
#include <vector>

IMPLEMENT_DYNAMIC(CSharedFile, CMemFile)

struct GlobalBlock {
    std::vector<BYTE> bytes;
    UINT flags = 0;
};

namespace {

std::set<GlobalBlock*>& LiveBlocks()
{
    static std::set<GlobalBlock*> blocks;
    return blocks;
}

bool Live(HGLOBAL hMem)
{
    return hMem != nullptr && LiveBlocks().count(hMem) != 0;
}

} // namespace

HGLOBAL GlobalAlloc(UINT uFlags, std::size_t dwBytes)
{
    auto* block = new GlobalBlock;
    block->bytes.assign(dwBytes, 0);
    block->flags = uFlags;
    LiveBlocks().insert(block);
    return block;
}

HGLOBAL GlobalFree(HGLOBAL hMem)
{
    if (!Live(hMem))
        return hMem;
    LiveBlocks().erase(hMem);
    delete hMem;
    return nullptr;
}

std::size_t GlobalSize(HGLOBAL hMem)
{
    return Live(hMem) ? hMem->bytes.size() : 0;
}

void* GlobalLock(HGLOBAL hMem)
{
    if (!Live(hMem))
        return nullptr;
    // A zero-size block still gives a usable, distinct address.
    if (hMem->bytes.empty())
        hMem->bytes.reserve(1);
    return hMem->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL hMem)
{
    (void)hMem; // no lock count: a block is usable whenever it lives
    return FALSE;
}

CSharedFile::CSharedFile(UINT nAllocFlags, UINT nGrowBytes)
    : CMemFile(nGrowBytes), m_nAllocFlags(nAllocFlags)
{
}

HGLOBAL CSharedFile::Detach()
{
    std::vector<BYTE> content = CMemFile::Detach();
    HGLOBAL block = GlobalAlloc(m_nAllocFlags, 0);
    block->bytes = std::move(content);
    return block;
}

void CSharedFile::SetHandle(HGLOBAL hGlobalMemory, BOOL bAllowGrow)
{
    const std::size_t size = GlobalSize(hGlobalMemory);
    const auto* data = static_cast<const BYTE*>(GlobalLock(hGlobalMemory));
    Attach(data, UINT(size), bAllowGrow ? 4096 : 0);
}
