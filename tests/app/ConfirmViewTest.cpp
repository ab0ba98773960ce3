// The previews of a printed view: the confirmation preview sends exactly one decision
// however it is left, the report preview passes its buttons on, and a preview pages
// through the view's pages and ends the view's printing once.
#include "tests/framework/ui/ScreenshotFolder.h"
#include "app/CConfirmView.h"
#include "app/CPreviewViewExt.h"
#include "framework/gdi/CDC.h"
#include "framework/ui/CCmdUI.h"
#include "framework/ui/CPrintInfo.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "support/LanguageScripts.h"

#include <QCoreApplication>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

void RunPosted()
{
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

// A view of three pages that logs its printing hooks and the messages of its previews.
class PagesView : public CView {
public:
    int begins = 0;
    int ends = 0;
    std::vector<UINT> printed;
    std::vector<WPARAM> confirmations;
    std::vector<WPARAM> previewCommands;
    UINT pageCount = 3;
    std::vector<WPARAM>* sink = nullptr; // outlives the view

    void OnDraw(CDC*) override {}
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override { return DoPreparePrinting(pInfo); }
    void OnBeginPrinting(CDC*, CPrintInfo* pInfo) override
    {
        ++begins;
        pInfo->SetMaxPage(pageCount);
    }
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override
    {
        printed.push_back(pInfo->m_nCurPage);
        CString text;
        text.Format("Page %u of the report", pInfo->m_nCurPage);
        pDC->TextOut(200, 200, text);
    }
    void OnEndPrinting(CDC*, CPrintInfo*) override { ++ends; }

protected:
    LRESULT OnConfirmed(WPARAM wParam, LPARAM)
    {
        confirmations.push_back(wParam);
        if (sink != nullptr) sink->push_back(wParam);
        return 1;
    }
    LRESULT OnPreviewCommand(WPARAM wParam, LPARAM)
    {
        previewCommands.push_back(wParam);
        return 1;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PagesView, CView)
    ON_MESSAGE(WM_CONFIRM_PREVIEW_DONE, OnConfirmed)
    ON_MESSAGE(WM_PREVIEW_COMMAND, OnPreviewCommand)
END_MESSAGE_MAP()

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        ASSERT_TRUE(texts.Loaded()) << texts.Error();
        ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300), nullptr, 0));
        view = new PagesView;
        ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), &owner, AFX_IDW_PANE_FIRST));
    }
    void TearDown() override
    {
        if (CPreviewView* preview = view != nullptr ? CPreviewView::FindPreviewOf(view) : nullptr) preview->ClosePreview();
        RunPosted();
        if (owner.GetSafeHwnd() != nullptr) owner.DestroyWindow();
        RunPosted();
    }

    CPreviewView* Open(const CRuntimeClass* previewClass)
    {
        if (!view->DoPrintPreview(AFX_IDD_PREVIEW_TOOLBAR, view, previewClass, new CPrintPreviewState)) return nullptr;
        return CPreviewView::FindPreviewOf(view);
    }
    static CFrameWnd* FrameOf(CPreviewView* preview) { return preview->GetParentFrame(); }

    LanguageScripts texts{"framework.rc", "printing.rc"};
    ScriptedUi ui;
    CWnd owner;
    PagesView* view = nullptr; // deleted with its window
};

TEST_F(PreviewTest, ConfirmationGivesExactlyOneDecisionHoweverItIsLeft)
{
    struct Case {
        const char* how;
        std::function<void(CPreviewView*)> leave;
        WPARAM decision;
    };
    const Case cases[] = {
        {"accept button", [](CPreviewView* p) { FrameOf(p)->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_PRINT); }, AFX_ID_PREVIEW_PRINT},
        {"reject button", [](CPreviewView* p) { FrameOf(p)->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE); }, AFX_ID_PREVIEW_CLOSE},
        {"window closed", [](CPreviewView* p) { FrameOf(p)->SendMessage(WM_CLOSE); }, AFX_ID_PREVIEW_CLOSE},
        {"escape", [](CPreviewView* p) { p->SendMessage(WM_KEYDOWN, VK_ESCAPE); }, AFX_ID_PREVIEW_CLOSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        view->confirmations.clear();
        view->printed.clear();
        const int ends = view->ends;
        CPreviewView* preview = Open(RUNTIME_CLASS(CConfirmView));
        ASSERT_NE(preview, nullptr);
        c.leave(preview);
        RunPosted();
        // A second way out afterwards adds nothing.
        if (CPreviewView* still = CPreviewView::FindPreviewOf(view)) FrameOf(still)->SendMessage(WM_CLOSE);
        RunPosted();
        EXPECT_EQ(view->confirmations, std::vector<WPARAM>{c.decision});
        EXPECT_EQ(view->ends, ends + 1);
        EXPECT_EQ(CPreviewView::FindPreviewOf(view), nullptr);
        EXPECT_EQ(ui.PendingModals(), 0u); // accepting opens no print dialog: it only confirms
    }
}

