#include "model/CScan.h"

#include "model/DistanceUnit.h"
#include "framework/core/CArchive.h"
#include "framework/core/CReplacingFile.h"
#include "framework/gdi/CDC.h"
#include "framework/ui/CDataExchange.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/ControlDefs.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

IMPLEMENT_SERIAL(CScan, CSensorObject, 0)

namespace {

constexpr BYTE kVersion = 2;
constexpr BYTE kVersionWithoutCase = 1;
constexpr int kPenWidth = 3;
constexpr int kItemsPerLine = 8;
constexpr const char* kBlankMark = "  ";

struct EvalCaseRow {
    const char* name;
    UINT textId;
};

constexpr std::array<EvalCaseRow, CScan::kEvalCaseCount> kEvalCases = {{
    {"FA_FB_BL", 973},
    {"RE_RE_RE", 974},
    {"FA_FB_FC", 975},
    {"RE_RE", 977},
    {"FA_FB", 976},
    {"RE", 979},
    {"FA", 978},
}};

bool HasFA(int evalCase) { return evalCase == 0 || evalCase == 2 || evalCase == 4 || evalCase == 6; }
bool HasFB(int evalCase) { return evalCase == 0 || evalCase == 2 || evalCase == 4; }
bool HasFC(int evalCase) { return evalCase == 2; }
bool HasBL(int evalCase) { return evalCase == 0; }
bool HasRE(int evalCase) { return evalCase == 1 || evalCase == 3 || evalCase == 5; }

const char* Mark(BOOL set, const char* letters) { return set ? letters : kBlankMark; }

// A pen and a brush of one colour, selected together.
struct DrawingPair {
    explicit DrawingPair(COLORREF color) : pen(PS_INSIDEFRAME, kPenWidth, color), brush(color) {}
    void SelectInto(CDC* pDC) { pDC->SelectObject(&pen), pDC->SelectObject(&brush); }
    CPen pen;
    CBrush brush;
};

// Selects the DC's former pen and brush back when drawing ends.
class KeepPenAndBrush {
public:
    explicit KeepPenAndBrush(CDC* pDC) : m_pDC(pDC), m_pPen(pDC->GetCurrentPen()), m_pBrush(pDC->GetCurrentBrush()) {}
    ~KeepPenAndBrush()
    {
        m_pDC->SelectObject(m_pPen);
        m_pDC->SelectObject(m_pBrush);
    }
    KeepPenAndBrush(const KeepPenAndBrush&) = delete;
    KeepPenAndBrush& operator=(const KeepPenAndBrush&) = delete;

private:
    CDC* m_pDC;
    CPen* m_pPen;
    CBrush* m_pBrush;
};

void FillEvalCaseCombo(HWND hCombo)
{
    ::SendMessage(hCombo, WM_SETREDRAW, FALSE, 0);
    ::SendMessage(hCombo, CB_RESETCONTENT, 0, 0);
    // Appended in case order, so that an entry's index is its case even in a sorted box.
    for (const EvalCaseRow& row : kEvalCases) {
        CString text;
        text.LoadString(row.textId);
        ::SendMessage(hCombo, CB_INSERTSTRING, WPARAM(-1), LPARAM(text.c_str()));
    }
    ::SendMessage(hCombo, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hCombo, nullptr, TRUE);
}

} // namespace

int ResolutionFromEvalCase(int evalCase)
{
    switch (evalCase) {
    case 3:
    case 4: return 14;
    case 5:
    case 6: return 15;
    default: return 13;
    }
}

CString GetEvalCaseName(int evalCase)
{
    return CScan::IsValidEvalCase(evalCase) ? CString(kEvalCases[std::size_t(evalCase)].name) : CString();
}

// --- copying ---

CScan::CScan(const CScan& other) : CSensorObject(other)
{
    CopyFrom(other);
}

CScan& CScan::operator=(const CScan& other)
{
    CopyFrom(other);
    return *this;
}

void CScan::CopyFrom(const CScan& other)
{
    if (&other == this) return;
    CSensorObject::CopyFrom(other);
    m_crNormal = other.m_crNormal;
    m_crFlagged = other.m_crFlagged;
    m_beams.CopyFrom(other.m_beams);
    m_nEvalCase = other.m_nEvalCase;
}

