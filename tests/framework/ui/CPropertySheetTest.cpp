#include "DialogTestSupport.h"

#include "framework/ui/CPropertySheet.h"
#include "framework/ui/CPropertySheetTabs.h"
#include "framework/ui/DDX.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "support/TypedKeys.h"

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

using namespace dialogtest;

namespace {

using Log = std::vector<std::string>;

// A page that writes down every handler the sheet calls, by the page's name.
class RecordingPage : public CPropertyPage {
public:
    RecordingPage(UINT templateId, Log& log, std::string name, DWORD wizardButtons = PSWIZB_BACK | PSWIZB_NEXT)
        : CPropertyPage(templateId), m_log(log), m_name(std::move(name)), m_buttons(wizardButtons)
    {
    }

    CString m_text;
    LRESULT m_nextAnswer = 0;
    LRESULT m_backAnswer = 0;
    BOOL m_refuseActivation = FALSE;
    int m_maxLength = 20;

    BOOL OnInitDialog() override
    {
        Record("init");
        return CPropertyPage::OnInitDialog();
    }
    BOOL OnSetActive() override
    {
        Record("set");
        if (m_refuseActivation) return FALSE;
        auto* sheet = static_cast<CPropertySheet*>(GetParent());
        if (sheet->IsWizard()) sheet->SetWizardButtons(m_buttons);
        return CPropertyPage::OnSetActive();
    }
    BOOL OnKillActive() override
    {
        Record("kill");
        return CPropertyPage::OnKillActive();
    }
    LRESULT OnWizardNext() override
    {
        Record("next");
        return m_nextAnswer;
    }
    LRESULT OnWizardBack() override
    {
        Record("back");
        return m_backAnswer;
    }
    BOOL OnWizardFinish() override
    {
        Record("finish");
        return CPropertyPage::OnWizardFinish();
    }
    BOOL OnApply() override
    {
        Record("apply");
        return CPropertyPage::OnApply();
    }
    BOOL OnQueryCancel() override
    {
        Record("querycancel");
        return CPropertyPage::OnQueryCancel();
    }
    void OnReset() override
    {
        Record("reset");
        CPropertyPage::OnReset();
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        Record(pDX->m_bSaveAndValidate ? "save" : "load");
        if (!GetDlgItem(IDC_PAGE_EDIT)) return; // a page of text only
        DDX_Text(pDX, IDC_PAGE_EDIT, m_text);
        DDV_MaxChars(pDX, m_text, m_maxLength);
    }

private:
    void Record(const char* what) { m_log.push_back(std::string(what) + " " + m_name); }

    Log& m_log;
    std::string m_name;
    DWORD m_buttons;
};

class CPropertySheetTest : public DialogTestBase {
protected:
    Log log;
    RecordingPage first{IDD_PAGE_FIRST, log, "A", PSWIZB_NEXT};
    RecordingPage second{IDD_PAGE_SECOND, log, "B", PSWIZB_BACK | PSWIZB_NEXT};
    RecordingPage third{IDD_PAGE_THIRD, log, "C", PSWIZB_BACK | PSWIZB_FINISH};

