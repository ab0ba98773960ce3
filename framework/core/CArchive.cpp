#include "framework/core/CArchive.h"

#include "framework/core/Codepage.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr WORD wNullTag = 0;
constexpr WORD wNewClassTag = 0xFFFF;
constexpr WORD wClassTag = 0x8000;
constexpr WORD wBigObjectTag = 0x7FFF;
constexpr DWORD dwBigClassTag = 0x80000000;
constexpr DWORD nMaxMapCount = 0x3FFFFFFE;
// Class names this long or longer are refused: no file holds them.
constexpr WORD nMaxClassNameLength = 64;
// Long strings and blocks are read in pieces of this size, so a damaged length can only
// cost as much memory as there are bytes behind it.
constexpr std::size_t kReadChunk = 64 * 1024;

constexpr std::size_t kMinBufferSize = 128;

// Strings are UTF-8 in memory and Windows-1252 in every archive.
std::string ToArchiveText(const CString& text) { return Utf8ToCp1252(text.str()); }
CString FromArchiveText(const std::string& bytes) { return CString(Cp1252ToUtf8(bytes)); }

template <typename T>
void PutLittleEndian(BYTE* out, T value)
{
    for (std::size_t i = 0; i < sizeof(T); ++i) out[i] = BYTE(value >> (8 * i));
}

template <typename T>
T GetLittleEndian(const BYTE* in)
{
    T value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) value = T(value | (T(in[i]) << (8 * i)));
    return value;
}

} // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize)
    : m_pFile(pFile), m_nMode(nMode), m_nBufSize(std::max<std::size_t>(kMinBufferSize, std::size_t(std::max(nBufSize, 0))))
{
    if (!pFile) AfxThrowInvalidArgException();
    m_strFileName = pFile->GetFilePath();
    m_buffer.reserve(m_nBufSize);
    if (IsLoading()) m_loadTable.emplace_back(); // slot 0: null
}

CArchive::~CArchive()
{
    if (m_pFile && !(m_nMode & bNoFlushOnDelete)) {
        try {
            Close();
        } catch (...) {
            // A destructor cannot report; callers who must know call Close themselves.
        }
    }
    Abort();
}

void CArchive::Fail(int cause) const { throw CArchiveException(cause, m_strFileName); }

void CArchive::RequireFile() const
{
    if (!m_pFile) Fail(CArchiveException::genericException);
}

void CArchive::RequireStoring() const
{
    RequireFile();
    if (!IsStoring()) Fail(CArchiveException::readOnly);
}

void CArchive::RequireLoading() const
{
    RequireFile();
    if (!IsLoading()) Fail(CArchiveException::writeOnly);
}

void CArchive::CheckCount() const
{
    if (m_nMapCount >= nMaxMapCount) Fail(CArchiveException::badIndex);
}

UINT CArchive::GetObjectSchema()
{
    const UINT schema = m_nObjectSchema;
    m_nObjectSchema = UINT(-1); // only the first call in a Serialize sees it
    return schema;
}

// ---- bytes -------------------------------------------------------------------------

void CArchive::FlushStoreBuffer()
{
    if (m_buffer.empty()) return;
    m_pFile->Write(m_buffer.data(), UINT(m_buffer.size()));
    m_buffer.clear();
}

void CArchive::WriteBytes(const void* data, std::size_t size)
{
    RequireStoring();
    const auto* in = static_cast<const BYTE*>(data);
    if (m_buffer.size() + size > m_nBufSize) FlushStoreBuffer();
    if (size >= m_nBufSize) {
        while (size > 0) {
            const UINT piece = UINT(std::min<std::size_t>(size, 0x40000000));
            m_pFile->Write(in, piece);
            in += piece;
            size -= piece;
        }
        return;
    }
    m_buffer.insert(m_buffer.end(), in, in + size);
}

