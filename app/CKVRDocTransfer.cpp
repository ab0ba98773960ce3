#include "app/CKVRDoc.h"

#include "device/CLoginDialog.h"
#include "framework/ui/CCmdUI.h"

int CKVRDoc::TransferToDevice() { return CCommonDoc::TransferToDevice(); }
int CKVRDoc::ConfirmTransfer(int nAccepted) { return CCommonDoc::ConfirmTransfer(nAccepted); }
int CKVRDoc::PreparePrint(int nKind) { return CCommonDoc::PreparePrint(nKind); }
void CKVRDoc::EndPrint(int nKind) { CCommonDoc::EndPrint(nKind); }

void CKVRDoc::OnFieldTransfer() {}

void CKVRDoc::OnUpdateFieldTransfer(CCmdUI* pCmdUI)
{
    EnableIdleCommand(pCmdUI, *this, theLoginDialog.CanRunFieldSession(), GetCurrentObject() != nullptr);
}
