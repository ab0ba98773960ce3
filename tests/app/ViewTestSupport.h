#pragma once
// Shared by the view tests: a device document whose fields, mode and result the test
// sets, views in a top-level window of fixed size (alone or in the 2 x 2 splitter of the
// document windows), the settings kept and restored around each test, and golden images
// compared with a small tolerance.
#include "app/CCommonDoc.h"
#include "app/settings/CTalisoSetup.h"
#include "framework/gdi/CDC.h"
#include "framework/ui/CFrameWnd.h"
#include "framework/ui/CSplitterWnd.h"
#include "framework/ui/WindowHandle.h"
#include "model/CPolyShelter.h"
#include "model/CRectShelter.h"
#include "model/CScan.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace viewtest {

// Fields and scans the tests draw and edit, of the ZOK scanner type 4.
inline CSensorType ScannerType()
{
    return CSensorType(4, 0);
}

inline std::unique_ptr<CRectShelter> Rectangle(WORD left, WORD front, WORD right, int kind = kProtectiveField)
{
    auto field = std::make_unique<CRectShelter>();
    field->Initialize(ScannerType(), left, front, right, kind);
    return field;
}

inline std::unique_ptr<CPolyShelter> Contour(int distance, int beams = 91, int kind = kWarningField)
{
    auto field = std::make_unique<CPolyShelter>();
    field->InitializeConstant(ScannerType(), distance, beams, kind);
    return field;
}

// A scan of 361 beams whose distance waves around the base; beams from 150 to 210 flagged.
inline std::unique_ptr<CScan> WavyScan(int base, int evalCase = 0)
{
    std::vector<WORD> words(361);
    for (int beam = 0; beam < 361; ++beam)
        words[std::size_t(beam)] = WORD(base + int(40 * std::sin(beam * 0.1)));
    auto scan = std::make_unique<CScan>();
    scan->SetScanData(ScannerType(), words.data(), WORD(words.size()));
    scan->SetEvalCase(evalCase);
    for (int beam = 150; beam <= 210; ++beam)
        scan->SetFlag1(beam, TRUE);
    return scan;
}

// The document of the views: the test holds its fields; every mode starts at once.
class ViewDoc : public CCommonDoc {
public:
    ViewDoc() { m_bAutoDelete = FALSE; }
    void SetCurrentObject(CSensorObject* pObject) override
    {
        auto* field = dynamic_cast<CShelter*>(pObject);
        current = field != nullptr ? field->CloneShelter() : nullptr;
    }
    CShelter* GetCurrentObject() override { return current.get(); }
    CShelter* GetSecondObject() override { return second.get(); }
    COLORREF GetCurrentObjectColor() override { return RGB(0, 0, 255); }
    COLORREF GetSecondObjectColor() override { return RGB(255, 0, 0); }
    int RunMode1(int) override { return 1; }
    int RunMode2(int) override { return 1; }
    int RunMode3(int) override { return 1; }
    int RunMode4(int) override { return 1; }
    int RunMode5(int) override { return 1; }
    int ReplayProtocol(int) override { return 1; }

    std::unique_ptr<CShelter> current;
    std::unique_ptr<CShelter> second;
};

// The settings as the tests want them: a rectangular 100 cm grid with labels, no angle
// marks, drawing double buffered, the range up to 5000 cm. Restored afterwards.
class SettingsScope {
public:
    SettingsScope() : m_saved(GetTalisoSetup())
    {
        CTalisoSetup& setup = GetTalisoSetup();
        setup.SetDefaults();
        setup.m_nMaxViewSize = 5000;
        setup.m_nRectGrid = 100;
        setup.m_nRadiusGrid = 100;
        setup.m_nAngleGrid = 30;
        setup.m_bViewRectGrid = TRUE;
        setup.m_bViewMetric = TRUE;
        setup.m_bViewGrid = TRUE;
        setup.m_bViewLabels = TRUE;
        setup.m_bViewAngle = FALSE;
        setup.m_bDrawOnScreen = FALSE;
        setup.m_bViewLineScan = TRUE;
        setup.m_nMarkerSizeUnits = 10;
    }
    ~SettingsScope() { GetTalisoSetup() = m_saved; }
    SettingsScope(const SettingsScope&) = delete;
    SettingsScope& operator=(const SettingsScope&) = delete;

private:
    CTalisoSetup m_saved;
};

