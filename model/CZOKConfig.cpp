#include "model/CZOKConfig.h"

#include "framework/core/CArchive.h"
#include "model/ArchiveOwnership.h"
#include "model/LegacyShelterImport.h"

IMPLEMENT_SERIAL(CZOKConfig, CObject, 1)

namespace {

constexpr BYTE kVersion = 4;
// Version 3 kept the type's variant in a byte of its own after the options.
constexpr BYTE kVersionWithVariant = 3;
// Version 2 kept the fields as older field records, embedded without a class name.
constexpr BYTE kVersionLegacyFields = 2;
// Version 1 is version 2 without the sensor type: the scanner was always of type code 4.
constexpr BYTE kVersionWithoutType = 1;
constexpr UINT kOldTypeCode = 4;

constexpr UINT kProtectiveNameId = 1180;
constexpr UINT kWarningNameId = 1181;

std::unique_ptr<CShelter> CloneOf(const std::unique_ptr<CShelter>& field)
{
    return field ? field->CloneShelter() : nullptr;
}

CString LoadedString(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}

} // namespace

CZOKConfig::CZOKConfig()
    : m_strProtectiveName(LoadedString(kProtectiveNameId)), m_strWarningName(LoadedString(kWarningNameId))
{
}

CZOKConfig::CZOKConfig(const CZOKConfig& other) : CObject() { Copy(other); }

CZOKConfig& CZOKConfig::operator=(const CZOKConfig& other)
{
    Copy(other);
    return *this;
}

void CZOKConfig::Copy(const CZOKConfig& other)
{
    if (&other == this) return;
    // Both clones first, so that a failing clone leaves this configuration as it was.
    std::unique_ptr<CShelter> protective = CloneOf(other.m_pProtective);
    std::unique_ptr<CShelter> warning = CloneOf(other.m_pWarning);
    m_sensorType = other.m_sensorType;
    m_strProtectiveName = other.m_strProtectiveName;
    m_strWarningName = other.m_strWarningName;
    m_byOption1 = other.m_byOption1;
    m_byScanCount = other.m_byScanCount;
    m_byOption3 = other.m_byOption3;
    m_byOption4 = other.m_byOption4;
    m_byOption5 = other.m_byOption5;
    m_byOption6 = other.m_byOption6;
    m_modeDelay = other.m_modeDelay;
    m_pProtective = std::move(protective);
    m_pWarning = std::move(warning);
}

std::unique_ptr<CShelter>* CZOKConfig::Slot(int kind)
{
    if (kind == kProtectiveField) return &m_pProtective;
    if (kind == kWarningField) return &m_pWarning;
    return nullptr;
}

BOOL CZOKConfig::SetShelter(int kind, std::unique_ptr<CShelter>&& field)
{
    std::unique_ptr<CShelter>* slot = Slot(kind);
    if (!slot) return FALSE;
    *slot = std::move(field);
    return TRUE;
}

CShelter* CZOKConfig::GetShelter(int kind) const
{
    if (kind == kProtectiveField) return m_pProtective.get();
    if (kind == kWarningField) return m_pWarning.get();
    return nullptr;
}

std::unique_ptr<CShelter> CZOKConfig::DetachShelter(int kind)
{
    std::unique_ptr<CShelter>* slot = Slot(kind);
    return slot ? std::move(*slot) : nullptr;
}

void CZOKConfig::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring())
        Store(ar);
    else
        Load(ar);
}

// Version byte; sensor type; protective and warning field (by pointer, null allowed);
// the two names; option byte 1; mode and delay; number of scans and option bytes 3 to 6.
void CZOKConfig::Store(CArchive& ar)
{
    ar << kVersion;
    m_sensorType.Serialize(ar);
    ar << static_cast<const CObject*>(m_pProtective.get()) << static_cast<const CObject*>(m_pWarning.get());
    ar << m_strProtectiveName << m_strWarningName << m_byOption1;
    m_modeDelay.Serialize(ar);
    ar << m_byScanCount << m_byOption3 << m_byOption4 << m_byOption5 << m_byOption6;
}

// Version 4 as stored. Version 3: the fields to the options first, then the variant byte
// and the sensor type. Version 2: as version 3 with the fields as embedded older records.
// Version 1: as version 2 without the sensor type.
void CZOKConfig::Load(CArchive& ar)
{
    BYTE version = 0;
    ar >> version;
    if (version < kVersionWithoutType || version > kVersion)
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    if (version == kVersion) m_sensorType.Serialize(ar);
    std::unique_ptr<CShelter> protective;
    std::unique_ptr<CShelter> warning;
    if (version >= kVersionWithVariant) {
        protective = ReadOwned<CShelter>(ar, RUNTIME_CLASS(CShelter));
        warning = ReadOwned<CShelter>(ar, RUNTIME_CLASS(CShelter));
    } else {
        protective = ImportBShelter(ar, FALSE);
        warning = ImportCShelter(ar, FALSE);
        if (!protective || !warning) AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    }
    ar >> m_strProtectiveName >> m_strWarningName >> m_byOption1;
    m_modeDelay.Serialize(ar);
    ar >> m_byScanCount >> m_byOption3 >> m_byOption4 >> m_byOption5 >> m_byOption6;
    m_pProtective = std::move(protective);
    m_pWarning = std::move(warning);
    if (version == kVersion) return;

    BYTE variant = 0;
    ar >> variant;
    if (version == kVersionWithoutType)
        m_sensorType.SetType(kOldTypeCode, variant);
    else
        m_sensorType.Serialize(ar);
    // The variant byte decides, whatever variant the stored type held; the fields follow.
    m_sensorType.SetVariant(variant);
    if (m_pProtective) m_pProtective->ReplaceSensorType(m_sensorType);
    if (m_pWarning) m_pWarning->ReplaceSensorType(m_sensorType);
}
