#pragma once
// One contour measured by a scanner: one beam word per beam over the device type's angle
// range, with flags that tell which beams lay inside the device's fields. The evaluation
// case says how the flag bits of a beam are read and fixes the resolution type of its
// words:
//
//   case  name        type  bit 15         bit 14         bit 13
//    0    FA_FB_BL     13   FA             FB             BL
//    1    RE_RE_RE     13   RE bit 2       RE bit 1       RE bit 0
//    2    FA_FB_FC     13   FA             FB             FC
//    3    RE_RE        14   RE bit 1       RE bit 0       -
//    4    FA_FB        14   FA             FB             -
//    5    RE           15   RE bit 0       -              -
//    6    FA           15   FA             -              -
//
// The RE value of a beam is its whole flag field.
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"
#include "model/CBeamArray.h"
#include "model/CSensorObject.h"
#include "model/CSensorPoint.h"

#include <memory>

class CDataExchange;

class CScan : public CSensorObject {
    DECLARE_SERIAL(CScan)
public:
    static constexpr int kEvalCaseCount = 7;
    static BOOL IsValidEvalCase(int evalCase) { return evalCase >= 0 && evalCase < kEvalCaseCount; }

    CScan() = default;
    CScan(const CScan& other);
    CScan& operator=(const CScan& other);
    ~CScan() override = default;

    // Writes version 2 (colours, case, beams); reads 2 and 1 (no case: case 0). A case
    // outside 0..6 is refused as bad schema. The beams keep their own resolution type.
    void Serialize(CArchive& ar) override;
    std::unique_ptr<CSensorObject> Clone() const override;
    // Both colours, the beams and the case; the base part marks this scan modified.
    void CopyFrom(const CScan& other);

    // Filling: the case argument picks only the resolution type of the words; the scan's
    // own evaluation case stays as it is.
    void SetScanFill(const CSensorType& type, CBeamWord word, WORD count, int evalCase = 0);
    void SetScanData(const CSensorType& type, const WORD* words, WORD count, int evalCase = 0);
    void SetScanDataInRange(const CSensorType& type, const WORD* words, WORD count, WORD first, WORD last,
                            int evalCase = 0);

    // Reinterprets the words under the case's resolution type and recounts the flags.
    // A case outside 0..6 changes nothing.
    void SetEvalCase(int evalCase);
    int GetEvalCase() const { return m_nEvalCase; }
    void SetNormalColor(COLORREF color) { m_crNormal = color; }
    void SetFlaggedColor(COLORREF color) { m_crFlagged = color; }
    COLORREF GetNormalColor() const { return m_crNormal; }
    COLORREF GetFlaggedColor() const { return m_crFlagged; }
    const CBeamArray& GetBeams() const { return m_beams; }

    int GetBeamCount() const { return m_beams.GetCount(); }
    BOOL IsEmpty() const { return m_beams.IsEmpty(); }
    void RemoveAll() { m_beams.RemoveAll(); }
    WORD GetDistance(int beam) const { return m_beams.GetDistance(beam); }
    void SetDistance(int beam, WORD distance) { m_beams.SetDistance(beam, distance); }
    void GetMinMaxDistance(WORD& minimum, WORD& maximum) const { m_beams.GetMinMaxDistance(minimum, maximum); }
    WORD GetMinDistance() const { return m_beams.GetMinDistance(); }
    WORD GetMaxDistance() const { return m_beams.GetMaxDistance(); }

    // Degrees between neighbouring beams; 0 below two beams.
    float GetAngularStep() const;
    float GetBeamAngle(int beam) const;
    // The nearest beam; -1 outside the type's angle range and below two beams.
    int GetBeamIndex(float angle) const;
    CSensorPoint GetBeamPoint(int beam) const;

    // Flags by case. A Set takes a beam or -1 for all beams and does nothing outside its
    // cases; a Get then reads 0.
    void SetFA(int beam, BOOL on);
    BOOL GetFA(int beam) const;
    WORD GetFACount() const;
    void SetFB(int beam, BOOL on);
    BOOL GetFB(int beam) const;
    WORD GetFBCount() const;
    void SetFC(int beam, BOOL on);
    BOOL GetFC(int beam) const;
    WORD GetFCCount() const;
    // Bits 15, 14 and 13 of case 0 (FA, FB and BL).
    void SetFlag1(int beam, BOOL on);
    BOOL GetFlag1(int beam) const;
    void SetFlag2(int beam, BOOL on);
    BOOL GetFlag2(int beam) const;
    void SetFlag3(int beam, BOOL on);
    BOOL GetFlag3(int beam) const;
    WORD CountFlag3() const;
    // The whole flag field of cases 1, 3 and 5; the count is of beams with any flag bit.
    void SetRE(int beam, BYTE value);
    WORD GetRE(int beam) const;
    WORD GetRECount() const;
    // Every flag bit of every beam, in any case.
    void ClearFlags() { m_beams.SetAllFlags(-1, FALSE); }

    // Whether a beam (or, by the counts, the scan) lies in one of the case's fields.
    BOOL IsBeamFlagged(int beam) const;
    BOOL IsFlagged() const;

    void DrawOutline(CDC* pDC) const override;
    void DrawFilled(CDC* pDC) const override;
    void DrawHandles(CDC*) const override {}

    // The beam as a line of a listing: its marks and its distance ("%5d").
    CString FormatBeam(int beam) const;
    // Writes every beam as "<three marks><distance>", eight to a line, a blank line after
    // the scan; at the file's end when appending (the file must exist), else into a new
    // empty file. FALSE when the file cannot be opened or written, or for a case outside
    // 0..6 (then no file is touched).
    BOOL ExportText(LPCTSTR path, BOOL append) const;

private:
    // The three two-character marks of ExportText for a beam.
    void GetExportMarks(int beam, CString marks[3]) const;
    CString FormatExportItem(int beam) const;

    CBeamArray m_beams;
    COLORREF m_crNormal = 0x00FF00;
    COLORREF m_crFlagged = 0x0000FF;
    int m_nEvalCase = 0;
};

// 13 for cases 0 to 2 and any other value, 14 for cases 3 and 4, 15 for cases 5 and 6.
int ResolutionFromEvalCase(int evalCase);
// The case's name ("FA_FB_BL", ...); empty for a value outside 0..6.
CString GetEvalCaseName(int evalCase);

// A combo box of the seven evaluation cases, entry i for case i (texts 973, 974, 975,
// 977, 976, 979, 978). Loading fills it unless it holds seven entries and selects the
// case; saving takes the selected index (no selection keeps the case).
void DDX_EvalCase(CDataExchange* pDX, int nIDC, int& evalCase);
