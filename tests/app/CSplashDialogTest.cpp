// The splash screen closes on a key or a mouse button pressed on it, or at the end of
// start-up when it is still open; its object goes with its window.
#include "app/CSplashDialog.h"
#include "app/CAboutDialog.h"
#include "dialogs/ShippedLanguage.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/WindowHandle.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <gtest/gtest.h>

namespace {

class CSplashDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(language.Loaded()) << language.Error(); }

    // An input message as the message loop offers it before its window gets it.
    static BOOL Offer(HWND target, UINT message)
    {
        MSG msg;
        msg.hwnd = target;
        msg.message = message;
        return CWnd::WalkPreTranslateTree(nullptr, &msg);
    }

    ShippedLanguage language;
};

TEST_F(CSplashDialogTest, OpensShowingTheVersionAndEndOfStartUpClosesIt)
{
    CSplashDialog* splash = nullptr;
    ASSERT_NE(CSplashDialog::Open(&splash), nullptr);
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(splash->IsWindowVisible());
    DialogDriver driver(*splash);
    EXPECT_EQ(driver.Text(CAboutDialog::IDC_VERSION), CString("03.61"));
    EXPECT_FALSE(Offer(splash->GetSafeHwnd(), WM_MOUSEMOVE)); // not a press: stays
    EXPECT_NE(splash, nullptr);

    CSplashDialog::CloseIfOpen(splash);
    EXPECT_EQ(splash, nullptr);
    CSplashDialog::CloseIfOpen(splash); // a second close has nothing to do
    EXPECT_EQ(splash, nullptr);
}

// What the screen shows where the window lies, without letting the event loop run: the
// program goes on with its start-up right after showing the splash.
QImage ScreenUnder(const CWnd& window)
{
    CRect rect;
    window.GetWindowRect(&rect);
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->grabWindow(0, rect.left, rect.top, rect.Width(), rect.Height()).toImage() : QImage();
}

double DarkShare(const QImage& image)
{
    int dark = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            dark += qGray(image.pixel(x, y)) < 32 ? 1 : 0;
    }
    return image.isNull() ? 1.0 : double(dark) / (image.width() * image.height());
}

TEST_F(CSplashDialogTest, IsOnTheScreenPaintedAsSoonAsItOpens)
{
    CSplashDialog* splash = nullptr;
    ASSERT_NE(CSplashDialog::Open(&splash), nullptr);
    const QImage shown = ScreenUnder(*splash);
    ASSERT_FALSE(shown.isNull());
    EXPECT_LT(DarkShare(shown), 0.2) << "the splash's face, not a black box";
    CSplashDialog::CloseIfOpen(splash);
}

TEST_F(CSplashDialogTest, AnyKeyOrButtonPressedOnItClosesItAndIsConsumed)
{
    const UINT presses[] = {WM_KEYDOWN,       WM_SYSKEYDOWN,    WM_LBUTTONDOWN,  WM_RBUTTONDOWN,
                            WM_MBUTTONDOWN,   WM_NCLBUTTONDOWN, WM_NCRBUTTONDOWN, WM_NCMBUTTONDOWN};
    for (UINT press : presses) {
        for (bool onPicture : {false, true}) {
            SCOPED_TRACE(testing::Message() << "message " << press << (onPicture ? " on the picture" : ""));
            CSplashDialog* splash = nullptr;
            ASSERT_NE(CSplashDialog::Open(&splash), nullptr);
            const HWND target = onPicture ? ::GetDlgItem(splash->GetSafeHwnd(), CAboutDialog::IDC_PICTURE)
                                          : splash->GetSafeHwnd();
            ASSERT_NE(target, nullptr);
            EXPECT_TRUE(Offer(target, press));
            EXPECT_EQ(splash, nullptr); // gone, object and all
            CSplashDialog::CloseIfOpen(splash); // start-up's own close then does nothing
        }
    }
}

} // namespace
