// Modal windows over a dialog: each opens centred on it, and once it closes the dialog
// is active again with the focus where it was, so its access keys work without a click.
#include "DialogTestSupport.h"
#include "support/TypedKeys.h"

#include "framework/ui/CDialog.h"
#include "framework/ui/CFileDialog.h"
#include "framework/ui/MessageBox.h"
#include "framework/ui/ModalOwner.h"
#include "framework/ui/ScriptedUi.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <string>

using namespace dialogtest;

namespace {

TEST(ModalOwner, CentredRectStaysInsideTheFreeArea)
{
    const QRect area(0, 0, 1000, 800);
    const struct {
        const char* name;
        QRect own;
        QRect over;
        QPoint expected;
    } cases[] = {
        {"middle of the owner", QRect(0, 0, 200, 100), QRect(100, 100, 600, 400), QPoint(300, 250)},
        {"owner near the right edge", QRect(0, 0, 300, 100), QRect(800, 100, 200, 100), QPoint(700, 100)},
        {"owner above the top", QRect(0, 0, 300, 200), QRect(100, -300, 300, 200), QPoint(100, 0)},
        {"too large: top left in sight", QRect(0, 0, 1200, 900), QRect(100, 100, 200, 200), QPoint(0, 0)},
    };
    for (const auto& c : cases) {
        const QRect placed = AfxCentredRect(c.own, c.over, area);
        EXPECT_EQ(placed.topLeft(), c.expected) << c.name;
        EXPECT_EQ(placed.size(), c.own.size()) << c.name;
    }
}

class OwnerDialog : public CDialog {
public:
    OwnerDialog() : CDialog(IDD_KEYS) {}
};

class ModalOwnerTest : public DialogTestBase {};

// Runs 'open' while a look at the modal window it opens is queued; 'close' ends it.
QRect OpenAndLook(const std::function<void()>& open)
{
    QRect seen;
    QTimer looker;
    looker.setInterval(0);
    QObject::connect(&looker, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) return;
        looker.stop();
        seen = modal->frameGeometry();
        modal->close();
    });
    looker.start();
    // Should the modal window never show, the test fails instead of waiting for ever.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    guard.start(20000);
    open();
    return seen;
}

TEST_F(ModalOwnerTest, ModalWindowsOpenCentredOnTheDialogAndHandItsFocusBack)
{
    const struct {
        const char* name;
        std::function<void(HWND)> open;
    } cases[] = {
        {"message box", [](HWND owner) { ::MessageBox(owner, "Not found.", "Test", MB_OK); }},
        {"message box of the dialog in use", [](HWND) { AfxMessageBox("Not found.", MB_OK); }},
        {"file dialog",
         [](HWND) {
             CFileDialog files(TRUE, "dat", nullptr, OFN_HIDEREADONLY, "Data (*.dat)|*.dat||");
             files.DoModal();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OwnerDialog dialog;
        ASSERT_TRUE(dialog.Create(IDD_KEYS));
        dialog.SetWindowPos(nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        dialog.ShowWindow(SW_SHOW);
        QWidget* window = AfxWidgetFromHandle(dialog.m_hWnd);
        window->activateWindow();
        QApplication::setActiveWindow(window);
        dialog.GetDlgItem(IDC_NOTES)->SetFocus();
        QApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), AfxWidgetFromHandle(dialog.GetDlgItem(IDC_NOTES)->m_hWnd));

        const QRect seen = OpenAndLook([&] { c.open(dialog.m_hWnd); });
        ASSERT_FALSE(seen.isNull());
        const QPoint offset = seen.center() - window->frameGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();

        QApplication::processEvents();
        EXPECT_EQ(QApplication::activeWindow(), window);
        EXPECT_EQ(QApplication::focusWidget(), AfxWidgetFromHandle(dialog.GetDlgItem(IDC_NOTES)->m_hWnd));
        typedkeys::Alt('n');
        EXPECT_EQ(::GetFocus(), dialog.GetDlgItem(IDC_NAME)->m_hWnd) << "the access keys work at once";
        dialog.DestroyWindow();
    }
}

// A modal dialog run over another gives the focus back to the control that had it.
TEST_F(ModalOwnerTest, ModalDialogHandsTheFocusBackToItsOwner)
{
    OwnerDialog owner;
    ASSERT_TRUE(owner.Create(IDD_KEYS));
    owner.ShowWindow(SW_SHOW);
    QWidget* window = AfxWidgetFromHandle(owner.m_hWnd);
    QApplication::setActiveWindow(window);
    owner.GetDlgItem(IDC_COUNT)->SetFocus();
    QApplication::processEvents();
    ScriptedUi ui;
    ui.QueueModal([](CWnd&) {});
    CDialog inner(IDD_PORT, &owner);
    inner.DoModal();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), window);
    EXPECT_EQ(::GetFocus(), owner.GetDlgItem(IDC_COUNT)->m_hWnd);
    owner.DestroyWindow();
}

} // namespace
