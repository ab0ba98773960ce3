#include "model/CKVRConfig.h"

#include "framework/core/CArchive.h"
#include "model/ConfigLimits.h"

#include <algorithm>

IMPLEMENT_SERIAL(CKVRConfig, CObject, 1)

namespace {

constexpr BYTE kVersion = 2;
// Version 1 also stored the sensor type's variant, between value V2 and device bit V3.
constexpr BYTE kVersionWithVariant = 1;

template <class T>
T* ItemOf(const CKVRConfigList& list, int n)
{
    return dynamic_cast<T*>(list.GetObject(n));
}

template <class T>
void CopyItems(const CKVRConfigList& source, CKVRConfigList& target)
{
    for (int n = 0; n < source.GetCount(); ++n) {
        const T* pItem = ItemOf<T>(source, n);
        target.Add(source.GetName(n), pItem ? std::make_unique<T>(*pItem) : nullptr);
    }
}

// An index that refers to a removed position: -1 for the position itself, one less above it.
int IndexAfterRemoval(int index, int removed)
{
    if (index == removed) return -1;
    return index > removed ? index - 1 : index;
}

UINT ReadWord(CArchive& ar)
{
    WORD value = 0;
    ar >> value;
    return value;
}

} // namespace

CKVRConfig::CKVRConfig()
    : m_sensorList(RUNTIME_CLASS(CKVRSensorConfig)),
      m_shelterList(RUNTIME_CLASS(CKVRShelterConfig)),
      m_controlList(RUNTIME_CLASS(CKVRControlConfig))
{
}

CKVRConfig::CKVRConfig(const CKVRConfig& other) : CKVRConfig() { Copy(other); }

CKVRConfig& CKVRConfig::operator=(const CKVRConfig& other)
{
    Copy(other);
    return *this;
}

void CKVRConfig::Copy(const CKVRConfig& other)
{
    if (&other == this) return;
    m_sensorType = other.m_sensorType;
    m_byUsedFlags = other.m_byUsedFlags;
    m_byOssdA = other.m_byOssdA;
    m_byOssdB = other.m_byOssdB;
    m_nSpeedScale1 = other.m_nSpeedScale1;
    m_nSpeedScale2 = other.m_nSpeedScale2;
    m_nValueV1 = other.m_nValueV1;
    m_byValueV2 = other.m_byValueV2;
    m_byDeviceBitV3 = other.m_byDeviceBitV3;
    m_modeDelay1 = other.m_modeDelay1;
    m_modeDelay2 = other.m_modeDelay2;
    m_byOptionV4 = other.m_byOptionV4;
    m_wValueV5 = other.m_wValueV5;
    try {
        CopyLists(other);
    } catch (...) {
        RemoveAll();
        throw;
    }
}

void CKVRConfig::CopyLists(const CKVRConfig& other)
{
    RemoveAll();
    CopyItems<CKVRSensorConfig>(other.m_sensorList, m_sensorList);
    CopyItems<CKVRShelterConfig>(other.m_shelterList, m_shelterList);
    CopyItems<CKVRControlConfig>(other.m_controlList, m_controlList);
}

void CKVRConfig::RemoveAll()
{
    m_sensorList.RemoveAll();
    m_shelterList.RemoveAll();
    m_controlList.RemoveAll();
}

