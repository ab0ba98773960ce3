#include "app/CReportPrinter.h"

#include "app/CDeviceReport.h"
#include "app/CGraphObject.h"
#include "app/CPrintObject.h"
#include "app/settings/CTalisoSetup.h"
#include "framework/core/CException.h"
#include "framework/core/CTime.h"
#include "framework/ui/CPrintInfo.h"

#include <algorithm>
#include <cstring>
#include <exception>

namespace {

constexpr UINT kLogoBitmap = 91;
constexpr UINT kHeading = 1221;
constexpr UINT kPageNumber = 1223;
constexpr UINT kDocumentName = 1224;
constexpr UINT kPrintTime = 1225;
constexpr UINT kDeviceReport = 1226;
constexpr UINT kUnitCm = 951;
constexpr UINT kUnitInch = 953;

void CreateReportFont(CFont& font, int points, LONG weight)
{
    font.DeleteObject();
    LOGFONT lf{};
    lf.lfHeight = -MulDiv(points, 2540, 72);
    lf.lfWeight = weight;
    lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    std::strcpy(lf.lfFaceName, "Arial");
    font.CreateFontIndirect(&lf);
}

CRect WholePage(CDC* pDC)
{
    CRect page(0, 0, pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES));
    pDC->DPtoLP(&page);
    return page;
}

void MapHundredthsOfMillimetre(CDC* pDC)
{
    pDC->SetMapMode(MM_ANISOTROPIC);
    pDC->SetWindowExt(1000, 1000);
    pDC->SetViewportExt(MulDiv(1000, pDC->GetDeviceCaps(LOGPIXELSX), 2540), MulDiv(1000, pDC->GetDeviceCaps(LOGPIXELSY), 2540));
    pDC->SetWindowOrg(0, 0);
}

void Rule(CDC* pDC, int left, int right, int y, int width)
{
    CPen pen(PS_SOLID, width, RGB(0, 0, 0));
    CPen* old = pDC->SelectObject(&pen);
    pDC->MoveTo(left, y);
    pDC->LineTo(right, y);
    pDC->SelectObject(old);
}

} // namespace

CReportPrinter::~CReportPrinter()
{
    DeleteObjects();
}

void CReportPrinter::DeleteObjects()
{
    POSITION pos = m_objects.GetHeadPosition();
    while (pos != nullptr) delete m_objects.GetNext(pos);
    m_objects.RemoveAll();
    m_nPageCount = 0;
}

void CReportPrinter::CreateFonts()
{
    CreateReportFont(m_fontTitle, 20, FW_BOLD);
    CreateReportFont(m_fontSmall, 8, FW_NORMAL);
    CreateReportFont(m_fontCaption, 10, FW_NORMAL);
}

void CReportPrinter::ComputeMargins(CDC* pDC)
{
    POINT offset{0, 0};
    POINT physical{pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES)};
    if (pDC->Escape(GETPRINTINGOFFSET, 0, nullptr, &offset) <= 0) offset = POINT{0, 0};
    if (pDC->Escape(GETPHYSPAGESIZE, 0, nullptr, &physical) <= 0)
        physical = POINT{pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES)};
    const int dpiX = pDC->GetDeviceCaps(LOGPIXELSX);
    const int dpiY = pDC->GetDeviceCaps(LOGPIXELSY);
    const int unprintableRight = physical.x - pDC->GetDeviceCaps(HORZRES) - offset.x;
    const int unprintableBottom = physical.y - pDC->GetDeviceCaps(VERTRES) - offset.y;
    CRect margins(std::max(0, MulDiv(m_rectPaperMargins.left, dpiX, 2540) - int(offset.x)),
                  std::max(0, MulDiv(m_rectPaperMargins.top, dpiY, 2540) - int(offset.y)),
                  std::max(0, MulDiv(m_rectPaperMargins.right, dpiX, 2540) - unprintableRight),
                  std::max(0, MulDiv(m_rectPaperMargins.bottom, dpiY, 2540) - unprintableBottom));
    pDC->DPtoLP(&margins);
    m_rectPrintMargins = margins;
}

