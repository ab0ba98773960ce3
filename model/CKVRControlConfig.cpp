#include "model/CKVRControlConfig.h"

#include "framework/core/CArchive.h"
#include "framework/ui/CDataExchange.h"
#include "framework/ui/ControlDefs.h"
#include "framework/ui/CWnd.h"

IMPLEMENT_SERIAL(CKVRControlConfig, CObject, 1)

namespace {

constexpr BYTE kVersion = 1;

struct InputStateEntry {
    const char* text;
    int state;
};
constexpr std::array<InputStateEntry, 3> kInputStateEntries = {{{"X", kInputDontCare}, {"0", kInputLow}, {"1", kInputHigh}}};

BYTE InputCode(int state)
{
    if (state == kInputLow) return 0b10;
    if (state == kInputHigh) return 0b01;
    return 0b11;
}

WORD ReadWord(CArchive& ar)
{
    WORD value = 0;
    ar >> value;
    return value;
}

int ReadSigned(CArchive& ar)
{
    short value = 0;
    ar >> value;
    return value;
}

void FillInputStateCombo(HWND hCombo)
{
    ::SendMessage(hCombo, WM_SETREDRAW, FALSE, 0);
    ::SendMessage(hCombo, CB_RESETCONTENT, 0, 0);
    for (const InputStateEntry& entry : kInputStateEntries) {
        const LRESULT index = ::SendMessage(hCombo, CB_ADDSTRING, 0, LPARAM(entry.text));
        if (index >= 0) ::SendMessage(hCombo, CB_SETITEMDATA, WPARAM(index), LPARAM(entry.state));
    }
    ::SendMessage(hCombo, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(hCombo, nullptr, TRUE);
}

} // namespace

void CKVRControlConfig::Copy(const CKVRControlConfig& other)
{
    if (&other == this) return;
    m_byScanCount = other.m_byScanCount;
    m_nInputState = other.m_nInputState;
    m_speed = other.m_speed;
    m_nOutputA = other.m_nOutputA;
    m_nOutputB = other.m_nOutputB;
    m_nSensorIndex = other.m_nSensorIndex;
    m_nShelterIndex = other.m_nShelterIndex;
    m_nFollowCount = other.m_nFollowCount;
    m_nFollow1 = other.m_nFollow1;
    m_nFollow2 = other.m_nFollow2;
}

int CKVRControlConfig::GetInputState(int k) const
{
    return k >= 1 && k <= kInputCount ? m_nInputState[std::size_t(k - 1)] : kInputDontCare;
}

void CKVRControlConfig::SetInputState(int k, int state)
{
    if (k >= 1 && k <= kInputCount) m_nInputState[std::size_t(k - 1)] = state;
}

BYTE CKVRControlConfig::InputPattern(int s1, int s2, int s3, int s4)
{
    return BYTE(InputCode(s1) | InputCode(s2) << 2 | InputCode(s3) << 4 | InputCode(s4) << 6);
}

BYTE CKVRControlConfig::GetInputPattern() const
{
    return InputPattern(m_nInputState[0], m_nInputState[1], m_nInputState[2], m_nInputState[3]);
}

// Version byte; four input states (words); the speed range; output flags A and B, sensor
// index, field-pair index (words); scans (byte); following-case count, following cases 1
// and 2 (words).
void CKVRControlConfig::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << kVersion;
        for (const int state : m_nInputState) ar << WORD(state);
        m_speed.Serialize(ar);
        ar << WORD(m_nOutputA) << WORD(m_nOutputB) << WORD(m_nSensorIndex) << WORD(m_nShelterIndex);
        ar << m_byScanCount;
        ar << WORD(m_nFollowCount) << WORD(m_nFollow1) << WORD(m_nFollow2);
        return;
    }
    BYTE version = 0;
    ar >> version;
    if (version != kVersion) AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    for (int& state : m_nInputState) state = ReadWord(ar);
    m_speed.Serialize(ar);
    m_nOutputA = ReadWord(ar);
    m_nOutputB = ReadWord(ar);
    m_nSensorIndex = ReadSigned(ar);
    m_nShelterIndex = ReadSigned(ar);
    ar >> m_byScanCount;
    m_nFollowCount = ReadWord(ar);
    m_nFollow1 = ReadSigned(ar);
    m_nFollow2 = ReadSigned(ar);
}

void DDX_InputState(CDataExchange* pDX, int nIDC, int& state)
{
    const HWND hCombo = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        const LRESULT selected = ::SendMessage(hCombo, CB_GETCURSEL, 0, 0);
        if (selected != CB_ERR) pDX->Store(state, int(::SendMessage(hCombo, CB_GETITEMDATA, WPARAM(selected), 0)));
        return;
    }
    if (::SendMessage(hCombo, CB_GETCOUNT, 0, 0) != LRESULT(kInputStateEntries.size())) FillInputStateCombo(hCombo);
    LRESULT match = CB_ERR;
    const LRESULT count = ::SendMessage(hCombo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count && match == CB_ERR; ++i)
        if (::SendMessage(hCombo, CB_GETITEMDATA, WPARAM(i), 0) == LPARAM(state)) match = i;
    ::SendMessage(hCombo, CB_SETCURSEL, WPARAM(match), 0);
}