// Version byte; sensor type; used flags (byte); speed scales 1 and 2, value V1 (words);
// mode/delay pairs 1 and 2 (two bytes each); option V4, OSSD A, OSSD B, value V2, device
// bit V3 (bytes); value V5 (word); the sensor, field-pair and case lists.
void CKVRConfig::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << kVersion;
        m_sensorType.Serialize(ar);
        ar << m_byUsedFlags << WORD(m_nSpeedScale1) << WORD(m_nSpeedScale2) << WORD(m_nValueV1);
        m_modeDelay1.Serialize(ar);
        m_modeDelay2.Serialize(ar);
        ar << m_byOptionV4 << m_byOssdA << m_byOssdB << m_byValueV2 << m_byDeviceBitV3 << m_wValueV5;
        m_sensorList.Serialize(ar);
        m_shelterList.Serialize(ar);
        m_controlList.Serialize(ar);
        return;
    }
    BYTE version = 0;
    ar >> version;
    if (version != kVersion && version != kVersionWithVariant)
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    m_sensorType.Serialize(ar);
    ar >> m_byUsedFlags;
    m_nSpeedScale1 = ReadWord(ar);
    m_nSpeedScale2 = ReadWord(ar);
    m_nValueV1 = ReadWord(ar);
    m_modeDelay1.Serialize(ar);
    m_modeDelay2.Serialize(ar);
    ar >> m_byOptionV4 >> m_byOssdA >> m_byOssdB >> m_byValueV2;
    BYTE variant = 0;
    if (version == kVersionWithVariant) ar >> variant;
    ar >> m_byDeviceBitV3 >> m_wValueV5;
    m_sensorList.Serialize(ar);
    m_shelterList.Serialize(ar);
    m_controlList.Serialize(ar);
    if (version != kVersionWithVariant) return;
    // Older files kept the variant here only; the fields take it over.
    m_sensorType.SetVariant(variant);
    for (int n = 0; n < GetShelterConfigCount(); ++n)
        if (CKVRShelterConfig* pPair = GetShelterConfig(n)) pPair->CopySensorTypeToFields(m_sensorType);
}

int CKVRConfig::AddSensorConfig(const CString& name, std::unique_ptr<CKVRSensorConfig> config)
{
    return m_sensorList.Add(name, std::move(config));
}

int CKVRConfig::AddShelterConfig(const CString& name, std::unique_ptr<CKVRShelterConfig> config)
{
    return m_shelterList.Add(name, std::move(config));
}

int CKVRConfig::AddControlConfig(const CString& name, std::unique_ptr<CKVRControlConfig> config)
{
    return m_controlList.Add(name, std::move(config));
}

CKVRSensorConfig* CKVRConfig::GetSensorConfig(int n) const { return ItemOf<CKVRSensorConfig>(m_sensorList, n); }

CKVRShelterConfig* CKVRConfig::GetShelterConfig(int n) const { return ItemOf<CKVRShelterConfig>(m_shelterList, n); }

CKVRControlConfig* CKVRConfig::GetControlConfig(int n) const { return ItemOf<CKVRControlConfig>(m_controlList, n); }

BOOL CKVRConfig::IsSensorConfigUsed(int n) const
{
    for (int i = 0; i < GetControlConfigCount(); ++i)
        if (const CKVRControlConfig* pCase = GetControlConfig(i); pCase && pCase->GetSensorIndex() == n) return TRUE;
    return FALSE;
}

BOOL CKVRConfig::IsShelterConfigUsed(int n) const
{
    for (int i = 0; i < GetControlConfigCount(); ++i)
        if (const CKVRControlConfig* pCase = GetControlConfig(i); pCase && pCase->GetShelterIndex() == n) return TRUE;
    return FALSE;
}

// The cases keep pointing at the same records: indexes above a removed position follow it.
int CKVRConfig::RemoveSensorConfig(int n)
{
    if (IsSensorConfigUsed(n) || !m_sensorList.RemoveAt(n)) return 0;
    for (int i = 0; i < GetControlConfigCount(); ++i)
        if (CKVRControlConfig* pCase = GetControlConfig(i))
            pCase->SetSensorIndex(IndexAfterRemoval(pCase->GetSensorIndex(), n));
    return 1;
}

int CKVRConfig::RemoveShelterConfig(int n)
{
    if (IsShelterConfigUsed(n) || !m_shelterList.RemoveAt(n)) return 0;
    for (int i = 0; i < GetControlConfigCount(); ++i)
        if (CKVRControlConfig* pCase = GetControlConfig(i))
            pCase->SetShelterIndex(IndexAfterRemoval(pCase->GetShelterIndex(), n));
    return 1;
}

