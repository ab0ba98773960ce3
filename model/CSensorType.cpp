#include "model/CSensorType.h"

#include "framework/core/CArchive.h"
#include "framework/core/Resources.h"
#include "framework/ui/CDataExchange.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/ControlDefs.h"
#include "model/DistanceUnit.h"

#include <array>

namespace {

struct LimitBlock {
    WORD minAngle;
    WORD maxAngle;
    float angleStep;
    WORD minDistance;
    WORD maxDistance;
    WORD distanceStep;
    WORD fourthValue;
    WORD protectiveMin;
    WORD protectiveMax;
    WORD protectiveStep;
    WORD warningMin;
    WORD warningMax;
    WORD warningStep;
    WORD defaultDistance;
    BYTE minScanCount;
    BYTE maxScanCount;
};

struct TypeRow {
    WORD typeCode;
    WORD firstModel;
    WORD secondModel;
    WORD rangeCm;
    std::array<LimitBlock, 2> blocks;
    DWORD protectiveTextId;
    DWORD warningTextId;
};

constexpr LimitBlock MakeBlock(WORD protectiveMax, BYTE minScans, BYTE maxScans)
{
    return LimitBlock{0, 180, 0.5f, 5, 5000, 1, 40, 5, protectiveMax, 1, 5, 5000, 1, 50, minScans, maxScans};
}

// The row order is stored in documents (the archive holds the row index).
constexpr std::array<TypeRow, 3> kTypeTable = {{
    {4, 31, 44, 400, {MakeBlock(400, 2, 16), MakeBlock(400, 2, 16)}, 522, 523},
    {7, 31, 47, 650, {MakeBlock(400, 2, 16), MakeBlock(650, 4, 4)}, 524, 525},
    {50, 62, 45, 5000, {MakeBlock(5000, 2, 16), MakeBlock(5000, 2, 16)}, 526, 527},
}};

constexpr int kDefaultRow = 0;

// A field of the row's limit block; the variant is always 0 or 1.
template <typename T>
T LimitOf(int row, WORD variant, T LimitBlock::*field)
{
    return kTypeTable[std::size_t(row)].blocks[variant].*field;
}

constexpr BYTE kVersion = 0x97;
constexpr BYTE kVersionWithoutVariant = 0x96;
constexpr UINT IDS_SENSOR_TYPE_ENTRY = 996;

CString SensorTypeEntryText(const TypeRow& row)
{
    CString texts[3];
    texts[0].Format("%d", int(row.firstModel));
    texts[1].Format("%d", int(row.secondModel));
    texts[2] = FormatDecimal(row.rangeCm / 100.0, 1) + "m";
    const char* inserts[3] = {texts[0], texts[1], texts[2]};
    CString entry;
    AfxFormatStrings(entry, IDS_SENSOR_TYPE_ENTRY, inserts, 3);
    return entry;
}

void FillSensorTypeCombo(HWND hCombo)
{
    ::SendMessage(hCombo, WM_SETREDRAW, FALSE, 0);
    ::SendMessage(hCombo, CB_RESETCONTENT, 0, 0);
    for (const TypeRow& row : kTypeTable) {
        const CString text = SensorTypeEntryText(row);
        const LRESULT index = ::SendMessage(hCombo, CB_ADDSTRING, 0, LPARAM(text.c_str()));
        if (index >= 0)
            ::SendMessage(hCombo, CB_SETITEMDATA, WPARAM(index), LPARAM(row.typeCode));
    }
    ::SendMessage(hCombo, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hCombo, nullptr, TRUE);
}

int FindItemWithData(HWND hCombo, LPARAM data)
{
    const int count = int(::SendMessage(hCombo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        if (::SendMessage(hCombo, CB_GETITEMDATA, WPARAM(i), 0) == data)
            return i;
    return CB_ERR;
}

} // namespace

IMPLEMENT_SERIAL(CSensorType, CObject, 0)

CSensorType::CSensorType(UINT typeCode, WORD variant)
{
    SetType(typeCode, variant);
}

CSensorType& CSensorType::operator=(const CSensorType& other)
{
    CopyFrom(other);
    return *this;
}

void CSensorType::CopyFrom(const CSensorType& other)
{
    if (&other == this)
        return;
    m_nIndex = other.m_nIndex;
    m_wVariant = other.m_wVariant;
}

int CSensorType::FindTypeIndex(UINT typeCode)
{
    for (std::size_t row = 0; row < kTypeTable.size(); ++row)
        if (kTypeTable[row].typeCode == WORD(typeCode))
            return int(row);
    return -1;
}

void CSensorType::SetType(UINT typeCode, WORD variant)
{
    const int row = FindTypeIndex(typeCode);
    m_nIndex = row >= 0 ? row : kDefaultRow;
    SetVariant(variant);
}

BOOL CSensorType::SetTypeCode(UINT typeCode)
{
    const int row = FindTypeIndex(typeCode);
    if (row < 0)
        return FALSE;
    m_nIndex = row;
    return TRUE;
}

WORD CSensorType::GetTypeCode() const
{
    return kTypeTable[std::size_t(m_nIndex)].typeCode;
}

CString CSensorType::GetModelName() const
{
    const TypeRow& row = kTypeTable[std::size_t(m_nIndex)];
    CString name;
    name.Format("ZOK %dx-x%d", int(row.firstModel), int(row.secondModel));
    return name;
}

WORD CSensorType::GetMinAngle() const { return LimitOf(m_nIndex, m_wVariant, &LimitBlock::minAngle); }
WORD CSensorType::GetMaxAngle() const { return LimitOf(m_nIndex, m_wVariant, &LimitBlock::maxAngle); }
WORD CSensorType::GetAngleSpan() const { return WORD(GetMaxAngle() - GetMinAngle()); }
float CSensorType::GetAngleStep() const { return LimitOf(m_nIndex, m_wVariant, &LimitBlock::angleStep); }

WORD CSensorType::GetMinDistance() const { return LimitOf(m_nIndex, m_wVariant, &LimitBlock::minDistance); }
WORD CSensorType::GetMaxDistance() const { return LimitOf(m_nIndex, m_wVariant, &LimitBlock::maxDistance); }
WORD CSensorType::GetDistanceStep() const { return LimitOf(m_nIndex, m_wVariant, &LimitBlock::distanceStep); }
WORD CSensorType::GetDistanceSpan() const { return WORD(GetMaxDistance() - GetMinDistance()); }
WORD CSensorType::GetGeneralFourthValue() const { return LimitOf(m_nIndex, m_wVariant, &LimitBlock::fourthValue); }
WORD CSensorType::GetDefaultDistance() const { return LimitOf(m_nIndex, m_wVariant, &LimitBlock::defaultDistance); }

WORD CSensorType::GetProtectiveMinDistance() const { return LimitOf(m_nIndex, m_wVariant, &LimitBlock::protectiveMin); }
WORD CSensorType::GetProtectiveMaxDistance() const { return LimitOf(m_nIndex, m_wVariant, &LimitBlock::protectiveMax); }
WORD CSensorType::GetProtectiveDistanceStep() const { return LimitOf(m_nIndex, m_wVariant, &LimitBlock::protectiveStep); }

WORD CSensorType::GetWarningMinDistance() const { return LimitOf(m_nIndex, m_wVariant, &LimitBlock::warningMin); }
WORD CSensorType::GetWarningMaxDistance() const { return LimitOf(m_nIndex, m_wVariant, &LimitBlock::warningMax); }
WORD CSensorType::GetWarningDistanceStep() const { return LimitOf(m_nIndex, m_wVariant, &LimitBlock::warningStep); }

BYTE CSensorType::GetMinScanCount() const { return LimitOf(m_nIndex, m_wVariant, &LimitBlock::minScanCount); }
BYTE CSensorType::GetMaxScanCount() const { return LimitOf(m_nIndex, m_wVariant, &LimitBlock::maxScanCount); }

WORD CSensorType::GetMinDistanceOfKind(int kind) const
{
    switch (kind) {
    case 1: return GetProtectiveMinDistance();
    case 2: return GetWarningMinDistance();
    default: return GetMinDistance();
    }
}

WORD CSensorType::GetMaxDistanceOfKind(int kind) const
{
    switch (kind) {
    case 1: return GetProtectiveMaxDistance();
    case 2: return GetWarningMaxDistance();
    default: return GetMaxDistance();
    }
}

WORD CSensorType::GetDistanceStepOfKind(int kind) const
{
    switch (kind) {
    case 1: return GetProtectiveDistanceStep();
    case 2: return GetWarningDistanceStep();
    default: return GetDistanceStep();
    }
}

WORD CSensorType::GetDefaultDistanceOfKind(int kind) const
{
    switch (kind) {
    case 1: return GetProtectiveDefaultDistance();
    case 2: return GetWarningDefaultDistance();
    default: return GetDefaultDistance();
    }
}

WORD CSensorType::GetMaxWidthOfKind(int kind) const
{
    switch (kind) {
    case 1: return GetProtectiveMaxWidth();
    case 2: return GetWarningMaxDistance();
    default: return GetMaxDistance();
    }
}

int CSensorType::GetBeamCount() const
{
    return int(float(GetAngleSpan()) / GetAngleStep()) + 1;
}

int CSensorType::GetBeamCountForResolution(int choice)
{
    switch (choice) {
    case 0: return 91;
    case 1: return 181;
    case 2: return 361;
    default: return 0;
    }
}

UINT CSensorType::GetProtectiveFieldTextId() const
{
    return UINT(kTypeTable[std::size_t(m_nIndex)].protectiveTextId);
}

UINT CSensorType::GetWarningFieldTextId() const
{
    return UINT(kTypeTable[std::size_t(m_nIndex)].warningTextId);
}

void CSensorType::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << kVersion << WORD(m_nIndex) << m_wVariant;
        return;
    }
    BYTE version = 0;
    ar >> version;
    short index = 0;
    WORD variant = 0;
    if (version == kVersion)
        ar >> index >> variant;
    else if (version == kVersionWithoutVariant)
        ar >> index;
    else
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    // A row outside the table would read limits that do not exist.
    if (index < 0 || std::size_t(index) >= kTypeTable.size())
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    m_nIndex = index;
    SetVariant(variant);
}

void DDX_SensorTypeCombo(CDataExchange* pDX, int nIDC, CSensorType& type)
{
    const HWND hCombo = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        const LRESULT selected = ::SendMessage(hCombo, CB_GETCURSEL, 0, 0);
        if (selected == CB_ERR)
            return;
        CSensorType chosen(type);
        if (chosen.SetTypeCode(UINT(::SendMessage(hCombo, CB_GETITEMDATA, WPARAM(selected), 0))))
            pDX->Store(type, chosen);
        return;
    }
    if (::SendMessage(hCombo, CB_GETCOUNT, 0, 0) != LRESULT(kTypeTable.size()))
        FillSensorTypeCombo(hCombo);
    ::SendMessage(hCombo, CB_SETCURSEL, WPARAM(FindItemWithData(hCombo, LPARAM(type.GetTypeCode()))), 0);
}
