#include "dialogs/CShelterShapesPageBase.h"

#include "dialogs/CShelterWizardPage.h"
#include "dialogs/CZOKConfigWizardPage.h"

template <class PageBase>
void CShelterShapesPageBase<PageBase>::DoDataExchange(CDataExchange* pDX)
{
    PageBase::DoDataExchange(pDX);
    if (CShelterShapes* shapes = GetShapes()) DDX_ShelterShapes(pDX, *shapes);
}

template <class PageBase>
BOOL CShelterShapesPageBase<PageBase>::OnInitDialog()
{
    PageBase::OnInitDialog();
    EnableSizeButtons();
    return TRUE;
}

template <class PageBase>
BOOL CShelterShapesPageBase<PageBase>::OnSetActive()
{
    this->SetWizardButtons(CWizardPage::kButtonsBackNext);
    const BOOL result = PageBase::OnSetActive();
    EnableSizeButtons();
    return result;
}

template <class PageBase>
void CShelterShapesPageBase<PageBase>::OnShapeChanged()
{
    if (GetShapes() && this->UpdateData(TRUE)) EnableSizeButtons();
}

// The message maps route both sizes buttons as one range.
static_assert(CShelterShapes::IDC_WARNING_SIZES == CShelterShapes::IDC_PROTECTIVE_SIZES + 1);

template <class PageBase>
void CShelterShapesPageBase<PageBase>::OnSizes(UINT nID)
{
    CShelterShapes* shapes = GetShapes();
    const CSensorType* type = GetShapesType();
    if (!shapes || !type || !this->UpdateData(TRUE)) return;
    const int kind = nID == CShelterShapes::IDC_PROTECTIVE_SIZES ? CShelterShapes::kProtectiveKind
                                                                  : CShelterShapes::kWarningKind;
    shapes->EditSizes(kind, this, *type);
}

template <class PageBase>
void CShelterShapesPageBase<PageBase>::EnableSizeButtons()
{
    if (const CShelterShapes* shapes = GetShapes()) EnableShelterSizeButtons(*this, *shapes);
}

template class CShelterShapesPageBase<CShelterWizardPage>;
template class CShelterShapesPageBase<CZOKConfigWizardPage>;
