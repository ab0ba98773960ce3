#pragma once
// The vertex table of a contour field: one row per vertex (angle and distance, or x and
// y), with add, edit and delete of points and ten steps of undo and redo. Every change
// goes into the field at once and is shown by the owner; Cancel only clears the
// selection, so the changes made stay.
#include "dialogs/controls/CColumnListBox.h"
#include "framework/ui/CButton.h"
#include "framework/ui/CDialog.h"
#include "model/CObjectStack.h"
#include "model/CSensorPoint.h"

#include <functional>
#include <memory>

class CPolyShelter;

class CPolyShelterDialog : public CDialog {
public:
    enum { IDD = 148 };
    // Display modes of the vertex table.
    static constexpr int kCartesian = 0;
    static constexpr int kPolar = 1;

    CPolyShelterDialog(CPolyShelter* pField, int displayMode, BOOL inch, CWnd* pParent = nullptr);
    ~CPolyShelterDialog() override;

    // Told after every change of the field: a window is redrawn, and the handler runs.
    void SetOwnerToNotify(CObject* pOwner) { m_pOwner = pOwner; }
    void SetChangeHandler(std::function<void()> handler) { m_onChange = std::move(handler); }

    BOOL OnInitDialog() override;

    // Two columns of half the list's width, titled by the display mode (946 x and y,
    // 947 angle and distance).
    static void SetUpVertexColumns(CColumnListBox& list, int displayMode);
    // One row per vertex in beam order; the row's data is the beam index, and the rows of
    // selected vertices are selected.
    static void FillVertexList(CColumnListBox& list, const CPolyShelter& field, int displayMode, BOOL inch);

protected:
    void OnCancel() override;
    afx_msg void OnAddPoint();
    afx_msg void OnEditPoint();
    afx_msg void OnDelete();
    afx_msg void OnUndo();
    afx_msg void OnRedo();
    afx_msg void OnSelChangeList();

private:
    void Refresh();
    void UpdateButtons();
    void NotifyOwner();
    // Runs a change as one undo step. A change that returns false left the field as it
    // was: no step, no modified mark.
    bool ApplyChange(const std::function<bool()>& change);
    // Sets the point as a new vertex (after removing the old one when given); a point
    // outside the sensor range is refused with message 308.
    void PlaceVertex(const CSensorPoint& point, const CSensorPoint* pOld);
    // The one selected beam, or -1.
    int SingleSelectedBeam() const;
    bool AskPolarPoint(CSensorPoint& point, bool angleFixed);
    bool AskCartesianPoint(CSensorPoint& point);
    void Restore(CObject* snapshot);

    CPolyShelter* m_pField;
    int m_nUnit = 0;
    int m_nDisplayMode;
    BOOL m_bInch;
    CObject* m_pOwner = nullptr;
    std::function<void()> m_onChange;
    CButton m_btnDelete;
    CButton m_btnEditPoint;
    CButton m_btnAddPoint;
    CButton m_btnUndo;
    CButton m_btnRedo;
    CColumnListBox m_list;
    CObjectStack m_stack{10};

    DECLARE_MESSAGE_MAP()
};