std::unique_ptr<CSensorObject> CScan::Clone() const
{
    return std::make_unique<CScan>(*this);
}

// --- archive ---

void CScan::Serialize(CArchive& ar)
{
    CSensorObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << kVersion << DWORD(m_crNormal) << DWORD(m_crFlagged) << WORD(m_nEvalCase);
        m_beams.Serialize(ar);
        return;
    }
    BYTE version = 0;
    ar >> version;
    if (version != kVersion && version != kVersionWithoutCase)
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    DWORD normal = 0;
    DWORD flagged = 0;
    WORD evalCase = 0;
    ar >> normal >> flagged;
    if (version == kVersion) ar >> evalCase;
    // A case beyond the table would read every flag as nothing and export nothing.
    if (!IsValidEvalCase(evalCase)) AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    CBeamArray beams;
    beams.Serialize(ar);
    m_crNormal = normal;
    m_crFlagged = flagged;
    m_nEvalCase = evalCase;
    m_beams.CopyFrom(beams);
}

// --- filling ---

void CScan::SetScanFill(const CSensorType& type, CBeamWord word, WORD count, int evalCase)
{
    m_sensorType = type;
    m_beams.Fill(word, count, ResolutionFromEvalCase(evalCase));
}

void CScan::SetScanData(const CSensorType& type, const WORD* words, WORD count, int evalCase)
{
    m_sensorType = type;
    m_beams.SetWords(words, count, ResolutionFromEvalCase(evalCase));
}

void CScan::SetScanDataInRange(const CSensorType& type, const WORD* words, WORD count, WORD first, WORD last,
                               int evalCase)
{
    m_sensorType = type;
    m_beams.SetWordsInRange(words, count, first, last, ResolutionFromEvalCase(evalCase));
}

void CScan::SetEvalCase(int evalCase)
{
    if (evalCase == m_nEvalCase || !IsValidEvalCase(evalCase)) return;
    m_nEvalCase = evalCase;
    m_beams.SetType(ResolutionFromEvalCase(evalCase));
}

// --- geometry ---

float CScan::GetAngularStep() const
{
    const int count = GetBeamCount();
    if (count < 2) return 0;
    const float span = float(m_sensorType.GetAngleSpan());
    const float step = span / float(count);
    if (std::fmod(step, 0.25f) != 0) return span / float(count - 1);
    return step;
}

float CScan::GetBeamAngle(int beam) const
{
    return float(m_sensorType.GetMinAngle()) + GetAngularStep() * float(beam);
}

int CScan::GetBeamIndex(float angle) const
{
    // Below two beams there is no step to divide by.
    if (GetBeamCount() < 2) return -1;
    const float minAngle = float(m_sensorType.GetMinAngle());
    if (angle < minAngle || angle > float(m_sensorType.GetMaxAngle())) return -1;
    // A scan whose step leaves the last beam short of the maximum angle still answers
    // with a beam it holds.
    return std::min(RoundToInt((angle - minAngle) / GetAngularStep()), GetBeamCount() - 1);
}

CSensorPoint CScan::GetBeamPoint(int beam) const
{
    CSensorPoint point;
    point.SetAngleRadius(GetBeamAngle(beam), float(GetDistance(beam)));
    return point;
}

// --- flags ---

void CScan::SetFA(int beam, BOOL on)
{
    if (HasFA(m_nEvalCase)) m_beams.SetFlag15(beam, on);
}
BOOL CScan::GetFA(int beam) const { return HasFA(m_nEvalCase) && m_beams.GetFlag15(beam); }
WORD CScan::GetFACount() const { return HasFA(m_nEvalCase) ? m_beams.GetFlag15Count() : WORD(0); }

void CScan::SetFB(int beam, BOOL on)
{
    if (HasFB(m_nEvalCase)) m_beams.SetFlag14(beam, on);
}
BOOL CScan::GetFB(int beam) const { return HasFB(m_nEvalCase) && m_beams.GetFlag14(beam); }
WORD CScan::GetFBCount() const { return HasFB(m_nEvalCase) ? m_beams.GetFlag14Count() : WORD(0); }

