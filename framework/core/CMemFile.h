#pragma once
// A file in memory that grows as it is written (geometrically, as std::vector does: the
// grow-by sizes callers give are hints only). Attach copies the given bytes in as the
// file's content; Detach hands the content out and leaves the file empty and closed.
#include "framework/core/CFile.h"

#include <vector>

class CMemFile : public CFile {
    DECLARE_DYNAMIC(CMemFile)
public:
    explicit CMemFile(UINT /*nGrowBytes*/ = 1024) {}
    CMemFile(const BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);

    void Attach(const BYTE* lpBuffer, UINT nBufferSize, UINT /*nGrowBytes*/ = 0);
    std::vector<BYTE> Detach();

    BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;
    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetLength() const override;
    ULONGLONG GetPosition() const override;
    void SetLength(ULONGLONG dwNewLen) override;
    void Flush() override {}
    void Close() override;
    void Abort() override;
    BOOL IsOpen() const override { return m_bOpen; }

private:
    void RequireOpenMemory() const;

    std::vector<BYTE> m_data;
    std::size_t m_position = 0;
    bool m_bOpen = true;
};
