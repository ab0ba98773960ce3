#include "app/COldStatusBar.h"

IMPLEMENT_DYNAMIC(COldStatusBar, CStatusBar)
