#include "app/CZOKDoc.h"

#include "device/CLoginDialog.h"
#include "framework/ui/CCmdUI.h"

int CZOKDoc::TransferToDevice() { return CCommonDoc::TransferToDevice(); }
int CZOKDoc::ConfirmTransfer(int nAccepted) { return CCommonDoc::ConfirmTransfer(nAccepted); }
int CZOKDoc::PreparePrint(int nKind) { return CCommonDoc::PreparePrint(nKind); }
void CZOKDoc::EndPrint(int nKind) { CCommonDoc::EndPrint(nKind); }

void CZOKDoc::OnFieldTransfer() {}

void CZOKDoc::OnUpdateFieldTransfer(CCmdUI* pCmdUI)
{
    EnableIdleCommand(pCmdUI, *this, theLoginDialog.CanRunFieldSession(), GetCurrentObject() != nullptr);
}
