#include "dialogs/CRenameDialog.h"

IMPLEMENT_DYNAMIC(CRenameDialog, CEntryNameDialog)

namespace {
constexpr UINT IDD_RENAME_ENTRY = 122;
} // namespace

CRenameDialog::CRenameDialog(CWnd* pParentWnd) : CEntryNameDialog(IDD_RENAME_ENTRY, pParentWnd) {}
