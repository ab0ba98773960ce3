// The dialog keyboard driven with real key events: access keys of labels, group boxes
// and buttons (with Alt, and alone where the focus takes no characters), Return and the
// default button, and the focus a user can see.
#include "DialogTestSupport.h"
#include "support/TypedKeys.h"

#include "framework/ui/CDialog.h"
#include "framework/ui/CPropertyPage.h"
#include "framework/ui/CPropertySheet.h"
#include "framework/ui/CStatic.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <string>

using namespace dialogtest;

namespace {

class KeysDialog : public CDialog {
public:
    KeysDialog() : CDialog(IDD_KEYS) {}
    int okPresses = 0;
    int applied = 0;

    void OnOK() override { ++okPresses; }

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        SetDlgItemText(IDC_NAME, "Field");
        SetDlgItemText(IDC_LISTING, "line 1\r\nline 2");
        SetDlgItemText(IDC_NOTES, "note");
        return TRUE;
    }
    void OnApply() { ++applied; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(KeysDialog, CDialog)
    ON_BN_CLICKED(IDC_APPLY, OnApply)
END_MESSAGE_MAP()

class DialogWindowTest : public DialogTestBase {
protected:
    // Runs the dialog with the script; the script's dialog is open, shown and active.
    void Run(const std::function<void(KeysDialog&, DialogDriver&)>& script)
    {
        ScriptedUi ui;
        KeysDialog dialog;
        ui.QueueModal([&](CWnd&) {
            DialogDriver driver(dialog);
            script(dialog, driver);
            driver.Cancel();
        });
        dialog.DoModal();
    }
};

TEST_F(DialogWindowTest, AltAndAnAccessKeyActOnItsControlAndNeverType)
{
    const struct {
        const char* name;
        char key;
        int focusAfter;
        int applied;
        int checked;
    } cases[] = {
        {"label before an edit", 'n', IDC_NAME, 0, BST_UNCHECKED},
        {"label before a listing", 'l', IDC_LISTING, 0, BST_UNCHECKED},
        {"label before a multi-line edit", 'o', IDC_NOTES, 0, BST_UNCHECKED},
        {"group box: its first tab stop", 'p', IDC_ENABLED, 0, BST_UNCHECKED},
        {"check box: focused and checked", 'e', IDC_ENABLED, 0, BST_CHECKED},
        {"push button: pressed", 'a', IDC_APPLY, 1, BST_UNCHECKED},
        {"capital letter", 'O', IDC_NOTES, 0, BST_UNCHECKED},
        {"disabled label: nothing", 'd', IDC_COUNT, 0, BST_UNCHECKED},
        {"no such key: nothing", 'z', IDC_COUNT, 0, BST_UNCHECKED},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Run([&](KeysDialog& dialog, DialogDriver& driver) {
            ASSERT_TRUE(driver.Focus(IDC_COUNT));
            ASSERT_TRUE(typedkeys::Alt(c.key));
            EXPECT_EQ(driver.FocusId(), c.focusAfter);
            EXPECT_EQ(dialog.applied, c.applied);
            EXPECT_EQ(driver.Check(IDC_ENABLED), c.checked);
            EXPECT_EQ(driver.Text(IDC_COUNT), "");
            EXPECT_EQ(driver.Text(IDC_NAME), "Field");
            EXPECT_EQ(driver.Text(IDC_NOTES), "note");
        });
    }
}

TEST_F(DialogWindowTest, FieldReachedByItsLabelTakesWhatIsTypedNext)
{
    Run([](KeysDialog&, DialogDriver& driver) {
        ASSERT_TRUE(driver.Focus(IDC_COUNT));
        typedkeys::Alt('n');
        typedkeys::Type("Box_2");
        EXPECT_EQ(driver.Text(IDC_NAME), "Box_2"); // the old text was selected and typed over
        EXPECT_EQ(driver.Text(IDC_COUNT), "");
    });
}

TEST_F(DialogWindowTest, KeyAloneIsAnAccessKeyOnlyWhereTheFocusTakesNoCharacters)
{
    const struct {
        const char* name;
        int focus;
        char key;
        int focusAfter;
        const char* nameText;
    } cases[] = {
        {"push button", IDC_APPLY, 'n', IDC_NAME, "Field"},
        {"check box", IDC_ENABLED, 'o', IDC_NOTES, "Field"},
        {"edit types it", IDC_NAME, 'l', IDC_NAME, "l"},
        {"combo box keeps it", IDC_KIND, 'n', IDC_KIND, "Field"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Run([&](KeysDialog&, DialogDriver& driver) {
            ASSERT_TRUE(driver.Focus(c.focus));
            typedkeys::Letter(c.key);
            EXPECT_EQ(driver.FocusId(), c.focusAfter);
            EXPECT_EQ(driver.Text(IDC_NAME), c.nameText);
        });
    }
}

TEST_F(DialogWindowTest, ReturnPressesTheDefaultButtonWhateverHasTheFocus)
{
    const struct {
        const char* name;
        int focus;
        int okPresses;
        int applied;
        const char* notes;
    } cases[] = {
        {"edit", IDC_NAME, 1, 0, "note"},
        {"read-only listing", IDC_LISTING, 1, 0, "note"},
        {"check box", IDC_ENABLED, 1, 0, "note"},
        {"combo box", IDC_KIND, 1, 0, "note"},
        {"another push button presses itself", IDC_APPLY, 0, 1, "note"},
        {"multi-line edit that wants Return", IDC_NOTES, 0, 0, "\r\nnote"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Run([&](KeysDialog& dialog, DialogDriver& driver) {
            ASSERT_TRUE(driver.Focus(c.focus));
            ::SendMessage(driver.Control(IDC_NOTES), EM_SETSEL, 0, 0);
            typedkeys::Return();
            EXPECT_EQ(dialog.okPresses, c.okPresses);
            EXPECT_EQ(dialog.applied, c.applied);
            EXPECT_EQ(driver.Text(IDC_NOTES), c.notes);
        });
    }
}

QImage Look(HWND control) { return AfxWidgetFromHandle(control)->grab().toImage(); }

TEST_F(DialogWindowTest, FocusShowsOnButtonsCheckBoxesListsAndListingsWithoutAKeyPressed)
{
    Run([](KeysDialog&, DialogDriver& driver) {
        for (const int id : {IDOK, IDC_APPLY, IDC_ENABLED, IDC_KIND, IDC_LISTING}) {
            SCOPED_TRACE(id);
            ASSERT_TRUE(driver.Focus(IDC_COUNT));
            const QImage unfocused = Look(driver.Control(id));
            ASSERT_TRUE(driver.Focus(id));
            EXPECT_NE(Look(driver.Control(id)), unfocused);
        }
    });
}

TEST_F(DialogWindowTest, LabelShowsItsAccessKeyUnderlinedUnlessNoPrefix)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "Labels", WS_POPUP, CRect(0, 0, 200, 100), nullptr, 0));
    CStatic keyed;
    CStatic plain;
    CStatic noPrefix;
    ASSERT_TRUE(keyed.Create("&Name:", WS_CHILD | WS_VISIBLE, CRect(0, 0, 80, 20), &parent, 1));
    ASSERT_TRUE(plain.Create("Name:", WS_CHILD | WS_VISIBLE, CRect(0, 30, 80, 50), &parent, 2));
    ASSERT_TRUE(noPrefix.Create("Name:", WS_CHILD | WS_VISIBLE | SS_NOPREFIX, CRect(0, 60, 80, 80), &parent, 3));
    EXPECT_NE(Look(keyed.m_hWnd), Look(plain.m_hWnd));
    EXPECT_EQ(Look(noPrefix.m_hWnd), Look(plain.m_hWnd));
    parent.DestroyWindow();
}

// A sheet's keyboard reaches the labels of the page shown, not those of hidden pages.
TEST_F(DialogWindowTest, SheetTakesTheAccessKeysOfItsShownPage)
{
    ScriptedUi ui;
    CPropertyPage first(IDD_PAGE_FIRST);
    CPropertyPage second(IDD_PAGE_SECOND);
    CPropertySheet sheet("Sheet");
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    ui.QueueModal([&](CWnd& dlg) {
        DialogDriver driver(dlg);
        ASSERT_TRUE(driver.Focus(IDC_PAGE_EDIT));
        typedkeys::Alt('v');
        EXPECT_EQ(driver.FocusId(), IDC_PAGE_EDIT);
        EXPECT_EQ(driver.Text(IDC_PAGE_EDIT), "");
        sheet.SetActivePage(1);
        DialogDriver::Pump();
        ASSERT_TRUE(driver.Focus(IDC_PAGE_EDIT));
        typedkeys::Alt('v');
        EXPECT_EQ(driver.FocusId(), IDC_PAGE_VALUE);
        EXPECT_EQ(driver.Text(IDC_PAGE_EDIT), "");
        driver.Cancel();
    });
    sheet.DoModal();
}

} // namespace
