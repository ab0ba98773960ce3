#include "app/CFieldDiagram.h"

#include "framework/core/Resources.h"
#include "model/CShelter.h"

#include <algorithm>
#include <array>
#include <memory>

namespace {

constexpr UINT kLegendTexts[3] = {1148, 1149, 1150};
constexpr UINT kCaption = 1228;

struct Geometry {
    int cell = 1000;
    int step = 5;
    int nx = 2;
    int ny = 1;
    CSize charSize;
    CPoint origin;
};

int LargestExtent(const std::array<const CSensorObject*, 3>& objects)
{
    WORD extent = 0;
    for (const CSensorObject* object : objects)
        if (const auto* field = dynamic_cast<const CShelter*>(object)) extent = std::max(extent, field->GetMaxExtent());
    return int(extent);
}

void DrawAxes(CDC* pDC, const Geometry& g)
{
    const int tick = std::max(2, g.cell / 30);
    pDC->MoveTo(g.origin.x, g.origin.y);
    pDC->LineTo(g.origin.x, g.origin.y - g.ny * g.cell);
    pDC->MoveTo(g.origin.x, g.origin.y);
    pDC->LineTo(g.origin.x + g.nx * g.cell, g.origin.y);
    for (int i = 0; i <= g.ny; ++i) {
        pDC->MoveTo(g.origin.x - tick, g.origin.y - i * g.cell);
        pDC->LineTo(g.origin.x + tick, g.origin.y - i * g.cell);
    }
    for (int i = 0; i <= g.nx; ++i) {
        pDC->MoveTo(g.origin.x + i * g.cell, g.origin.y - tick);
        pDC->LineTo(g.origin.x + i * g.cell, g.origin.y + tick);
    }
}

void DrawLabels(CDC* pDC, const Geometry& g)
{
    const int tick = std::max(2, g.cell / 30);
    const UINT oldAlign = pDC->SetTextAlign(TA_RIGHT | TA_TOP);
    CString text;
    for (int i = 0; i <= g.ny; ++i) {
        text.Format("%d", i * g.step);
        pDC->TextOut(g.origin.x - 2 * tick, g.origin.y - i * g.cell - g.charSize.cy / 2, text);
    }
    pDC->SetTextAlign(TA_CENTER | TA_TOP);
    for (int i = 0; i <= g.nx; ++i) {
        const int value = -g.step * g.ny + i * g.step;
        text.Format(value > 0 ? "+%d" : "%d", value);
        pDC->TextOut(g.origin.x + i * g.cell, g.origin.y + g.charSize.cy / 2, text);
    }
    pDC->SetTextAlign(oldAlign);
}

void DrawFields(CDC* pDC, const Geometry& g, const std::array<const CSensorObject*, 3>& objects,
                const FieldDiagramStyle& style)
{
    CPoint scanner(g.origin.x + g.nx * g.cell / 2, g.origin.y);
    pDC->LPtoDP(&scanner);
    pDC->SetMapMode(MM_ANISOTROPIC);
    pDC->SetWindowOrg(0, 0);
    pDC->SetWindowExt(g.step, -g.step);
    pDC->SetViewportExt(MulDiv(1000, pDC->GetDeviceCaps(LOGPIXELSX), 2540), MulDiv(1000, pDC->GetDeviceCaps(LOGPIXELSY), 2540));
    pDC->SetViewportOrg(scanner);
    pDC->SetBkColor(RGB(0, 0, 0));
    for (int i = 2; i >= 0; --i) {
        if (objects[std::size_t(i)] == nullptr) continue;
        // The object is drawn in the legend's colour; its own stays as it is.
        std::unique_ptr<CSensorObject> copy = objects[std::size_t(i)]->Clone();
        if (auto* field = dynamic_cast<CShelter*>(copy.get())) field->SetFillColor(style.fill[i]);
        const int oldRop = pDC->SetROP2(R2_NOTXORPEN);
        copy->DrawFilledOnLayer(pDC, 0);
        pDC->SetROP2(oldRop);
    }
}

} // namespace

