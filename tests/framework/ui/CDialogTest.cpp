#include "DialogTestSupport.h"

#include "framework/ui/CDialog.h"
#include "framework/ui/CEdit.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/DDX.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include <string>
#include <vector>

using namespace dialogtest;

namespace {

// OK starts and stops a measurement; only the second press (or a handler's own code) closes.
class ToggleDialog : public CDialog {
public:
    ToggleDialog() : CDialog(IDD_EXCHANGE) {}
    int okPresses = 0;
    std::vector<std::string> events;

    void OnOK() override
    {
        if (++okPresses == 2) EndDialog(IDOK);
    }

protected:
    void OnEnabledClicked() { EndDialog(2086); }
    void OnNameKillFocus() { events.push_back("name left"); }
    void OnKindChange() { events.push_back("kind changed"); }
    void OnItemsDoubleClick() { events.push_back("items double-clicked"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ToggleDialog, CDialog)
    ON_BN_CLICKED(IDC_ENABLED, OnEnabledClicked)
    ON_EN_KILLFOCUS(IDC_NAME, OnNameKillFocus)
    ON_CBN_SELCHANGE(IDC_KIND, OnKindChange)
    ON_LBN_DBLCLK(IDC_ITEMS, OnItemsDoubleClick)
END_MESSAGE_MAP()

class CDialogTest : public DialogTestBase {};

TEST_F(CDialogTest, EnterReachesOnOkWhichDecidesWhetherToClose)
{
    ScriptedUi ui;
    ToggleDialog dialog;
    ui.QueueModal([&](CWnd&) {
        DialogDriver driver(dialog);
        driver.Focus(IDC_COUNT);
        driver.Enter();
        EXPECT_EQ(dialog.okPresses, 1);
        EXPECT_FALSE(dialog.IsEnded());
        driver.Enter();
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST_F(CDialogTest, EscapeAndCloseBoxCancelUnlessCancelIsDisabled)
{
    for (const bool disabled : {false, true}) {
        for (const bool closeBox : {false, true}) {
            SCOPED_TRACE(std::string(disabled ? "disabled" : "enabled") + (closeBox ? " close box" : " escape"));
            ScriptedUi ui;
            ToggleDialog dialog;
            ui.QueueModal([&](CWnd&) {
                DialogDriver driver(dialog);
                dialog.GetDlgItem(IDCANCEL)->EnableWindow(!disabled);
                if (closeBox)
                    dialog.SendMessage(WM_CLOSE);
                else
                    driver.Escape();
                EXPECT_EQ(dialog.IsEnded(), !disabled);
                if (disabled) dialog.EndDialog(7);
            });
            EXPECT_EQ(dialog.DoModal(), disabled ? 7 : IDCANCEL);
        }
    }
}

TEST_F(CDialogTest, ControlNotificationsReachTheMessageMap)
{
    ScriptedUi ui;
    ToggleDialog dialog;
    ui.QueueModal([&](CWnd&) {
        DialogDriver driver(dialog);
        dialog.SendDlgItemMessage(IDC_KIND, CB_ADDSTRING, 0, LPARAM("one"));
        dialog.SendDlgItemMessage(IDC_ITEMS, LB_ADDSTRING, 0, LPARAM("row"));
        driver.Focus(IDC_NAME);
        driver.Focus(IDC_COUNT);
        driver.Select(IDC_KIND, 0);
        driver.DoubleClick(IDC_ITEMS, 0);
        EXPECT_EQ(dialog.events, (std::vector<std::string>{"name left", "kind changed", "items double-clicked"}));
        driver.Click(IDC_ENABLED); // its handler ends the dialog with its own code
    });
    EXPECT_EQ(dialog.DoModal(), 2086);
}

// A subclassed edit filters what the user types; refused characters only beep.
class DigitsRefusingEdit : public CEdit {
public:
    int refused = 0;

protected:
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) override
    {
        if (nChar >= '0' && nChar <= '9') {
            ++refused;
            MessageBeep(UINT(-1));
            return;
        }
        CEdit::OnChar(nChar, nRepCnt, nFlags);
    }
};

class SubclassingDialog : public CDialog {
public:
    SubclassingDialog() : CDialog(IDD_EXCHANGE) {}
    DigitsRefusingEdit name;
    CString value;

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        EXPECT_TRUE(name.SubclassDlgItem(IDC_NAME, this));
        EXPECT_FALSE(CEdit().SubclassDlgItem(4711, this));
        return TRUE;
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_NAME, value); }
};

TEST_F(CDialogTest, SubclassedControlFiltersTypedCharacters)
{
    ScriptedUi ui;
    SubclassingDialog dialog;
    ui.QueueModal([&](CWnd&) {
        DialogDriver driver(dialog);
        driver.Type(IDC_NAME, "a1b22c");
        EXPECT_EQ(CWnd::FromHandlePermanent(driver.Control(IDC_NAME)), &dialog.name);
        driver.Ok();
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.value, "abc");
    EXPECT_EQ(dialog.name.refused, 3);
    EXPECT_FALSE(dialog.name.GetSafeHwnd()); // the control went with its dialog
}

// Automatic radio buttons clear the others of their group only; groups end at WS_GROUP.
TEST_F(CDialogTest, RadioGroupsFollowTheGroupStyle)
{
    ScriptedUi ui;
    CDialog dialog(IDD_EXCHANGE);
    ui.QueueModal([&](CWnd&) {
        DialogDriver driver(dialog);
        dialog.CheckRadioButton(IDC_MODE_A, IDC_MODE_C, IDC_MODE_A);
        dialog.CheckDlgButton(IDC_ENABLED, BST_CHECKED);
        EXPECT_EQ(dialog.GetCheckedRadioButton(IDC_MODE_A, IDC_MODE_C), IDC_MODE_A);
        driver.Click(IDC_MODE_C);
        EXPECT_EQ(dialog.GetCheckedRadioButton(IDC_MODE_A, IDC_MODE_C), IDC_MODE_C);
        EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_MODE_A), BST_UNCHECKED);
        EXPECT_EQ(dialog.IsDlgButtonChecked(IDC_ENABLED), BST_CHECKED); // before the group
        dialog.SetDlgItemInt(IDC_COUNT, 12);
        BOOL translated = FALSE;
        EXPECT_EQ(dialog.GetDlgItemInt(IDC_COUNT, &translated), 12u);
        EXPECT_TRUE(translated);
        driver.Cancel();
    });
    dialog.DoModal();
}

TEST_F(CDialogTest, MissingTemplateFailsAndMissingControlIsReported)
{
    CDialog missing(4711);
    EXPECT_EQ(missing.DoModal(), -1);

    // A class that exchanges a control its template lacks: a clear report, no crash.
    class WrongTemplate : public CDialog {
    public:
        WrongTemplate() : CDialog(IDD_PORT) {}
        int value = 3;

    protected:
        void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_COUNT, value); }
    };
    ScriptedUi ui;
    WrongTemplate wrong;
    EXPECT_EQ(wrong.DoModal(), -1);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text, "An unsupported operation was attempted.");
    EXPECT_EQ(ui.MessageBoxes()[0].flags, MB_ICONSTOP);
}

} // namespace