void CReportPrinter::PrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    if (pDC == nullptr || !pDC->IsPrinting()) return;
    MapHundredthsOfMillimetre(pDC);
    ComputeMargins(pDC);
    if (pInfo != nullptr && m_nPageCount != 0 && UINT(m_nPageCount) < pInfo->m_nCurPage)
        pInfo->m_bContinuePrinting = FALSE;
}

void CReportPrinter::BeginPrinting(CDC* pDC, CPrintInfo* pInfo, const CString& docTitle, BOOL deviceReport,
                                   const BuildFunction& build)
{
    PrepareDC(pDC, nullptr);
    CreateFonts();
    const CTime now = CTime::GetCurrentTime();
    m_strFooterLeft = CDeviceReport::Text(kPrintTime, (now.Format("%x") + " " + now.Format("%H:%M")).c_str());
    if (deviceReport) m_strFooterRight.LoadString(kDeviceReport);
    else m_strFooterRight = CDeviceReport::Text(kDocumentName, docTitle.c_str());

    const CTalisoSetup& setup = GetTalisoSetup();
    m_diagramStyle.metric = setup.m_bViewMetric;
    if (!m_diagramStyle.unitText.LoadString(setup.m_bViewMetric ? kUnitCm : kUnitInch))
        m_diagramStyle.unitText = setup.m_bViewMetric ? "cm" : "inch";
    m_diagramStyle.captionFont = &m_fontCaption;
    m_diagramStyle.fill[0] = setup.m_crShelterA;
    m_diagramStyle.fill[1] = setup.m_crShelterB;
    m_diagramStyle.fill[2] = setup.m_crShelterC;

    DeleteObjects();
    try {
        if (!build || !build(m_objects)) DeleteObjects();
    } catch (CException&) {
        DeleteObjects();
    } catch (std::exception&) {
        DeleteObjects();
    }
    m_nPageCount = LayoutPages(pDC, m_objects, BodyRect(pDC, WholePage(pDC)), m_sizeGraph);
    if (pInfo != nullptr) pInfo->SetMaxPage(UINT(std::max(1, m_nPageCount)));
}

void CReportPrinter::EndPrinting()
{
    m_fontTitle.DeleteObject();
    m_fontSmall.DeleteObject();
    m_fontCaption.DeleteObject();
    m_diagramStyle.captionFont = nullptr;
    m_strFooterLeft.Empty();
    m_strFooterRight.Empty();
    DeleteObjects();
}

int CReportPrinter::LayoutPages(CDC* pDC, CObList& objects, const CRect& body, CSize graphSize, int maxPages)
{
    if (objects.GetCount() == 0) return 0;
    const int pageHeight = std::max(0, int(body.Height()));
    int page = 1;
    int top = body.top;
    int placed = 0;
    POSITION pos = objects.GetHeadPosition();
    while (pos != nullptr) {
        auto* object = static_cast<CPrintObject*>(objects.GetAt(pos));
        int used = std::min(object->Print(pDC, body, TRUE), pageHeight);
        if (dynamic_cast<CGraphObject*>(object) != nullptr) used = std::min(used + int(graphSize.cy), pageHeight);
        if (used <= body.bottom - top || placed == 0) {
            object->SetPage(page);
            top += used;
            ++placed;
            objects.GetNext(pos);
            continue;
        }
        if (page == maxPages) {
            // The rest does not fit the page limit and is not printed.
            for (; pos != nullptr;) static_cast<CPrintObject*>(objects.GetNext(pos))->SetPage(0);
            break;
        }
        ++page;
        top = body.top;
        placed = 0;
    }
    return page;
}

CRect CReportPrinter::BodyRect(CDC* pDC, const CRect& page)
{
    CRect rect(page.left + m_rectPrintMargins.left, page.top + m_rectPrintMargins.top,
               page.right - m_rectPrintMargins.right, page.bottom - m_rectPrintMargins.bottom);
    PrintHeader(pDC, rect, FALSE);
    PrintFooter(pDC, rect, 1, FALSE);
    return rect;
}