int CFieldDiagram::GetDiagramStep(int extent, int cells)
{
    cells = std::max(1, cells);
    const int perCell = (std::max(0, extent) + cells - 1) / cells;
    return std::max(5, (perCell + 4) / 5 * 5);
}

int CFieldDiagram::CellsIn(int length, int margin, int cell)
{
    return std::max(1, (length - 2 * margin) / std::max(1, cell));
}

void CFieldDiagram::Draw(CDC* pDC, CRect& rect, const CSensorObject* first, const CSensorObject* second,
                         const CSensorObject* third, const FieldDiagramStyle& style)
{
    const std::array<const CSensorObject*, 3> objects{first, second, third};
    Geometry g;
    int extent = LargestExtent(objects);
    g.cell = style.metric ? 1000 : 2540;
    if (!style.metric) extent = MulDiv(extent, 1000, 2540);

    const int saved = pDC->SaveDC();
    if (style.captionFont != nullptr && style.captionFont->GetSafeHandle() != nullptr) pDC->SelectObject(style.captionFont);
    g.charSize = pDC->GetTextExtent("0", 1);
    const int mx = 6 * g.charSize.cx;
    const int my = 2 * g.charSize.cy;
    g.ny = CellsIn(rect.Height(), my, g.cell);
    g.nx = 2 * g.ny; // the diagram is twice as wide as high
    g.step = GetDiagramStep(extent, g.ny);

    CRect box(rect.left, rect.top, rect.left + g.nx * g.cell + 2 * mx, rect.top + g.ny * g.cell + 2 * my);
    g.origin = CPoint(box.left + mx, box.bottom - my);
    const CRect plot = box;

    // Legend of the present objects at the right of the box.
    std::array<CString, 3> legend;
    int widest = 0;
    int legendHeight = 2 * g.charSize.cy;
    for (std::size_t i = 0; i < 3; ++i) {
        if (objects[i] == nullptr) continue;
        legend[i].LoadString(kLegendTexts[i]);
        const CSize size = pDC->GetTextExtent(legend[i]);
        widest = std::max(widest, int(size.cx));
        legendHeight += size.cy;
    }
    const CSize swatch = pDC->GetTextExtent("XXX", 3);
    const int legendWidth = widest + 3 * g.charSize.cx + swatch.cx;
    const CRect legendRect(box.right - mx, box.top, box.right - mx + legendWidth, box.top + legendHeight);
    box.right += legendWidth - mx;

    CString caption;
    CString format;
    if (format.LoadString(kCaption)) caption.Format(format.c_str(), style.unitText.c_str());

    pDC->SetBkMode(TRANSPARENT);
    pDC->SelectStockObject(NULL_BRUSH);
    pDC->Rectangle(box);
    DrawAxes(pDC, g);
    DrawLabels(pDC, g);
    pDC->SetTextAlign(TA_CENTER | TA_BOTTOM);
    pDC->TextOut(g.origin.x + g.nx * g.cell / 2, g.origin.y - g.ny * g.cell, caption);

    pDC->SetTextAlign(TA_LEFT | TA_TOP);
    int y = legendRect.top + g.charSize.cy;
    for (std::size_t i = 0; i < 3; ++i) {
        if (objects[i] == nullptr) continue;
        const CSize size = pDC->GetTextExtent(legend[i]);
        CRect sample(legendRect.left + g.charSize.cx, y, legendRect.left + g.charSize.cx + swatch.cx, y + size.cy);
        sample.InflateRect(0, g.charSize.cy / 8);
        pDC->FillSolidRect(sample, style.fill[i]);
        pDC->TextOut(legendRect.left + swatch.cx + 2 * g.charSize.cx, y, legend[i]);
        y += size.cy;
    }

    // The objects stay inside the diagram: a scan may reach far beyond it (up to the
    // longest distance a beam word holds), and its fill must not cost a whole page.
    pDC->IntersectClipRect(plot);
    DrawFields(pDC, g, objects, style);
    pDC->RestoreDC(saved);
    rect = box;
}