namespace {

// Without a script the real modal loop runs: Qt's own key events reach the dialog
// keyboard, and EndDialog ends the loop.
TEST_F(CDialogTest, RealModalLoopTakesQtKeysAndEndsOnEndDialog)
{
    ToggleDialog dialog;
    QTimer::singleShot(0, [&] {
        QWidget* edit = AfxWidgetFromHandle(dialog.GetDlgItem(IDC_COUNT)->GetSafeHwnd());
        ASSERT_NE(edit, nullptr);
        edit->setFocus();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QCoreApplication::sendEvent(edit, &press);
        EXPECT_EQ(dialog.okPresses, 1);
        QKeyEvent typed(QEvent::KeyPress, Qt::Key_7, Qt::NoModifier, QStringLiteral("7"));
        QCoreApplication::sendEvent(edit, &typed);
        EXPECT_EQ(dialog.GetDlgItem(IDC_COUNT)->GetWindowTextLength(), 1);
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(edit, &escape);
    });
    // Should the keys go astray, the test fails instead of waiting for ever.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] { dialog.EndDialog(-2); });
    guard.start(20000);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_FALSE(dialog.GetSafeHwnd());
}

} // namespace

namespace {

// Dialogs open over the window they belong to and never beyond the screen's free area.
class DialogPlacementTest : public DialogTestBase {
protected:
    void SetUp() override
    {
        DialogTestBase::SetUp();
        mainWindow.CreateEx(0, nullptr, "Main", WS_OVERLAPPEDWINDOW, CRect(0, 0, 10, 10), nullptr, 0);
        app.m_pMainWnd = &mainWindow;
    }
    void TearDown() override
    {
        app.m_pMainWnd = nullptr;
        mainWindow.DestroyWindow();
        DialogTestBase::TearDown();
    }

