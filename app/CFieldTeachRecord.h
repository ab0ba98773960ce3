#pragma once
// What a teach-in or a verification works on: the scanner (1-based), the field number
// (1-based field pair) and the pair's name the device was told, and the contour it last
// reported.
#include "framework/core/CString.h"

#include <memory>

class CPolyShelter;

class CFieldTeachRecord {
public:
    CFieldTeachRecord();
    ~CFieldTeachRecord();
    CFieldTeachRecord(const CFieldTeachRecord&) = delete;
    CFieldTeachRecord& operator=(const CFieldTeachRecord&) = delete;

    // Numbers 0, no name, no contour.
    void Reset();

    void SetField(int scannerNumber, int fieldNumber, const CString& name);
    int GetScannerNumber() const { return m_nScannerNumber; }
    int GetFieldNumber() const { return m_nFieldNumber; }
    const CString& GetName() const { return m_strName; }

    CPolyShelter* GetContour() const { return m_pContour.get(); }
    // Replaces (and deletes) the previous contour; null drops it.
    void SetContour(std::unique_ptr<CPolyShelter> contour);
    std::unique_ptr<CPolyShelter> TakeContour();

private:
    int m_nScannerNumber = 0;
    int m_nFieldNumber = 0;
    CString m_strName;
    std::unique_ptr<CPolyShelter> m_pContour;
};