std::size_t CArchive::ReadSome(void* data, std::size_t size)
{
    RequireLoading();
    auto* out = static_cast<BYTE*>(data);
    std::size_t done = 0;
    while (done < size) {
        if (Buffered() == 0) {
            m_buffer.resize(m_nBufSize);
            const UINT got = m_pFile->Read(m_buffer.data(), UINT(m_nBufSize));
            m_buffer.resize(got);
            m_bufferPos = 0;
            if (got == 0) break;
        }
        const std::size_t piece = std::min(size - done, Buffered());
        std::memcpy(out + done, m_buffer.data() + m_bufferPos, piece);
        m_bufferPos += piece;
        done += piece;
    }
    return done;
}

void CArchive::ReadExact(void* data, std::size_t size)
{
    if (ReadSome(data, size) != size) Fail(CArchiveException::endOfFile);
}

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    if (nMax == 0) return 0;
    return UINT(ReadSome(lpBuf, nMax));
}

void CArchive::Write(const void* lpBuf, UINT nMax)
{
    if (nMax == 0) return;
    WriteBytes(lpBuf, nMax);
}

void CArchive::Flush()
{
    RequireFile();
    if (IsStoring()) {
        FlushStoreBuffer();
        return;
    }
    const std::size_t unread = Buffered();
    m_buffer.clear();
    m_bufferPos = 0;
    if (unread > 0) m_pFile->Seek(-LONGLONG(unread), CFile::current);
}

void CArchive::Close()
{
    if (!m_pFile) return;
    Flush();
    m_pFile = nullptr;
}

void CArchive::Abort()
{
    m_pFile = nullptr;
    m_buffer.clear();
    m_bufferPos = 0;
}

// ---- values ------------------------------------------------------------------------

CArchive& CArchive::operator<<(BYTE by)
{
    WriteBytes(&by, 1);
    return *this;
}

CArchive& CArchive::operator<<(WORD w)
{
    BYTE bytes[2];
    PutLittleEndian(bytes, w);
    WriteBytes(bytes, sizeof bytes);
    return *this;
}

CArchive& CArchive::operator<<(short w) { return *this << WORD(w); }

CArchive& CArchive::operator<<(int l) { return *this << DWORD(l); }

CArchive& CArchive::operator<<(DWORD dw)
{
    BYTE bytes[4];
    PutLittleEndian(bytes, dw);
    WriteBytes(bytes, sizeof bytes);
    return *this;
}

CArchive& CArchive::operator<<(float f) { return *this << std::bit_cast<DWORD>(f); }

CArchive& CArchive::operator<<(double d)
{
    BYTE bytes[8];
    PutLittleEndian(bytes, std::bit_cast<ULONGLONG>(d));
    WriteBytes(bytes, sizeof bytes);
    return *this;
}

CArchive& CArchive::operator>>(BYTE& by)
{
    ReadExact(&by, 1);
    return *this;
}

CArchive& CArchive::operator>>(WORD& w)
{
    BYTE bytes[2];
    ReadExact(bytes, sizeof bytes);
    w = GetLittleEndian<WORD>(bytes);
    return *this;
}

CArchive& CArchive::operator>>(short& w)
{
    WORD raw = 0;
    *this >> raw;
    w = short(raw);
    return *this;
}

CArchive& CArchive::operator>>(int& l)
{
    DWORD raw = 0;
    *this >> raw;
    l = int(raw);
    return *this;
}

CArchive& CArchive::operator>>(DWORD& dw)
{
    BYTE bytes[4];
    ReadExact(bytes, sizeof bytes);
    dw = GetLittleEndian<DWORD>(bytes);
    return *this;
}

CArchive& CArchive::operator>>(float& f)
{
    DWORD raw = 0;
    *this >> raw;
    f = std::bit_cast<float>(raw);
    return *this;
}

CArchive& CArchive::operator>>(double& d)
{
    BYTE bytes[8];
    ReadExact(bytes, sizeof bytes);
    d = std::bit_cast<double>(GetLittleEndian<ULONGLONG>(bytes));
    return *this;
}

