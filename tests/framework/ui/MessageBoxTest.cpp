// Message boxes under a script: every box is logged and answered from the queue, or by
// its default button; modal runs go to the queued scripts.
#include "framework/core/Library.h"
#include "framework/core/Resources.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/CWnd.h"
#include "framework/ui/MessageBox.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT kSavePrompt = 4711;

// A language module with one prompt, current for the life of the fixture.
class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        m_module = CreateResourceModule("boxes.rc", "STRINGTABLE\nBEGIN\n    4711 \"Save the changes?\"\nEND\n",
                                        nullptr, error);
        ASSERT_NE(m_module, nullptr) << error;
        m_previous = AfxGetResourceHandle();
        AfxSetResourceHandle(m_module);
    }
    void TearDown() override
    {
        AfxSetResourceHandle(m_previous);
        FreeLibrary(m_module);
    }

    HINSTANCE m_module = nullptr;
    HINSTANCE m_previous = nullptr;
};

TEST_F(MessageBoxTest, ScriptedBoxLogsIdTextFlagsHelpAndAnswer)
{
    CWinApp app("Taliso");
    ScriptedUi script;
    script.QueueAnswer(IDNO);
    const UINT flags = MB_YESNOCANCEL | MB_ICONQUESTION;
    EXPECT_EQ(AfxMessageBox(kSavePrompt, flags), IDNO);
    EXPECT_EQ(AfxMessageBox("Plain text", MB_OK | MB_ICONEXCLAMATION, 432), IDOK);

    ASSERT_EQ(script.MessageBoxes().size(), 2u);
    const MessageBoxRecord& first = script.MessageBoxes()[0];
    EXPECT_EQ(first.id, kSavePrompt);
    EXPECT_EQ(first.text, "Save the changes?");
    EXPECT_EQ(first.caption, "Taliso");
    EXPECT_EQ(first.flags, flags);
    EXPECT_EQ(first.helpId, kSavePrompt) << "the prompt id is the default help context";
    EXPECT_EQ(first.answer, IDNO);
    const MessageBoxRecord& second = script.MessageBoxes()[1];
    EXPECT_EQ(second.id, 0u);
    EXPECT_EQ(second.text, "Plain text");
    EXPECT_EQ(second.helpId, 432u);
    EXPECT_EQ(second.answer, IDOK);
    EXPECT_EQ(script.PendingAnswers(), 0u);
}

TEST_F(MessageBoxTest, WithoutQueuedAnswerTheDefaultButtonAnswers)
{
    struct Case {
        UINT flags;
        int answer;
    };
    const Case cases[] = {
        {MB_OK, IDOK},
        {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_YESNO, IDYES},
        {MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION, IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, IDIGNORE},
        {MB_YESNO | MB_DEFBUTTON3, IDYES}, // no third button: the first one
    };
    ScriptedUi script;
    for (const Case& c : cases)
        EXPECT_EQ(AfxMessageBox("?", c.flags), c.answer) << std::hex << c.flags;
}

// Retry as the default answer would retry a failing device for ever: a retry prompt that
// no queued answer meets gives up and is reported (which fails a test run).
TEST_F(MessageBoxTest, UnscriptedRetryPromptGivesUpAndIsReported)
{
    std::vector<CString> reported;
    const ScriptedUi::RetryReport previous = ScriptedUi::SetUnscriptedRetryReport(
        [&reported](const MessageBoxRecord& box) { reported.push_back(box.text); });
    {
        ScriptedUi script;
        EXPECT_EQ(AfxMessageBox("again?", MB_RETRYCANCEL | MB_ICONEXCLAMATION), IDCANCEL);
        EXPECT_EQ(AfxMessageBox("abort?", MB_ABORTRETRYIGNORE | MB_DEFBUTTON2), IDABORT);
        script.QueueAnswer(IDYES); // no button of the box
        EXPECT_EQ(AfxMessageBox("rejected?", MB_RETRYCANCEL), IDCANCEL);
        EXPECT_EQ(reported, (std::vector<CString>{"again?", "abort?", "rejected?"}));

        script.QueueAnswers({IDRETRY, IDRETRY});
        EXPECT_EQ(AfxMessageBox("scripted", MB_RETRYCANCEL), IDRETRY);
        EXPECT_EQ(AfxMessageBox("scripted", MB_ABORTRETRYIGNORE), IDRETRY);
        EXPECT_EQ(reported.size(), 3u) << "retries the test asked for are not reported";
    }
    ScriptedUi::SetUnscriptedRetryReport(previous);
}

TEST_F(MessageBoxTest, QueuedAnswerThatIsNoButtonOfTheBoxIsRejected)
{
    ScriptedUi script;
    script.QueueAnswers({IDYES, IDRETRY});
    EXPECT_EQ(AfxMessageBox("only OK"), IDOK);
    EXPECT_TRUE(script.MessageBoxes()[0].rejectedAnswer);
    EXPECT_EQ(AfxMessageBox("retry?", MB_RETRYCANCEL), IDRETRY);
    EXPECT_FALSE(script.MessageBoxes()[1].rejectedAnswer);
}

