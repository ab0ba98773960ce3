#pragma once
// The printed pages of a device report: the page frame (paper margins, a header band
// with the logo and the report heading above a rule, a footer with the print time, the
// page number and the document name below a rule) and the report's print objects laid
// out on the pages between them. A device view owns one and calls it from its printing
// hooks; the document builds the objects.
//
// Layout: an object goes on the current page when its height fits what is left of the
// page (an object that exactly fills it fits); a page always takes at least one object,
// so an object taller than a whole page gets a page of its own and is cut at the page's
// bottom; a report stops after 100 pages.
#include "app/CFieldDiagram.h"
#include "framework/core/CList.h"
#include "framework/core/CRect.h"
#include "framework/core/CString.h"
#include "framework/gdi/CDC.h"

#include <functional>

struct CPrintInfo;
class CPrintObject;

class CReportPrinter {
public:
    static constexpr int kMaxPages = 100;

    CReportPrinter() = default;
    ~CReportPrinter();
    CReportPrinter(const CReportPrinter&) = delete;
    CReportPrinter& operator=(const CReportPrinter&) = delete;

    // Fills the object list; 0 (or an exception) means no report.
    using BuildFunction = std::function<int(CObList& objects)>;

    // The printer's mapping (0.01 mm, y down) and the margins inside its printable area;
    // once laid out, a page past the last ends the run.
    void PrepareDC(CDC* pDC, CPrintInfo* pInfo);
    // Fonts and footer texts (the right one is the document's title, or string 1226 for a
    // report of the device's configuration), the report built and laid out; the run's
    // last page becomes the report's last. A build that fails or throws leaves no
    // objects: the pages show only their frame.
    void BeginPrinting(CDC* pDC, CPrintInfo* pInfo, const CString& docTitle, BOOL deviceReport,
                       const BuildFunction& build);
    // Frame and objects of the info's current page.
    void PrintPage(CDC* pDC, CPrintInfo* pInfo);
    // Fonts and footers dropped, every object deleted.
    void EndPrinting();

    // Assigns pages to the objects for a body rectangle (see above); returns the page
    // count, 0 for no objects. Objects beyond the page limit keep page 0.
    static int LayoutPages(CDC* pDC, CObList& objects, const CRect& body, CSize graphSize, int maxPages = kMaxPages);

    CObList& GetObjects() { return m_objects; }
    int GetPageCount() const { return m_nPageCount; }
    void DeleteObjects();

    // The frame, consuming its parts of the drawing rectangle; with bDraw off only measured.
    void PrintHeader(CDC* pDC, CRect& rect, BOOL bDraw = TRUE);
    void PrintFooter(CDC* pDC, CRect& rect, int page, BOOL bDraw = TRUE);
    // The drawing rectangle of a page inside the margins, header and footer.
    CRect BodyRect(CDC* pDC, const CRect& page);

    // Geometry, 0.01 mm.
    CRect m_rectPaperMargins{1270, 1270, 1270, 1270};
    CRect m_rectPrintMargins;
    int m_nLogoWidth = 3000;
    int m_nLogoHeight = 1000;
    int m_nRuleGap = 500;
    int m_nRuleWidth = 100;
    CSize m_sizeGraph{14000, 7000};
    CString m_strFooterLeft;
    CString m_strFooterRight;
    FieldDiagramStyle m_diagramStyle;

private:
    void CreateFonts();
    void ComputeMargins(CDC* pDC);
    void PrintBody(CDC* pDC, const CRect& body, int page);

    CObList m_objects;
    int m_nPageCount = 0;
    CFont m_fontTitle;
    CFont m_fontSmall;
    CFont m_fontCaption;
};