void CScan::SetFC(int beam, BOOL on)
{
    if (HasFC(m_nEvalCase)) m_beams.SetFlag13(beam, on);
}
BOOL CScan::GetFC(int beam) const { return HasFC(m_nEvalCase) && m_beams.GetFlag13(beam); }
WORD CScan::GetFCCount() const { return HasFC(m_nEvalCase) ? m_beams.GetFlag13Count() : WORD(0); }

void CScan::SetFlag1(int beam, BOOL on)
{
    if (HasBL(m_nEvalCase)) m_beams.SetFlag15(beam, on);
}
BOOL CScan::GetFlag1(int beam) const { return HasBL(m_nEvalCase) && m_beams.GetFlag15(beam); }

void CScan::SetFlag2(int beam, BOOL on)
{
    if (HasBL(m_nEvalCase)) m_beams.SetFlag14(beam, on);
}
BOOL CScan::GetFlag2(int beam) const { return HasBL(m_nEvalCase) && m_beams.GetFlag14(beam); }

void CScan::SetFlag3(int beam, BOOL on)
{
    if (HasBL(m_nEvalCase)) m_beams.SetFlag13(beam, on);
}
BOOL CScan::GetFlag3(int beam) const { return HasBL(m_nEvalCase) && m_beams.GetFlag13(beam); }
WORD CScan::CountFlag3() const { return HasBL(m_nEvalCase) ? m_beams.GetFlag13Count() : WORD(0); }

void CScan::SetRE(int beam, BYTE value)
{
    if (HasRE(m_nEvalCase)) m_beams.SetFlagBits(beam, value);
}
WORD CScan::GetRE(int beam) const { return HasRE(m_nEvalCase) ? m_beams.GetFlagBits(beam) : WORD(0); }
WORD CScan::GetRECount() const { return HasRE(m_nEvalCase) ? m_beams.GetFlaggedCount() : WORD(0); }

BOOL CScan::IsBeamFlagged(int beam) const
{
    if (HasRE(m_nEvalCase)) return GetRE(beam) != 0;
    return GetFA(beam) || GetFB(beam) || GetFC(beam) || GetFlag3(beam);
}

BOOL CScan::IsFlagged() const
{
    if (HasRE(m_nEvalCase)) return GetRECount() != 0;
    return GetFACount() != 0 || GetFBCount() != 0 || GetFCCount() != 0 || CountFlag3() != 0;
}

// --- drawing ---

void CScan::DrawOutline(CDC* pDC) const
{
    if (IsEmpty()) return;
    DrawingPair normal(m_crNormal);
    DrawingPair flagged(m_crFlagged);
    KeepPenAndBrush keep(pDC);
    pDC->MoveTo(GetBeamPoint(0).GetPoint());
    // Each segment takes the colour of the beam it ends on.
    for (int beam = 1; beam < GetBeamCount(); ++beam) {
        (IsBeamFlagged(beam) ? flagged : normal).SelectInto(pDC);
        pDC->LineTo(GetBeamPoint(beam).GetPoint());
    }
}

void CScan::DrawFilled(CDC* pDC) const
{
    if (IsEmpty()) return;
    std::vector<CPoint> points;
    points.reserve(std::size_t(GetBeamCount()) + 1);
    points.emplace_back(0, 0);
    for (int beam = 0; beam < GetBeamCount(); ++beam)
        points.push_back(GetBeamPoint(beam).GetPoint());
    DrawingPair pair(IsFlagged() ? m_crFlagged : m_crNormal);
    KeepPenAndBrush keep(pDC);
    pair.SelectInto(pDC);
    const int oldFillMode = pDC->SetPolyFillMode(WINDING);
    pDC->Polygon(points.data(), int(points.size()));
    pDC->SetPolyFillMode(oldFillMode);
}

// --- text ---