void CReportPrinter::PrintPage(CDC* pDC, CPrintInfo* pInfo)
{
    CRect rect = pInfo->m_rectDraw;
    rect.left += m_rectPrintMargins.left;
    rect.top += m_rectPrintMargins.top;
    rect.right -= m_rectPrintMargins.right;
    rect.bottom -= m_rectPrintMargins.bottom;
    PrintHeader(pDC, rect);
    PrintFooter(pDC, rect, int(pInfo->m_nCurPage));
    PrintBody(pDC, rect, int(pInfo->m_nCurPage));
}

void CReportPrinter::PrintHeader(CDC* pDC, CRect& rect, BOOL bDraw)
{
    const int saved = pDC->SaveDC();
    if (bDraw) {
        CBitmap logo;
        if (logo.LoadBitmap(kLogoBitmap)) {
            BITMAP info{};
            logo.GetBitmap(&info);
            CDC memory;
            if (memory.CreateCompatibleDC(pDC)) {
                CBitmap* old = memory.SelectObject(&logo);
                pDC->StretchBlt(rect.right - m_nLogoWidth, rect.top, m_nLogoWidth, m_nLogoHeight, &memory, 0, 0,
                                info.bmWidth, info.bmHeight, SRCCOPY);
                memory.SelectObject(old);
            }
        }
        if (m_fontTitle.GetSafeHandle() != nullptr) pDC->SelectObject(&m_fontTitle);
        CString heading;
        heading.LoadString(kHeading);
        CRect band(rect.left, rect.top, rect.right - m_nLogoWidth, rect.top + m_nLogoHeight);
        pDC->DrawText(heading, band, DT_SINGLELINE | DT_BOTTOM | DT_CENTER);
    }
    const int y = rect.top + m_nLogoHeight + m_nRuleGap;
    if (bDraw) Rule(pDC, rect.left, rect.right, y, m_nRuleWidth);
    rect.top = y + m_nRuleGap;
    pDC->RestoreDC(saved);
}

void CReportPrinter::PrintFooter(CDC* pDC, CRect& rect, int page, BOOL bDraw)
{
    const int saved = pDC->SaveDC();
    if (m_fontSmall.GetSafeHandle() != nullptr) pDC->SelectObject(&m_fontSmall);
    const int height = pDC->GetTextExtent("0", 1).cy;
    if (bDraw) {
        CRect band = rect;
        pDC->DrawText(m_strFooterLeft, band, DT_SINGLELINE | DT_BOTTOM | DT_LEFT);
        pDC->DrawText(CDeviceReport::Text(kPageNumber, page), band, DT_SINGLELINE | DT_BOTTOM | DT_CENTER);
        pDC->DrawText(m_strFooterRight, band, DT_SINGLELINE | DT_BOTTOM | DT_RIGHT);
    }
    const int y = rect.bottom - height - m_nRuleGap;
    if (bDraw) Rule(pDC, rect.left, rect.right, y, m_nRuleWidth);
    rect.bottom = y - m_nRuleGap;
    pDC->RestoreDC(saved);
}

void CReportPrinter::PrintBody(CDC* pDC, const CRect& body, int page)
{
    const int saved = pDC->SaveDC();
    pDC->SetTextAlign(TA_LEFT | TA_TOP);
    // An object taller than the page is cut at the body's bottom, above the footer.
    pDC->IntersectClipRect(body);
    int top = body.top;
    POSITION pos = m_objects.GetHeadPosition();
    while (pos != nullptr) {
        auto* object = static_cast<CPrintObject*>(m_objects.GetNext(pos));
        if (object->GetPage() != page) continue;
        top += object->Print(pDC, CRect(body.left, top, body.right, body.bottom), FALSE);
        if (const auto* graph = dynamic_cast<const CGraphObject*>(object)) {
            CRect box(body.left, top, body.left + m_sizeGraph.cx, top + m_sizeGraph.cy);
            CFieldDiagram::Draw(pDC, box, graph->GetFirst(), graph->GetSecond(), graph->GetThird(), m_diagramStyle);
            top += m_sizeGraph.cy;
        }
    }
    pDC->RestoreDC(saved);
}
