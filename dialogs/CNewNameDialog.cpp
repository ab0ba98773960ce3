#include "dialogs/CNewNameDialog.h"

IMPLEMENT_DYNAMIC(CNewNameDialog, CEntryNameDialog)

namespace {
constexpr UINT IDD_NEW_ENTRY_NAME = 123;
} // namespace

CNewNameDialog::CNewNameDialog(CWnd* pParentWnd) : CEntryNameDialog(IDD_NEW_ENTRY_NAME, pParentWnd) {}