CString CScan::FormatBeam(int beam) const
{
    CString text;
    const int distance = GetDistance(beam);
    switch (m_nEvalCase) {
    case 0:
        text.Format("%s%s%s%5d", Mark(GetFA(beam), "FA"), Mark(GetFB(beam), "FB"), Mark(GetFlag3(beam), "BL"),
                    distance);
        break;
    case 2:
        text.Format("%s%s%s%5d", Mark(GetFA(beam), "FA"), Mark(GetFB(beam), "FB"), Mark(GetFC(beam), "FC"),
                    distance);
        break;
    case 4: text.Format("%s%s%5d", Mark(GetFA(beam), "FA"), Mark(GetFB(beam), "FB"), distance); break;
    case 6: text.Format("%s%5d", Mark(GetFA(beam), "FA"), distance); break;
    case 1:
    case 3:
    case 5: text.Format("%s(%d)%5d", "RE", int(GetRE(beam)), distance); break;
    default: break;
    }
    return text;
}

void CScan::GetExportMarks(int beam, CString marks[3]) const
{
    switch (m_nEvalCase) {
    case 0:
        marks[0] = Mark(GetFlag3(beam), "BL");
        marks[1] = Mark(GetFA(beam), "FA");
        marks[2] = Mark(GetFB(beam), "FB");
        break;
    case 2:
        marks[0] = Mark(GetFC(beam), "FC");
        marks[1] = Mark(GetFA(beam), "FA");
        marks[2] = Mark(GetFB(beam), "FB");
        break;
    case 4:
        marks[0] = Mark(GetFA(beam), "FA");
        marks[1] = Mark(GetFB(beam), "FB");
        marks[2] = kBlankMark;
        break;
    case 6:
        marks[0] = Mark(GetFA(beam), "FA");
        marks[1] = marks[2] = kBlankMark;
        break;
    default: {
        const WORD re = GetRE(beam);
        marks[0] = Mark(re & 1, "R0");
        marks[1] = Mark(re & 2, "R1");
        marks[2] = Mark(re & 4, "R2");
        break;
    }
    }
}

CString CScan::FormatExportItem(int beam) const
{
    CString marks[3];
    GetExportMarks(beam, marks);
    const char* format = "%s%s%s%d;";
    if (beam == GetBeamCount() - 1)
        format = "%s%s%s%d\r\n\r\n";
    else if (beam != 0 && (beam + 1) % kItemsPerLine == 0)
        format = "%s%s%s%d\r\n";
    CString item;
    item.Format(format, marks[0].c_str(), marks[1].c_str(), marks[2].c_str(), int(GetDistance(beam)));
    return item;
}

BOOL CScan::ExportText(LPCTSTR path, BOOL append) const
{
    if (!IsValidEvalCase(m_nEvalCase)) return FALSE;
    // Appending opens only a file that is already there; a new text replaces the file
    // only once it is whole.
    CFile appended;
    CReplacingFile replacing;
    CFile& file = append ? appended : static_cast<CFile&>(replacing);
    if (append ? !appended.Open(path, CFile::modeWrite | CFile::typeBinary) : !replacing.OpenReplacing(path))
        return FALSE;
    try {
        if (append) file.SeekToEnd();
        for (int beam = 0; beam < GetBeamCount(); ++beam) {
            const CString item = FormatExportItem(beam);
            file.Write(item.c_str(), UINT(item.GetLength()));
        }
        if (append)
            file.Flush();
        else
            replacing.Commit();
        file.Close();
    } catch (const CFileException&) {
        file.Abort();
        return FALSE;
    }
    return TRUE;
}

// --- combo box ---

void DDX_EvalCase(CDataExchange* pDX, int nIDC, int& evalCase)
{
    const HWND hCombo = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        const LRESULT selected = ::SendMessage(hCombo, CB_GETCURSEL, 0, 0);
        // With no selection the case stays: the error value is no case.
        if (selected != CB_ERR) pDX->Store(evalCase, int(selected));
        return;
    }
    if (::SendMessage(hCombo, CB_GETCOUNT, 0, 0) != LRESULT(kEvalCases.size())) FillEvalCaseCombo(hCombo);
    ::SendMessage(hCombo, CB_SETCURSEL, WPARAM(evalCase), 0);
}
