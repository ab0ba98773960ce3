#pragma once
// What the field shapes need of their dialogs. The dialogs are built with controls that
// sit above the records, so the records reach them only through this editor, which the
// layer of the shape dialogs installs. Without an editor a shape opens nothing: its edit
// is not confirmed, it has no page, and a conversion that asks for a size gives no field.
#include "framework/core/WinTypes.h"

#include <memory>

class CArcShelter;
class CObject;
class CPolyShelter;
class CPropertyPage;
class CRectShelter;
class CShelter;
class CWnd;

class ShelterEditor {
public:
    virtual ~ShelterEditor() = default;

    // The shape's modal edit dialog; TRUE when the field may have changed.
    virtual BOOL EditArc(CArcShelter& field, CWnd* pParentWnd, BOOL inch) = 0;
    virtual BOOL EditRect(CRectShelter& field, CWnd* pParentWnd, BOOL inch) = 0;
    virtual BOOL EditPoly(CPolyShelter& field, CWnd* pParentWnd, int polarEntry, BOOL inch, CObject* pOwner) = 0;

    // A new page that shows the field, owned by the caller.
    virtual std::unique_ptr<CPropertyPage> CreateArcPage(CArcShelter& field, BOOL inch, UINT nIDCaption) = 0;
    virtual std::unique_ptr<CPropertyPage> CreateRectPage(CRectShelter& field, BOOL inch, UINT nIDCaption) = 0;
    virtual std::unique_ptr<CPropertyPage> CreatePolyPage(CPolyShelter& field, int polarEntry, BOOL inch,
                                                          UINT nIDCaption) = 0;

    // The new field of a conversion that asks the user for its size (see
    // ShelterConversions.h), or null.
    virtual std::unique_ptr<CShelter> AskConvertedShape(const CShelter& source, int code) = 0;
};

// The editor the shapes use: the installed one, else one that opens nothing.
ShelterEditor& GetShelterEditor();
// Makes editor (not owned; null for none) the one the shapes use and returns the one
// installed before (null for none).
ShelterEditor* InstallShelterEditor(ShelterEditor* editor);