TEST_F(PreviewTest, ConfirmationButtonsCarryTheirCaptions)
{
    CPreviewView* preview = Open(RUNTIME_CLASS(CConfirmView));
    ASSERT_NE(preview, nullptr);
    CString accept, reject;
    accept.LoadString(960);
    reject.LoadString(961);
    struct Case {
        UINT id;
        CString text;
    };
    for (const Case& c : {Case{AFX_ID_PREVIEW_PRINT, accept}, Case{AFX_ID_PREVIEW_CLOSE, reject}}) {
        CTestCmdUI state;
        state.m_nID = c.id;
        state.DoUpdate(FrameOf(preview), TRUE);
        EXPECT_TRUE(state.m_bTextSet);
        EXPECT_EQ(std::string(state.m_strText.c_str()), c.text.c_str());
    }
}

TEST_F(PreviewTest, AViewThatGoesAwayHearsTheRejectionBeforeItIsGone)
{
    std::vector<WPARAM> heard;
    view->sink = &heard;
    ASSERT_NE(Open(RUNTIME_CLASS(CConfirmView)), nullptr);
    view->DestroyWindow(); // deletes the view
    view = nullptr;
    EXPECT_EQ(heard, std::vector<WPARAM>{AFX_ID_PREVIEW_CLOSE});
    RunPosted();
    EXPECT_EQ(heard.size(), 1u);
}

TEST_F(PreviewTest, ReportPreviewPassesItsButtonsOnAndPagesThrough)
{
    ScreenshotFolder shots{"previews"};
    CPreviewView* preview = Open(RUNTIME_CLASS(CPreviewViewExt));
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->GetZoomState(), UINT(CPreviewView::ZOOM_MIDDLE));
    CFrameWnd* frame = FrameOf(preview);
    frame->MoveWindow(0, 0, 700, 800);
    RunPosted();
    EXPECT_TRUE(shots.Save(AfxWidgetFromHandle(frame->GetSafeHwnd())->grab().toImage(), "report-preview.png"));

    // Pages: next up to the last, previous back to the first.
    std::vector<UINT> shown{preview->GetCurrentPage()};
    for (int i = 0; i < 4; ++i) {
        frame->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NEXT);
        shown.push_back(preview->GetCurrentPage());
    }
    frame->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_PREV);
    shown.push_back(preview->GetCurrentPage());
    EXPECT_EQ(shown, (std::vector<UINT>{1, 2, 3, 3, 3, 2}));
    frame->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_ZOOMOUT);
    EXPECT_EQ(preview->GetZoomState(), UINT(CPreviewView::ZOOM_OUT));
    frame->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NUMPAGE);
    EXPECT_EQ(preview->GetPagesShown(), 2u);
    preview->UpdateWindow();
    RunPosted();
    EXPECT_TRUE(shots.Save(AfxWidgetFromHandle(frame->GetSafeHwnd())->grab().toImage(), "report-preview-two.png"));

    frame->SendMessage(WM_COMMAND, ID_PREVIEW_SAVE_COPY); // stays open
    EXPECT_NE(CPreviewView::FindPreviewOf(view), nullptr);
    frame->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_PRINT);
    RunPosted();
    EXPECT_EQ(view->previewCommands, (std::vector<WPARAM>{ID_PREVIEW_SAVE_COPY, AFX_ID_PREVIEW_PRINT}));
    EXPECT_EQ(view->begins, 1);
    EXPECT_EQ(view->ends, 1);
    EXPECT_EQ(CPreviewView::FindPreviewOf(view), nullptr);
}

} // namespace
