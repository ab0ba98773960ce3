// The print preview's scroll bars and window. For every paper the print set-up offers,
// in both orientations, at every zoom state with one and two pages, the bars settle at
// every size of the window (showing a bar must never make it unneeded and so re-enter
// the layout without end) and show exactly what does not fit; the window opens inside
// the screen's work area.
#include "tests/framework/ui/PreviewLayoutCheck.h"
#include "framework/ui/CPrintDialog.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowManager.h"
#include "support/LanguageScripts.h"

#include <QCoreApplication>
#include <QRect>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void RunPosted()
{
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

class PagesView : public CView {
public:
    void OnDraw(CDC*) override {}
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override { return DoPreparePrinting(pInfo); }
    void OnBeginPrinting(CDC*, CPrintInfo* pInfo) override { pInfo->SetMaxPage(3); }
    void OnPrint(CDC* pDC, CPrintInfo*) override { pDC->TextOut(200, 200, "A page of the report"); }
};

struct PaperChoice {
    CString name;
    bool landscape = false;
};

class PreviewLayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        ASSERT_TRUE(texts.Loaded()) << texts.Error();
        savedSetup = AfxGetPrinterSetup();
        ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300), nullptr, 0));
        view = new PagesView;
        ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), &owner, AFX_IDW_PANE_FIRST));
    }
    void TearDown() override
    {
        ClosePreview();
        if (owner.GetSafeHwnd() != nullptr) owner.DestroyWindow();
        RunPosted();
        AfxGetPrinterSetup() = savedSetup;
    }

    // Every paper of the print set-up dialog, in both orientations.
    std::vector<PaperChoice> OfferedPapers()
    {
        std::vector<PaperChoice> papers;
        ui.QueueModal([&papers](CWnd& dialog) {
            DialogDriver driver(dialog);
            for (int i = 0; i < driver.Count(CPrintDialog::IDC_PAPER); ++i)
                for (bool landscape : {false, true})
                    papers.push_back({driver.ItemText(CPrintDialog::IDC_PAPER, i), landscape});
            driver.Click(IDCANCEL);
        });
        CPrintDialog(TRUE).DoModal();
        return papers;
    }

    // The paper chosen in the set-up dialog, as the user chooses it.
    void ChoosePaper(const PaperChoice& paper)
    {
        ui.QueueModal([&paper](CWnd& dialog) {
            DialogDriver driver(dialog);
            driver.SelectString(CPrintDialog::IDC_PAPER, paper.name.c_str());
            driver.Click(paper.landscape ? CPrintDialog::IDC_LANDSCAPE : CPrintDialog::IDC_PORTRAIT);
            driver.Click(IDOK);
        });
        ASSERT_EQ(CPrintDialog(TRUE).DoModal(), IDOK);
        ASSERT_EQ(ui.PendingModals(), 0u);
    }

    CPreviewView* Open()
    {
        if (!view->DoPrintPreview(AFX_IDD_PREVIEW_TOOLBAR, view, RUNTIME_CLASS(CPreviewView), new CPrintPreviewState))
            return nullptr;
        RunQueuedSizeNotices();
        return CPreviewView::FindPreviewOf(view);
    }
    void ClosePreview()
    {
        if (CPreviewView* preview = view != nullptr ? CPreviewView::FindPreviewOf(view) : nullptr) preview->ClosePreview();
        RunPosted();
    }

    LanguageScripts texts{"framework.rc", "printing.rc"};
    ScriptedUi ui;
    PrinterSetup savedSetup;
    CWnd owner;
    PagesView* view = nullptr; // deleted with its window
};

// Frame sizes through the bands where the bars used to flip for ever (A4 portrait
// 900 x 869-895, Letter landscape 900 x 500-520, about one size in fifty elsewhere),
// up to a view of 900 x 960 as the window has while it is made.
struct Sweep {
    bool widthVaries;
    int fixed;
    int from;
    int to;
};
constexpr Sweep kSweeps[] = {{false, 900, 380, 1040}, {true, 880, 380, 1000}, {true, 510, 380, 1000}};
constexpr int kStep = 2;

TEST_F(PreviewLayoutTest, BarsSettleAndShowWhatDoesNotFitForEveryPaperSizeAndZoom)
{
    std::vector<CSize> sizes;
    for (const Sweep& sweep : kSweeps)
        for (int size = sweep.from; size <= sweep.to; size += kStep)
            sizes.push_back(sweep.widthVaries ? CSize(size, sweep.fixed) : CSize(sweep.fixed, size));
    const std::vector<PaperChoice> papers = OfferedPapers();
    ASSERT_GE(papers.size(), 6u) << "A4, Letter and A5 at least, each both ways";
    for (const PaperChoice& paper : papers) {
        SCOPED_TRACE(std::string(paper.name.c_str()) + (paper.landscape ? " landscape" : " portrait"));
        ChoosePaper(paper);
        CPreviewView* preview = Open();
        ASSERT_NE(preview, nullptr) << "the preview opens";
        CFrameWnd* frame = preview->GetParentFrame();
        ASSERT_EQ(PreviewBarFault(*preview), "") << "as opened";
        for (UINT pages : {1u, 2u}) {
            if (preview->GetPagesShown() != pages) frame->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NUMPAGE);
            ASSERT_EQ(preview->GetPagesShown(), pages);
            for (UINT zoom : {CPreviewView::ZOOM_OUT, CPreviewView::ZOOM_MIDDLE, CPreviewView::ZOOM_IN}) {
                SCOPED_TRACE("pages " + std::to_string(pages) + ", zoom " + std::to_string(zoom));
                while (preview->GetZoomState() > zoom) frame->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_ZOOMOUT);
                while (preview->GetZoomState() < zoom) frame->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_ZOOMIN);
                const PreviewSweepResult result = SweepPreviewSizes(*preview, sizes);
                EXPECT_EQ(result.faults, 0) << result.faults << " of " << result.checked << " layouts wrong; first: " << result.first;
            }
        }
        ClosePreview();
        ASSERT_EQ(CPreviewView::FindPreviewOf(view), nullptr);
    }
}

TEST_F(PreviewLayoutTest, TheWindowOpensInsideTheWorkArea)
{
    CPreviewView* preview = Open();
    ASSERT_NE(preview, nullptr);
    CFrameWnd* frame = preview->GetParentFrame();
    const QRect area = AfxAvailableScreenArea(*AfxWidgetFromHandle(frame->GetSafeHwnd()));
    ASSERT_FALSE(area.isEmpty());
    CRect outer;
    frame->GetWindowRect(&outer);
    const QRect shown(outer.left, outer.top, outer.Width(), outer.Height());
    EXPECT_TRUE(area.contains(shown)) << "frame " << outer.left << "," << outer.top << " " << outer.Width() << " x "
                                      << outer.Height() << " in " << area.x() << "," << area.y() << " " << area.width()
                                      << " x " << area.height();
    // Where the screen has room the window keeps its usual place and size.
    if (area.contains(QRect(60, 40, 900, 960))) EXPECT_EQ(shown, QRect(60, 40, 900, 960));
    EXPECT_EQ(PreviewBarFault(*preview), "");
}

} // namespace
