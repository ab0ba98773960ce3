#pragma once
// Drives a dialog, property sheet or wizard by control id as a user would, without a
// display: texts typed or replaced, buttons clicked, items chosen, keys pressed. Every
// action goes through the controls' own paths, so the dialog's handlers and
// notifications run as they do for a user. An action a user could not take (the
// control is missing, hidden or disabled) does nothing and answers false.
//
// Typical use in a test, with a ScriptedUi that hands modal dialogs to a script:
//     ui.QueueModal([](CWnd& dialog) {
//         DialogDriver driver(dialog);
//         driver.SetText(IDC_NAME, "Field 1");
//         driver.Click(IDOK);
//     });
//     EXPECT_EQ(dlg.DoModal(), IDOK);
#include "framework/core/CString.h"
#include "framework/ui/UiDefs.h"

class CWnd;

class DialogDriver {
public:
    explicit DialogDriver(CWnd& dialog);

    // The control with that id: a direct control of the dialog, else one on its shown
    // page (sheets and wizards); nullptr when there is none.
    HWND Control(int id) const;

    // What the user sees.
    CString Text(int id) const;
    bool Exists(int id) const { return Control(id) != nullptr; }
    bool IsEnabled(int id) const;
    bool IsVisible(int id) const;
    int Check(int id) const;          // BST_ state of a button
    int Selection(int id) const;      // selected index of a combo or list box, -1 for none
    int Count(int id) const;          // items of a combo or list box
    CString ItemText(int id, int index) const;
    int FocusId() const;              // id of the control with the focus, 0 for none

    // Replaces the whole text of an edit or editable combo, as typing over a selection does.
    bool SetText(int id, const char* text);
    // Types character by character (the control's character filter sees each one).
    bool Type(int id, const char* text);
    // Clicks a button, check box or radio button.
    bool Click(int id);
    // Chooses an item of a combo or list box (by index, or the first starting with text).
    bool Select(int id, int index);
    bool SelectString(int id, const char* text);
    // Adds or removes a row of a multiple-selection list box.
    bool ToggleSelection(int id, int index);
    bool DoubleClick(int id, int index);
    // Moves the focus to the control, as a click or Tab would.
    bool Focus(int id);
    // A key through the dialog keyboard: VK_RETURN, VK_ESCAPE, VK_TAB ...
    bool PressKey(int virtualKey);
    bool Enter();
    bool Escape();

    // Sheet and wizard buttons.
    bool Ok();
    bool Cancel();
    bool Apply();
    bool Next();
    bool Back();
    bool Finish();
    bool Help();

    // Runs the messages posted so far (SetWizardButtons posts), as the message loop
    // would between two user actions; every action above ends with it.
    static void Pump();

private:
    bool Usable(HWND control) const;
    HWND m_hDlg;
};