    void AddPages(CPropertySheet& sheet)
    {
        sheet.AddPage(&first);
        sheet.AddPage(&second);
        sheet.AddPage(&third);
    }
};

TEST_F(CPropertySheetTest, WizardCallsThePageHandlersInTheClassicOrder)
{
    ScriptedUi ui;
    CPropertySheet wizard("Wizard");
    AddPages(wizard);
    wizard.SetWizardMode();
    ui.QueueModal([&](CWnd& dlg) {
        DialogDriver driver(dlg);
        // First page: Next only.
        EXPECT_FALSE(driver.IsEnabled(ID_WIZBACK));
        EXPECT_TRUE(driver.IsEnabled(ID_WIZNEXT));
        EXPECT_FALSE(driver.IsVisible(ID_WIZFINISH));
        EXPECT_TRUE(driver.SetText(IDC_PAGE_EDIT, "one"));
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.Back());
        EXPECT_EQ(driver.Text(IDC_PAGE_EDIT), "one");
        EXPECT_TRUE(driver.Next());
        EXPECT_TRUE(driver.IsEnabled(ID_WIZBACK));
        EXPECT_FALSE(driver.Finish()); // not offered before the last page
        EXPECT_TRUE(driver.SetText(IDC_PAGE_EDIT, "two"));
        EXPECT_TRUE(driver.Next());
        // Last page: Back and Finish, Finish in the place of Next.
        EXPECT_FALSE(driver.IsVisible(ID_WIZNEXT));
        EXPECT_TRUE(driver.IsEnabled(ID_WIZFINISH));
        EXPECT_TRUE(driver.Finish());
    });
    EXPECT_EQ(wizard.DoModal(), ID_WIZFINISH);
    const Log expected = {"init A", "load A", "set A",                                   // opening
                          "next A", "kill A", "save A", "init B", "load B", "set B",   // Next
                          "back B", "kill B", "save B", "set A", "load A",             // Back
                          "next A", "kill A", "save A", "set B", "load B",             // Next
                          "next B", "kill B", "save B", "init C", "load C", "set C",   // Next
                          "finish C"};                                                 // Finish
    EXPECT_EQ(log, expected);
    EXPECT_EQ(first.m_text, "one");
    EXPECT_EQ(second.m_text, "two");
    EXPECT_FALSE(wizard.GetSafeHwnd());
}

// Next answering a page's template id goes straight there; a page that refuses to be
// shown is passed in the direction of travel.
TEST_F(CPropertySheetTest, WizardSkipsPagesByTemplateIdAndByRefusal)
{
    ScriptedUi ui;
    CPropertySheet wizard("Wizard");
    AddPages(wizard);
    wizard.SetWizardMode();
    first.m_nextAnswer = LRESULT(IDD_PAGE_THIRD);
    ui.QueueModal([&](CWnd& dlg) {
        DialogDriver driver(dlg);
        driver.Next();
        EXPECT_EQ(wizard.GetActivePage(), &third);
        EXPECT_FALSE(second.GetSafeHwnd()); // never made
        second.m_refuseActivation = TRUE;
        driver.Back();
        EXPECT_EQ(wizard.GetActivePage(), &first);
        driver.Cancel();
    });
    EXPECT_EQ(wizard.DoModal(), IDCANCEL);
    const Log expected = {"init A", "load A", "set A",
                          "next A", "kill A", "save A", "init C", "load C", "set C",
                          "back C", "kill C", "save C", "init B", "load B", "set B", "set A", "load A",
                          "querycancel A", "reset A", "reset B", "reset C"};
    EXPECT_EQ(log, expected);
}

// A value that fails its check keeps the page; -1 from a wizard handler keeps it too.
TEST_F(CPropertySheetTest, WizardStaysOnAPageThatRefusesToBeLeft)
{
    ScriptedUi ui;
    CPropertySheet wizard("Wizard");
    AddPages(wizard);
    wizard.SetWizardMode();
    first.m_maxLength = 3;
    ui.QueueModal([&](CWnd& dlg) {
        DialogDriver driver(dlg);
        driver.SetText(IDC_PAGE_EDIT, "too long");
        driver.Next();
        EXPECT_EQ(wizard.GetActivePage(), &first);
        EXPECT_EQ(driver.FocusId(), IDC_PAGE_EDIT);
        driver.SetText(IDC_PAGE_EDIT, "ok");
        first.m_nextAnswer = -1;
        driver.Next();
        EXPECT_EQ(wizard.GetActivePage(), &first);
        driver.Escape();
    });
    EXPECT_EQ(wizard.DoModal(), IDCANCEL);
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].text, "Please enter no more than 3 characters.");
    EXPECT_EQ(first.m_text, "");
}

