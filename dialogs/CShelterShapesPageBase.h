#pragma once
// The page that asks for the shapes and sizes of a new protective and warning field, as
// the field wizard and the ZOK configuration wizard both show it: the two shape combo
// boxes and the two sizes buttons of CShelterShapes, each button enabled only while its
// shape has sizes. Back and Next.
#include "dialogs/CShelterShapes.h"

class CSensorType;

// PageBase: the wizard's page class.
template <class PageBase>
class CShelterShapesPageBase : public PageBase {
public:
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;

protected:
    explicit CShelterShapesPageBase(UINT nIDTemplate) : PageBase(nIDTemplate) {}

    // The shapes the page shows and the sensor type they are for; null while the page
    // has none (outside a wizard run).
    virtual CShelterShapes* GetShapes() = 0;
    virtual const CSensorType* GetShapesType() const = 0;

    void DoDataExchange(CDataExchange* pDX) override;
    // Takes the combos' values and enables the sizes buttons by them.
    void OnShapeChanged();
    // The sizes dialog of the field whose sizes button (nID) was clicked, after taking the
    // page's values.
    void OnSizes(UINT nID);

private:
    void EnableSizeButtons();
};