TEST_F(MessageBoxTest, PlainMessageBoxCaptionsAndMissingTexts)
{
    CWinApp app("Taliso");
    ScriptedUi script;
    ::MessageBox(nullptr, "fixed text", nullptr, MB_ICONHAND);
    ::MessageBox(nullptr, "diagnosis", "Diagnose", MB_OK);
    AfxMessageBox(9999u);
    ASSERT_EQ(script.MessageBoxes().size(), 3u);
    EXPECT_EQ(script.MessageBoxes()[0].caption, "Error");
    EXPECT_EQ(script.MessageBoxes()[1].caption, "Diagnose");
    EXPECT_EQ(script.MessageBoxes()[2].text, "#9999") << "an unknown id still names the message";
}

class DraggingWnd : public CWnd {
public:
    int cancels = 0;

protected:
    void OnCancelMode() override
    {
        ++cancels;
        CWnd::OnCancelMode();
    }
};

TEST_F(MessageBoxTest, BoxEndsAMouseCaptureWithCancelMode)
{
    ASSERT_TRUE(AfxEnsureGuiApplication());
    DraggingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "drag", WS_OVERLAPPEDWINDOW, CRect(0, 0, 50, 50), nullptr, 0));
    wnd.SetCapture();
    EXPECT_EQ(CWnd::GetCapture(), &wnd);
    ScriptedUi script;
    AfxMessageBox("Field out of range");
    EXPECT_EQ(wnd.cancels, 1);
    EXPECT_EQ(CWnd::GetCapture(), nullptr) << "the default processing of WM_CANCELMODE releases it";
}

TEST_F(MessageBoxTest, RealBoxOffersTheButtonsOfItsFlagsAndReturnsTheOneClicked)
{
    ASSERT_TRUE(AfxEnsureGuiApplication());
    QMessageBox::StandardButtons shown;
    QString defaultText;
    QString text;
    QTimer clicker; // answers the box once its modal loop runs
    clicker.setInterval(10);
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        clicker.stop();
        shown = box->standardButtons();
        defaultText = box->defaultButton() != nullptr ? box->defaultButton()->text() : QString();
        text = box->text();
        box->button(QMessageBox::No)->click();
    });
    clicker.start();
    EXPECT_EQ(AfxMessageBox(kSavePrompt, MB_YESNOCANCEL | MB_DEFBUTTON2 | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(shown, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(defaultText, QMessageBox().addButton(QMessageBox::No)->text());
    EXPECT_EQ(text, "Save the changes?");
}

TEST_F(MessageBoxTest, RealBoxIsPaintedBeforeItsLoopRunsAnythingElse)
{
    ASSERT_TRUE(AfxEnsureGuiApplication());
    QImage shown;
    QTimer grabber; // the first thing the box's loop runs
    grabber.setInterval(0);
    QObject::connect(&grabber, &QTimer::timeout, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr)
            return;
        grabber.stop();
        const QRect area = box->frameGeometry();
        shown = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
        box->close();
    });
    grabber.start();
    AfxMessageBox(kSavePrompt, MB_OK | MB_ICONQUESTION);
    ASSERT_FALSE(shown.isNull());
    int dark = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x)
            dark += qGray(shown.pixel(x, y)) < 32 ? 1 : 0;
    }
    EXPECT_LT(dark, shown.width() * shown.height() / 5) << "the box's face, not a black box";
}

TEST_F(MessageBoxTest, ModalRunsTakeQueuedScriptsInOrderThenTheDefault)
{
    ASSERT_TRUE(AfxEnsureGuiApplication());
    CWnd dialog;
    ASSERT_TRUE(dialog.CreateEx(0, nullptr, "Options", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    CWnd dummy;
    EXPECT_FALSE(ScriptedUi::RunModal(dialog, 145)) << "no script: the real modal loop runs";

    std::vector<std::string> runs;
    ScriptedUi script;
    script.QueueModal([&](CWnd& d) {
        CString caption;
        d.GetWindowText(caption);
        runs.push_back("first " + caption.str());
    });
    script.SetDefaultModal([&](CWnd&) { runs.push_back("default"); });
    EXPECT_TRUE(ScriptedUi::RunModal(dialog, 145));
    EXPECT_TRUE(ScriptedUi::RunModal(dialog, 146));
    EXPECT_EQ(runs, (std::vector<std::string>{"first Options", "default"}));
    ASSERT_EQ(script.ModalRuns().size(), 2u);
    EXPECT_EQ(script.ModalRuns()[0].templateId, 145u);
    EXPECT_EQ(script.ModalRuns()[1].templateId, 146u);
    EXPECT_EQ(script.ModalRuns()[0].caption, "Options");
}

} // namespace