int CKVRConfig::RemoveControlConfig(int n)
{
    if (!m_controlList.RemoveAt(n)) return 0;
    for (int i = 0; i < GetControlConfigCount(); ++i) {
        if (CKVRControlConfig* pCase = GetControlConfig(i)) {
            pCase->SetFollow1(IndexAfterRemoval(pCase->GetFollow1(), n));
            pCase->SetFollow2(IndexAfterRemoval(pCase->GetFollow2(), n));
        }
    }
    return 1;
}

KVRUsedInputs CKVRConfig::GetUsedInputs() const
{
    KVRUsedInputs used;
    for (int i = 0; i < GetControlConfigCount(); ++i) {
        const CKVRControlConfig* pCase = GetControlConfig(i);
        if (!pCase) continue;
        for (int k = 1; k <= CKVRControlConfig::kInputCount; ++k)
            if (pCase->GetInputState(k) != kInputDontCare) used.bits |= BYTE(1 << (k - 1));
        if (pCase->GetSpeed().IsSet()) {
            used.bits |= kUsesSpeed;
            used.speedLow = std::min(used.speedLow, pCase->GetSpeed().GetLow());
            used.speedHigh = std::max(used.speedHigh, pCase->GetSpeed().GetHigh());
        }
        if (pCase->GetOutputA()) used.bits |= kUsesOssdA;
        if (pCase->GetOutputB()) used.bits |= kUsesOssdB;
    }
    return used;
}

BOOL CKVRConfig::CaseMatches(const CKVRControlConfig& control, BYTE query, int speed) const
{
    BYTE casePattern = control.GetInputPattern();
    for (int k = 0; k < CKVRControlConfig::kInputCount; ++k) {
        const BYTE mask = BYTE(0b11 << (2 * k));
        const bool inputUnused = (m_byUsedFlags & (1 << k)) == 0;
        if (inputUnused || (casePattern & mask) == mask) {
            query &= BYTE(~mask);
            casePattern &= BYTE(~mask);
        }
    }
    if (query != casePattern) return FALSE;
    const CSpeed& range = control.GetSpeed();
    if ((m_byUsedFlags & kUsesSpeed) && range.IsSet()) return range.GetLow() <= speed && speed < range.GetHigh();
    return TRUE;
}

BOOL CKVRConfig::FindControlConfig(int s1, int s2, int s3, int s4, int speed, int& first, int& second) const
{
    first = -1;
    second = -1;
    const BYTE query = CKVRControlConfig::InputPattern(s1, s2, s3, s4);
    for (int i = 0; i < GetControlConfigCount() && second < 0; ++i) {
        const CKVRControlConfig* pCase = GetControlConfig(i);
        if (!pCase || !CaseMatches(*pCase, query, speed)) continue;
        (first < 0 ? first : second) = i;
    }
    return first >= 0;
}

int CKVRConfig::GetControlInputs(int n, int& s1, int& s2, int& s3, int& s4) const
{
    const CKVRControlConfig* pCase = GetControlConfig(n);
    if (!pCase) return 0;
    s1 = pCase->GetInputState(1);
    s2 = pCase->GetInputState(2);
    s3 = pCase->GetInputState(3);
    s4 = pCase->GetInputState(4);
    return 1;
}

int CKVRConfig::GetControlInputsAndSpeed(int n, int& s1, int& s2, CSpeed& speed) const
{
    const CKVRControlConfig* pCase = GetControlConfig(n);
    if (!pCase) return 0;
    s1 = pCase->GetInputState(1);
    s2 = pCase->GetInputState(2);
    speed = pCase->GetSpeed();
    return 1;
}

int CKVRConfig::GetMinSpeed() const { return MinSpeedLimit(int(m_nSpeedScale1), int(m_nSpeedScale2)); }

int CKVRConfig::GetMaxSpeed() const { return MaxSpeedLimit(int(m_nSpeedScale1), int(m_nSpeedScale2)); }
