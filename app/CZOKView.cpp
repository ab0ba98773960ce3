#include "app/CZOKView.h"

IMPLEMENT_DYNCREATE(CZOKView, CCommonView)