void CArchive::WriteCount(DWORD dwCount)
{
    if (dwCount < 0xFFFF) {
        *this << WORD(dwCount);
        return;
    }
    *this << WORD(0xFFFF) << dwCount;
}

DWORD CArchive::ReadCount()
{
    WORD wCount = 0;
    *this >> wCount;
    if (wCount != 0xFFFF) return wCount;
    DWORD dwCount = 0;
    *this >> dwCount;
    return dwCount;
}

// ---- strings -----------------------------------------------------------------------

CArchive& operator<<(CArchive& ar, const CString& string)
{
    const std::string bytes = ToArchiveText(string);
    const std::size_t length = bytes.size();
    if (length < 0xFF) {
        ar << BYTE(length);
    } else if (length < 0xFFFE) {
        ar << BYTE(0xFF) << WORD(length);
    } else {
        if (length > 0xFFFFFFFFu) AfxThrowNotSupportedException();
        ar << BYTE(0xFF) << WORD(0xFFFF) << DWORD(length);
    }
    ar.Write(bytes.data(), UINT(length));
    return ar;
}

CArchive& operator<<(CArchive& ar, const char* lpsz) { return ar << CString(lpsz); }

CArchive& operator>>(CArchive& ar, CString& string)
{
    BYTE byteLength = 0;
    ar >> byteLength;
    DWORD length = byteLength;
    if (byteLength == 0xFF) {
        WORD wordLength = 0;
        ar >> wordLength;
        length = wordLength;
        if (wordLength == 0xFFFF) ar >> length;
    }
    std::string bytes;
    bytes.reserve(std::min<std::size_t>(length, kReadChunk));
    std::size_t remaining = length;
    char chunk[4096];
    while (remaining > 0) {
        const UINT want = UINT(std::min(remaining, sizeof chunk));
        const UINT got = ar.Read(chunk, want);
        if (got != want) throw CArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
        bytes.append(chunk, got);
        remaining -= got;
    }
    string = FromArchiveText(bytes);
    return ar;
}

// ---- objects -----------------------------------------------------------------------

void CArchive::WriteClass(const CRuntimeClass* pClassRef)
{
    RequireStoring();
    if (!pClassRef || pClassRef->m_wSchema == 0xFFFF) AfxThrowNotSupportedException();

    const auto known = m_storedClasses.find(pClassRef);
    if (known != m_storedClasses.end()) {
        const DWORD nClassIndex = known->second;
        if (nClassIndex < wBigObjectTag)
            *this << WORD(wClassTag | nClassIndex);
        else
            *this << wBigObjectTag << DWORD(dwBigClassTag | nClassIndex);
        return;
    }

    const std::size_t nameLength = std::strlen(pClassRef->m_lpszClassName);
    *this << wNewClassTag << WORD(pClassRef->m_wSchema) << WORD(nameLength);
    Write(pClassRef->m_lpszClassName, UINT(nameLength));
    CheckCount();
    m_storedClasses.emplace(pClassRef, m_nMapCount++);
}

void CArchive::WriteObject(const CObject* pOb)
{
    RequireStoring();
    if (!pOb) {
        *this << wNullTag;
        return;
    }

    const auto known = m_storedObjects.find(pOb);
    if (known != m_storedObjects.end()) {
        const DWORD nObIndex = known->second;
        if (nObIndex < wBigObjectTag)
            *this << WORD(nObIndex);
        else
            *this << wBigObjectTag << nObIndex;
        return;
    }

    WriteClass(pOb->GetRuntimeClass());
    CheckCount();
    // Known before its data is written, so that it may refer to itself.
    m_storedObjects.emplace(pOb, m_nMapCount++);
    const_cast<CObject*>(pOb)->Serialize(*this);
}