    // The dialog's screen rectangle while it runs.
    CRect RunAndMeasure(CDialog& dialog)
    {
        CRect shown;
        ui.QueueModal([&](CWnd& running) { running.GetWindowRect(&shown); });
        dialog.DoModal();
        return shown;
    }

    static CRect Available()
    {
        return CRect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    }

    CWinApp app;
    CWnd mainWindow;
    ScriptedUi ui;
};

TEST_F(DialogPlacementTest, OpensCentredOverItsOwnerOrTheMainWindowAndInsideTheScreen)
{
    const CRect screen = Available();
    struct Case {
        const char* name;
        CRect mainRect;
        bool ownerGiven;
        bool centred; // else only pushed inside the screen
    };
    for (const Case& c : {Case{"owner given", CRect(100, 80, 700, 560), true, true},
                          Case{"no owner: the main window", CRect(200, 100, 800, 600), false, true},
                          Case{"owner narrower than the dialog at the screen's edge", CRect(0, 0, 120, 90), true, false},
                          Case{"owner off the bottom right", CRect(screen.right - 60, screen.bottom - 40,
                                                                  screen.right + 300, screen.bottom + 300),
                               false, false}}) {
        SCOPED_TRACE(c.name);
        mainWindow.MoveWindow(&c.mainRect);
        mainWindow.ShowWindow(SW_SHOW);
        CRect owner;
        mainWindow.GetWindowRect(&owner);
        CDialog dialog(IDD_EXCHANGE, c.ownerGiven ? &mainWindow : nullptr);
        const CRect shown = RunAndMeasure(dialog);
        ASSERT_FALSE(shown.IsRectEmpty());
        EXPECT_GE(shown.left, screen.left);
        EXPECT_GE(shown.top, screen.top);
        EXPECT_LE(shown.right, screen.right);
        EXPECT_LE(shown.bottom, screen.bottom);
        if (c.centred) {
            EXPECT_NEAR(shown.CenterPoint().x, owner.CenterPoint().x, 1);
            EXPECT_NEAR(shown.CenterPoint().y, owner.CenterPoint().y, 1);
        }
    }
}

// A dialog that places itself keeps its place, inside the screen.
class SelfCentringDialog : public CDialog {
public:
    SelfCentringDialog(CWnd* parent) : CDialog(IDD_EXCHANGE, parent) {}
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        CenterWindow();
        return TRUE;
    }
};

TEST_F(DialogPlacementTest, CentringOverAnOwnerNarrowerThanTheDialogStaysOnTheScreen)
{
    mainWindow.MoveWindow(0, 0, 100, 80);
    mainWindow.ShowWindow(SW_SHOW);
    SelfCentringDialog dialog(&mainWindow);
    const CRect shown = RunAndMeasure(dialog);
    EXPECT_GT(shown.Width(), 100);
    EXPECT_EQ(shown.left, 0) << "not at a negative x";
    EXPECT_EQ(shown.top, 0);
}

} // namespace
