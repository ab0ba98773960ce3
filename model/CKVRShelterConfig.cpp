#include "model/CKVRShelterConfig.h"

#include "framework/core/CArchive.h"
#include "model/ArchiveOwnership.h"

IMPLEMENT_SERIAL(CKVRShelterConfig, CObject, 1)

namespace {

constexpr BYTE kVersion = 1;

std::unique_ptr<CShelter> CloneOf(const std::unique_ptr<CShelter>& field)
{
    return field ? field->CloneShelter() : nullptr;
}

} // namespace

CKVRShelterConfig::CKVRShelterConfig(const CKVRShelterConfig& other)
    : CObject(), m_pProtective(CloneOf(other.m_pProtective)), m_pWarning(CloneOf(other.m_pWarning))
{
}

CKVRShelterConfig& CKVRShelterConfig::operator=(const CKVRShelterConfig& other)
{
    if (&other == this) return *this;
    // Both clones first, so that a failing clone leaves this pair as it was.
    std::unique_ptr<CShelter> protective = CloneOf(other.m_pProtective);
    std::unique_ptr<CShelter> warning = CloneOf(other.m_pWarning);
    m_pProtective = std::move(protective);
    m_pWarning = std::move(warning);
    return *this;
}

std::unique_ptr<CShelter>* CKVRShelterConfig::Slot(int kind)
{
    if (kind == kProtectiveField) return &m_pProtective;
    if (kind == kWarningField) return &m_pWarning;
    return nullptr;
}

BOOL CKVRShelterConfig::SetShelter(int kind, std::unique_ptr<CShelter>&& field)
{
    std::unique_ptr<CShelter>* slot = Slot(kind);
    if (!slot) return FALSE;
    *slot = std::move(field);
    return TRUE;
}

CShelter* CKVRShelterConfig::GetShelter(int kind) const
{
    if (kind == kProtectiveField) return m_pProtective.get();
    if (kind == kWarningField) return m_pWarning.get();
    return nullptr;
}

std::unique_ptr<CShelter> CKVRShelterConfig::DetachShelter(int kind)
{
    std::unique_ptr<CShelter>* slot = Slot(kind);
    return slot ? std::move(*slot) : nullptr;
}

void CKVRShelterConfig::CopySensorTypeToFields(const CSensorType& type)
{
    if (m_pProtective) m_pProtective->ReplaceSensorType(type);
    if (m_pWarning) m_pWarning->ReplaceSensorType(type);
}

void CKVRShelterConfig::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << kVersion << static_cast<const CObject*>(m_pProtective.get())
           << static_cast<const CObject*>(m_pWarning.get());
        return;
    }
    BYTE version = 0;
    ar >> version;
    if (version != kVersion) AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    std::unique_ptr<CShelter> protective = ReadOwned<CShelter>(ar, RUNTIME_CLASS(CShelter));
    std::unique_ptr<CShelter> warning = ReadOwned<CShelter>(ar, RUNTIME_CLASS(CShelter));
    m_pProtective = std::move(protective);
    m_pWarning = std::move(warning);
}
