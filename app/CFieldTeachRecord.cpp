#include "app/CFieldTeachRecord.h"

#include "model/CPolyShelter.h"

CFieldTeachRecord::CFieldTeachRecord() = default;
CFieldTeachRecord::~CFieldTeachRecord() = default;

void CFieldTeachRecord::Reset()
{
    m_nScannerNumber = 0;
    m_nFieldNumber = 0;
    m_strName.Empty();
    m_pContour.reset();
}

void CFieldTeachRecord::SetField(int scannerNumber, int fieldNumber, const CString& name)
{
    m_nScannerNumber = scannerNumber;
    m_nFieldNumber = fieldNumber;
    m_strName = name;
}

void CFieldTeachRecord::SetContour(std::unique_ptr<CPolyShelter> contour) { m_pContour = std::move(contour); }

std::unique_ptr<CPolyShelter> CFieldTeachRecord::TakeContour() { return std::move(m_pContour); }
