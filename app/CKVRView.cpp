#include "app/CKVRView.h"

IMPLEMENT_DYNCREATE(CKVRView, CCommonView)
