#include "model/CModeDelay.h"

#include "framework/core/CArchive.h"
#include "framework/ui/CDataExchange.h"
#include "framework/ui/DDX.h"

#include <array>

namespace {

// Radio button index by mode and back: buttons are ordered 0, 2, 1.
constexpr std::array<BYTE, 3> kModeOfButton = {0, 2, 1};

int ButtonOfMode(BYTE mode)
{
    for (int button = 0; button < int(kModeOfButton.size()); ++button)
        if (kModeOfButton[std::size_t(button)] == mode) return button;
    return -1;
}

} // namespace

void CModeDelay::Set(BYTE mode, BYTE delay)
{
    m_byMode = mode;
    m_byDelay = mode == kDelayedMode ? delay : kFixedDelay;
}

void CModeDelay::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_byMode << m_byDelay;
        return;
    }
    BYTE mode = 0;
    BYTE delay = 0;
    ar >> mode >> delay;
    Set(mode, delay);
}

void DDX_ModeRadio(CDataExchange* pDX, int nIDC, CModeDelay& value)
{
    int button = ButtonOfMode(value.GetMode());
    DDX_Radio(pDX, nIDC, button);
    if (!pDX->m_bSaveAndValidate || button < 0 || button >= int(kModeOfButton.size())) return;
    CModeDelay chosen(value);
    chosen.SetMode(kModeOfButton[std::size_t(button)]);
    pDX->Store(value, chosen);
}

void DDV_Delay(CDataExchange* pDX, const CModeDelay& value)
{
    DDV_MinMaxByte(pDX, value.GetDelay(), CModeDelay::kMinDelay, CModeDelay::kMaxDelay);
}