const CRuntimeClass* CArchive::LoadNewClass(UINT& nSchema)
{
    WORD wSchema = 0;
    WORD nLength = 0;
    *this >> wSchema >> nLength;
    if (nLength >= nMaxClassNameLength) Fail(CArchiveException::badClass);
    char name[nMaxClassNameLength + 1] = {};
    ReadExact(name, nLength);
    name[nLength] = '\0';
    if (std::strlen(name) != nLength) Fail(CArchiveException::badClass);

    const CRuntimeClass* pClassRef = CRuntimeClass::FromName(name);
    if (!pClassRef || !pClassRef->IsSerializable()) Fail(CArchiveException::badClass);
    if (pClassRef->m_wSchema != wSchema) Fail(CArchiveException::badSchema);
    nSchema = wSchema;
    return pClassRef;
}

const CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag)
{
    RequireLoading();
    WORD wTag = 0;
    *this >> wTag;
    DWORD obTag = 0;
    if (wTag == wBigObjectTag)
        *this >> obTag;
    else
        obTag = (DWORD(wTag & wClassTag) << 16) | DWORD(wTag & ~wClassTag);

    if (!(obTag & dwBigClassTag)) {
        // A reference to an object, where the caller may accept one.
        if (!pObTag) Fail(CArchiveException::badIndex);
        *pObTag = obTag;
        return nullptr;
    }

    const CRuntimeClass* pClassRef = nullptr;
    UINT nSchema = 0;
    if (wTag == wNewClassTag) {
        pClassRef = LoadNewClass(nSchema);
        CheckCount();
        m_loadTable.push_back(LoadEntry{pClassRef, nSchema, nullptr, true});
        ++m_nMapCount;
    } else {
        const DWORD nClassIndex = obTag & ~dwBigClassTag;
        if (nClassIndex == 0 || nClassIndex >= m_loadTable.size() || !m_loadTable[nClassIndex].isClass)
            Fail(CArchiveException::badIndex);
        pClassRef = m_loadTable[nClassIndex].pClass;
        nSchema = m_loadTable[nClassIndex].nSchema;
    }

    if (pClassRefRequested && !pClassRef->IsDerivedFrom(pClassRefRequested)) Fail(CArchiveException::badClass);

    if (pSchema)
        *pSchema = nSchema;
    else
        m_nObjectSchema = nSchema;
    if (pObTag) *pObTag = obTag;
    return pClassRef;
}

CObject* CArchive::ReferencedObject(DWORD obTag, const CRuntimeClass* pClassRefRequested) const
{
    if (obTag >= m_loadTable.size() || m_loadTable[obTag].isClass) Fail(CArchiveException::badIndex);
    CObject* pOb = m_loadTable[obTag].pObject;
    if (obTag != wNullTag && !pOb) Fail(CArchiveException::badIndex); // an object whose reading failed
    if (pOb && pClassRefRequested && !pOb->IsKindOf(pClassRefRequested)) Fail(CArchiveException::badClass);
    return pOb;
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested)
{
    RequireLoading();
    UINT nSchema = 0;
    DWORD obTag = 0;
    const CRuntimeClass* pClassRef = ReadClass(pClassRefRequested, &nSchema, &obTag);
    if (!pClassRef) return ReferencedObject(obTag, pClassRefRequested);

    std::unique_ptr<CObject> pOb = pClassRef->CreateObject();
    if (!pOb) AfxThrowMemoryException();
    // Known before its data is read, so that it may be referred to from inside.
    CheckCount();
    const std::size_t slot = m_loadTable.size();
    m_loadTable.push_back(LoadEntry{pClassRef, nSchema, pOb.get(), false});
    ++m_nMapCount;

    const UINT nSchemaSave = m_nObjectSchema;
    m_nObjectSchema = nSchema;
    try {
        pOb->Serialize(*this);
    } catch (...) {
        m_loadTable[slot].pObject = nullptr;
        m_nObjectSchema = nSchemaSave;
        throw;
    }
    m_nObjectSchema = nSchemaSave;
    return pOb.release();
}

CArchive& operator<<(CArchive& ar, const CObject* pOb)
{
    ar.WriteObject(pOb);
    return ar;
}

CArchive& operator>>(CArchive& ar, CObject*& pOb)
{
    pOb = ar.ReadObject(nullptr);
    return ar;
}