// A view of the class in a top-level window, on the document; the window goes with the
// object (the view deletes itself with its window).
template <class View>
class ViewWindow {
public:
    ViewWindow(CDocument& doc, int width, int height)
    {
        m_top.CreateEx(0, nullptr, "views", WS_OVERLAPPEDWINDOW, CRect(0, 0, width + 40, height + 40), nullptr, 0);
        CCreateContext context;
        context.m_pCurrentDoc = &doc;
        view = new View;
        view->Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, width, height), &m_top, AFX_IDW_PANE_FIRST,
                     &context);
        m_top.ShowWindow(SW_SHOW);
        view->OnInitialUpdate();
    }
    ~ViewWindow()
    {
        if (m_top.m_hWnd != nullptr) m_top.DestroyWindow();
    }
    ViewWindow(const ViewWindow&) = delete;
    ViewWindow& operator=(const ViewWindow&) = delete;

    View* view = nullptr;

private:
    CWnd m_top;
};

// Four views of the class (viewClass is its run-time class) in the 2 x 2 splitter of a
// document window.
template <class View>
class SplitterWindow {
public:
    SplitterWindow(CDocument& doc, const CRuntimeClass* viewClass, int paneWidth, int paneHeight)
    {
        m_top.CreateEx(0, nullptr, "panes", WS_OVERLAPPEDWINDOW, CRect(0, 0, 2 * paneWidth + 60, 2 * paneHeight + 60),
                       nullptr, 0);
        m_splitter.CreateStatic(&m_top, 2, 2, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST);
        CCreateContext context;
        context.m_pCurrentDoc = &doc;
        context.m_pNewViewClass = viewClass;
        for (int row = 0; row < 2; ++row)
            for (int col = 0; col < 2; ++col)
                m_splitter.CreateView(row, col, viewClass, CSize(paneWidth, paneHeight), &context);
        m_splitter.SetRowInfo(0, paneHeight, 0);
        m_splitter.SetColumnInfo(0, paneWidth, 0);
        m_splitter.MoveWindow(0, 0, 2 * paneWidth + m_splitter.m_cxSplitter + 4,
                              2 * paneHeight + m_splitter.m_cxSplitter + 4);
        m_splitter.RecalcLayout();
        m_top.ShowWindow(SW_SHOW);
        for (int row = 0; row < 2; ++row)
            for (int col = 0; col < 2; ++col)
                Pane(row, col)->OnInitialUpdate();
    }
    ~SplitterWindow()
    {
        if (m_top.m_hWnd != nullptr) m_top.DestroyWindow();
    }
    SplitterWindow(const SplitterWindow&) = delete;
    SplitterWindow& operator=(const SplitterWindow&) = delete;

    View* Pane(int row, int col) { return dynamic_cast<View*>(m_splitter.GetPane(row, col)); }

private:
    CWnd m_top;
    CSplitterWnd m_splitter;
};

// What the view paints into its client area, through its own preparation and drawing.
inline QImage RenderClient(CView& view)
{
    CRect client;
    view.GetClientRect(&client);
    CDC dc;
    EXPECT_TRUE(dc.CreateImageDC(client.Width(), client.Height()));
    view.OnPrepareDC(&dc);
    view.OnDraw(&dc);
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("taliso-view-" + std::to_string(::getpid()) + ".png")).string();
    EXPECT_TRUE(dc.SaveImage(path.c_str()));
    QImage image(QString::fromStdString(path));
    std::filesystem::remove(path);
    return image.convertToFormat(QImage::Format_RGB32);
}

// The picture matches tests/app/golden/<name>.png: at most one pixel in 200 differs by
// more than a little in some channel (text edges may round differently). With
// TALISO_UPDATE_GOLDEN set the picture becomes the golden image.
inline void ExpectMatchesGolden(const QImage& picture, const std::string& name)
{
    const char* source = std::getenv("TALISO_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    const std::string path = std::string(source) + "/tests/app/golden/" + name + ".png";
    if (std::getenv("TALISO_UPDATE_GOLDEN") != nullptr) {
        ASSERT_TRUE(picture.save(QString::fromStdString(path)));
        return;
    }
    const QImage golden = QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(golden.isNull()) << path;
    ASSERT_EQ(golden.size(), picture.size()) << name;
    long differing = 0;
    for (int y = 0; y < golden.height(); ++y) {
        for (int x = 0; x < golden.width(); ++x) {
            const QRgb a = golden.pixel(x, y);
            const QRgb b = picture.pixel(x, y);
            if (std::abs(qRed(a) - qRed(b)) > 40 || std::abs(qGreen(a) - qGreen(b)) > 40 ||
                std::abs(qBlue(a) - qBlue(b)) > 40)
                ++differing;
        }
    }
    EXPECT_LE(differing, long(golden.width()) * golden.height() / 200) << name << " differs from " << path;
}

} // namespace viewtest