TEST_F(CPropertySheetTest, TabbedSheetAppliesTheShownPagesOnOk)
{
    ScriptedUi ui;
    CPropertySheet sheet("Options");
    AddPages(sheet);
    ui.QueueModal([&](CWnd& dlg) {
        DialogDriver driver(dlg);
        EXPECT_FALSE(driver.IsEnabled(ID_APPLY_NOW));
        driver.SetText(IDC_PAGE_EDIT, "x");
        first.SetModified();
        EXPECT_TRUE(driver.IsEnabled(ID_APPLY_NOW));
        EXPECT_TRUE(sheet.SetActivePage(1));
        EXPECT_EQ(sheet.GetActiveIndex(), 1);
        driver.SetText(IDC_PAGE_EDIT, "y");
        driver.Enter(); // OK is the default button
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    const Log expected = {"init A", "load A", "set A", "kill A", "save A", "init B", "load B", "set B",
                          "kill B", "save B", "apply A", "apply B"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(first.m_text, "x");
    EXPECT_EQ(second.m_text, "y");
}

// The tab text comes from the caption string when the page names one.
TEST_F(CPropertySheetTest, PageCaptionFromStringIdOrTemplate)
{
    CPropertyPage named(IDD_PAGE_SECOND, IDS_PAGE_SECOND);
    CPropertyPage plain(IDD_PAGE_SECOND);
    EXPECT_EQ(named.GetCaption(), "Second page");
    EXPECT_EQ(plain.GetCaption(), "Template caption");
}

// A sheet that takes over Apply in its own message map gets the click; the pages do not.
class ApplyTakingSheet : public CPropertySheet {
public:
    using CPropertySheet::CPropertySheet;
    int applies = 0;

protected:
    void OnApplyNow() { ++applies; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ApplyTakingSheet, CPropertySheet)
    ON_COMMAND(ID_APPLY_NOW, OnApplyNow)
END_MESSAGE_MAP()

TEST_F(CPropertySheetTest, SheetMessageMapComesBeforeTheDefaultButtons)
{
    ScriptedUi ui;
    ApplyTakingSheet sheet("Options");
    sheet.AddPage(&first);
    ui.QueueModal([&](CWnd& dlg) {
        DialogDriver driver(dlg);
        dlg.GetDlgItem(ID_APPLY_NOW)->EnableWindow(TRUE);
        EXPECT_TRUE(driver.Apply());
        driver.Cancel();
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(sheet.applies, 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "apply A"), 0);
}

} // namespace

namespace {

// The last page of a wizard: Back and Finish, with Finish relabelled; Help reaches the page.
class ClosingPage : public RecordingPage {
public:
    using RecordingPage::RecordingPage;
    int helps = 0;

    BOOL OnSetActive() override
    {
        const BOOL shown = RecordingPage::OnSetActive();
        static_cast<CPropertySheet*>(GetParent())->SetFinishText("OK");
        return shown;
    }

protected:
    void OnHelp() { ++helps; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ClosingPage, RecordingPage)
    ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

TEST_F(CPropertySheetTest, FinishTextShowsFinishAndKeepsBack)
{
    ScriptedUi ui;
    ClosingPage closing(IDD_PAGE_THIRD, log, "C", PSWIZB_BACK | PSWIZB_FINISH);
    CPropertySheet wizard("Wizard");
    wizard.AddPage(&first);
    wizard.AddPage(&closing);
    wizard.SetWizardMode();
    wizard.m_psh.dwFlags |= PSH_HASHELP;
    ui.QueueModal([&](CWnd& dlg) {
        DialogDriver driver(dlg);
        driver.Next();
        EXPECT_EQ(driver.Text(ID_WIZFINISH), "OK");
        EXPECT_TRUE(driver.IsEnabled(ID_WIZFINISH));
        EXPECT_FALSE(driver.IsVisible(ID_WIZNEXT));
        EXPECT_TRUE(driver.IsEnabled(ID_WIZBACK));
        EXPECT_TRUE(driver.Help());
        EXPECT_EQ(closing.helps, 1);
        driver.Enter(); // Finish is the default button now
    });
    EXPECT_EQ(wizard.DoModal(), ID_WIZFINISH);
}

} // namespace

namespace {

void ClickAt(QWidget* widget, const QPoint& point)
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(point), QPointF(widget->mapToGlobal(point)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
}

// More tabs than one row holds wrap onto further rows: every tab lies wholly in sight,
// none covers another, the chosen tab's row lies next to the page, and a click on a tab
// of another row shows that page and brings its row down.
TEST_F(CPropertySheetTest, TabsWrapOntoRowsSoEveryPageStaysReachable)
{
    ScriptedUi ui;
    CPropertySheet sheet("Many pages");
    const UINT templates[] = {IDD_PAGE_FIRST, IDD_PAGE_SECOND, IDD_PAGE_THIRD};
    std::vector<std::unique_ptr<CPropertyPage>> pages;
    for (int i = 0; i < 9; ++i) {
        pages.push_back(std::make_unique<CPropertyPage>(templates[i % 3]));
        sheet.AddPage(pages.back().get());
    }
    ui.QueueModal([&](CWnd& wnd) {
        QWidget* window = AfxWidgetFromHandle(wnd.GetSafeHwnd());
        auto* tabs = window->findChild<CPropertySheetTabs*>();
        ASSERT_NE(tabs, nullptr);
        ASSERT_EQ(tabs->Count(), 9);
        EXPECT_GT(tabs->RowCount(), 1);
        const auto checkLayout = [&](int chosen) {
            EXPECT_EQ(tabs->Current(), chosen);
            for (int i = 0; i < tabs->Count(); ++i) {
                const QRect tab = tabs->TabRect(i);
                EXPECT_TRUE(tabs->rect().contains(tab)) << "tab " << i << " out of sight";
                for (int j = i + 1; j < tabs->Count(); ++j)
                    EXPECT_FALSE(tab.intersects(tabs->TabRect(j))) << "tabs " << i << " and " << j;
                EXPECT_LE(tab.bottom(), tabs->TabRect(chosen).bottom()) << "tab " << i << " below the chosen row";
            }
            CRect page;
            sheet.GetActivePage()->GetWindowRect(&page);
            sheet.ScreenToClient(&page);
            EXPECT_GE(page.top, tabs->geometry().bottom());
        };
        checkLayout(0);

        const QRect topTab = tabs->TabRect(8);
        ASSERT_LT(topTab.bottom(), tabs->TabRect(0).top()) << "the last tab should start in an upper row";
        ClickAt(tabs, topTab.center());
        EXPECT_EQ(sheet.GetActiveIndex(), 8);
        checkLayout(8);
        DialogDriver(wnd).Cancel();
    });
    sheet.DoModal();
}

} // namespace

namespace {

using typedkeys::TypeKey;

QWidget* FocusWidget() { return QApplication::focusWidget(); }

QWidget* ControlWidget(CWnd& sheet, int id)
{
    HWND control = DialogDriver(sheet).Control(id);
    return control ? AfxWidgetFromHandle(control) : nullptr;
}

CPropertySheetTabs* TabStrip(CWnd& sheet)
{
    return AfxWidgetFromHandle(sheet.GetSafeHwnd())->findChild<CPropertySheetTabs*>();
}

// The page keys turn the pages round both ends, from a page control or from the strip;
// a page that refuses to be left keeps its place as it does against a click on a tab.
TEST_F(CPropertySheetTest, PageKeysTurnThePagesRoundTheEndsUnlessThePageRefuses)
{
    struct Case {
        const char* name;
        int key;
        Qt::KeyboardModifiers modifiers;
        int step;
    };
    const Case cases[] = {
        {"Ctrl+Tab", Qt::Key_Tab, Qt::ControlModifier, 1},
        {"Ctrl+PageDown", Qt::Key_PageDown, Qt::ControlModifier, 1},
        {"Ctrl+Shift+Tab", Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier, -1},
        {"Ctrl+PageUp", Qt::Key_PageUp, Qt::ControlModifier, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Log pageLog;
        RecordingPage pages[] = {{IDD_PAGE_FIRST, pageLog, "A"}, {IDD_PAGE_SECOND, pageLog, "B"}, {IDD_PAGE_THIRD, pageLog, "C"}};
        ScriptedUi ui;
        CPropertySheet sheet("Options");
        for (RecordingPage& page : pages) sheet.AddPage(&page);
        ui.QueueModal([&](CWnd& dlg) {
            DialogDriver driver(dlg);
            EXPECT_EQ(FocusWidget(), ControlWidget(dlg, IDC_PAGE_EDIT));
            std::vector<int> shown;
            for (int i = 0; i < 4; ++i) {
                TypeKey(c.key, c.modifiers);
                shown.push_back(sheet.GetActiveIndex());
            }
            const std::vector<int> expected = c.step > 0 ? std::vector<int>{1, 2, 0, 1} : std::vector<int>{2, 1, 0, 2};
            EXPECT_EQ(shown, expected);
            EXPECT_EQ(FocusWidget(), ControlWidget(dlg, IDC_PAGE_EDIT)) << "the new page's first tab stop";

            // From the strip the keys work alike and the strip keeps the focus.
            TabStrip(dlg)->setFocus();
            TypeKey(c.key, c.modifiers);
            EXPECT_EQ(sheet.GetActiveIndex(), (expected.back() + c.step + 3) % 3);
            EXPECT_EQ(FocusWidget(), TabStrip(dlg));

            // A page whose value does not pass stays, with its message.
            CPropertyPage* refusing = sheet.GetActivePage();
            static_cast<RecordingPage*>(refusing)->m_maxLength = 3;
            driver.SetText(IDC_PAGE_EDIT, "too long");
            TypeKey(c.key, c.modifiers);
            EXPECT_EQ(sheet.GetActivePage(), refusing);
            EXPECT_EQ(ui.MessageBoxes().size(), 1u);
            driver.Cancel();
        });
        EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    }
}

// The strip is a tab stop before the page, the buttons follow the page; with the focus
// the strip shows it and its arrow keys choose the page. A wizard has no page keys.
TEST_F(CPropertySheetTest, TabStripTakesTheFocusInTabOrderAndItsArrowsChooseThePage)
{
    ScriptedUi ui;
    CPropertySheet sheet("Options");
    AddPages(sheet);
    ui.QueueModal([&](CWnd& dlg) {
        DialogDriver driver(dlg);
        CPropertySheetTabs* strip = TabStrip(dlg);
        ASSERT_NE(strip, nullptr);
        sheet.SetActivePage(1); // a page made after the buttons still lies between strip and buttons
        DialogDriver::Pump();
        std::vector<QWidget*> order;
        for (int i = 0; i < 5; ++i) {
            TypeKey(Qt::Key_Tab);
            order.push_back(FocusWidget());
        }
        const std::vector<QWidget*> expected = {ControlWidget(dlg, IDOK), ControlWidget(dlg, IDCANCEL), strip,
                                                ControlWidget(dlg, IDC_PAGE_EDIT), ControlWidget(dlg, IDOK)};
        EXPECT_EQ(order, expected) << "Apply is disabled and left out";
        TypeKey(Qt::Key_Tab, Qt::ShiftModifier);
        TypeKey(Qt::Key_Tab, Qt::ShiftModifier);
        ASSERT_EQ(FocusWidget(), strip);

        const QImage focused = strip->grab().toImage();
        TypeKey(Qt::Key_Right);
        EXPECT_EQ(sheet.GetActiveIndex(), 2);
        TypeKey(Qt::Key_Right);
        EXPECT_EQ(sheet.GetActiveIndex(), 2) << "the last tab stays";
        TypeKey(Qt::Key_Home);
        EXPECT_EQ(sheet.GetActiveIndex(), 0);
        TypeKey(Qt::Key_Left);
        EXPECT_EQ(sheet.GetActiveIndex(), 0);
        TypeKey(Qt::Key_Right);
        EXPECT_EQ(sheet.GetActiveIndex(), 1);
        EXPECT_EQ(FocusWidget(), strip);
        ControlWidget(dlg, IDCANCEL)->setFocus();
        EXPECT_NE(strip->grab().toImage(), focused) << "the focus must show on the strip";
        TypeKey(Qt::Key_Return);
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL) << "Return on the focused Cancel button";
}

// A wizard page without a tab stop hands the focus to the default button, never to Back,
// and Return presses it; Ctrl+Tab turns no wizard page.
TEST_F(CPropertySheetTest, WizardPageWithoutTabStopFocusesTheDefaultButtonForReturn)
{
    for (bool finishText : {false, true}) {
        SCOPED_TRACE(finishText ? "Finish relabelled" : "Finish");
        Log pageLog;
        RecordingPage entry(IDD_PAGE_FIRST, pageLog, "A", PSWIZB_NEXT);
        RecordingPage middle(IDD_PAGE_TEXT_ONLY, pageLog, "B", PSWIZB_BACK | PSWIZB_NEXT);
        ClosingPage relabelled(IDD_PAGE_TEXT_ONLY, pageLog, "C", PSWIZB_BACK | PSWIZB_FINISH);
        RecordingPage plain(IDD_PAGE_TEXT_ONLY, pageLog, "C", PSWIZB_BACK | PSWIZB_FINISH);
        ScriptedUi ui;
        CPropertySheet wizard("Wizard");
        wizard.AddPage(&entry);
        wizard.AddPage(&middle);
        wizard.AddPage(finishText ? static_cast<CPropertyPage*>(&relabelled) : &plain);
        wizard.SetWizardMode();
        ui.QueueModal([&](CWnd& dlg) {
            EXPECT_EQ(FocusWidget(), ControlWidget(dlg, IDC_PAGE_EDIT));
            TypeKey(Qt::Key_Tab, Qt::ControlModifier);
            EXPECT_EQ(wizard.GetActiveIndex(), 0);
            TypeKey(Qt::Key_Return);
            EXPECT_EQ(wizard.GetActiveIndex(), 1);
            EXPECT_EQ(FocusWidget(), ControlWidget(dlg, ID_WIZNEXT));
            TypeKey(Qt::Key_Return);
            EXPECT_EQ(wizard.GetActiveIndex(), 2);
            EXPECT_EQ(FocusWidget(), ControlWidget(dlg, ID_WIZFINISH));
            // Back with the mouse: the page before has no tab stop either.
            DialogDriver(dlg).Back();
            EXPECT_EQ(FocusWidget(), ControlWidget(dlg, ID_WIZNEXT));
            TypeKey(Qt::Key_Return);
            TypeKey(Qt::Key_Return);
        });
        EXPECT_EQ(wizard.DoModal(), ID_WIZFINISH);
    }
}

// A page that counts the Help button's clicks.
class HelpCountingPage : public CPropertyPage {
public:
    using CPropertyPage::CPropertyPage;
    int helps = 0;

protected:
    void OnHelp() { ++helps; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(HelpCountingPage, CPropertyPage)
    ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

// F1 in a sheet does what its Help button does; without a Help button it does nothing.
TEST_F(CPropertySheetTest, F1PressesTheHelpButtonWhereThereIsOne)
{
    for (bool help : {true, false}) {
        SCOPED_TRACE(help ? "with Help" : "without Help");
        ScriptedUi ui;
        HelpCountingPage page(IDD_PAGE_FIRST);
        CPropertySheet sheet("Options");
        sheet.AddPage(&page);
        if (help) sheet.m_psh.dwFlags |= PSH_HASHELP;
        ui.QueueModal([&](CWnd& dlg) {
            TypeKey(Qt::Key_F1);
            DialogDriver(dlg).Cancel();
        });
        sheet.DoModal();
        EXPECT_EQ(page.helps, help ? 1 : 0);
    }
}

} // namespace
