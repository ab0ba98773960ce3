#include "app/COldStatusBar.h"

IMPLEMENT_DYNAMIC(COldStatusBar, CStatusBar)

BOOL COldStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    const BOOL allFound = CStatusBar::SetIndicators(lpIDArray, nIDCount);
    // A disabled pane draws no text; the handlers enable what they show.
    for (int i = 0; i < nIDCount; ++i) {
        if (GetItemID(i) != ID_SEPARATOR)
            SetPaneStyle(i, GetPaneStyle(i) | SBPS_DISABLED);
    }
    return allFound;
}
