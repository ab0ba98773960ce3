#include "framework/ui/CPropertySheetTabs.h"

#include "framework/ui/ControlSupport.h"

#include <QFontMetrics>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <numeric>

namespace {

constexpr int kTextPadding = 6; // left and right of a tab's text
constexpr int kMinTabWidth = 40;
constexpr int kLift = 2;        // the chosen tab stands this much higher and wider
constexpr int kFocusInset = 3;  // the focus frame inside the chosen tab's edge

// The dotted frame that shows where the keyboard works.
void DrawFocusFrame(QPainter& painter, const QRect& rect, const QColor& color)
{
    const QPen pen(color, 1, Qt::DotLine);
    painter.save();
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
}

} // namespace

CPropertySheetTabs::CPropertySheetTabs(std::function<void(int)> onChoose, QWidget* parent)
    : QWidget(parent), m_onChoose(std::move(onChoose))
{
    setFocusPolicy(Qt::StrongFocus);
}

void CPropertySheetTabs::AddTab(const QString& text)
{
    m_texts.push_back(AfxTextWithoutMnemonic(text));
    update();
}

void CPropertySheetTabs::RemoveTab(int index)
{
    if (index < 0 || index >= Count()) return;
    m_texts.erase(m_texts.begin() + index);
    if (m_current >= Count()) m_current = Count() - 1;
    update();
}

void CPropertySheetTabs::SetCurrent(int index)
{
    m_current = index >= 0 && index < Count() ? index : -1;
    update();
}

int CPropertySheetTabs::TabHeight() const { return AfxTextLineHeight(font()) + 6; }

int CPropertySheetTabs::NaturalWidth(int index) const
{
    const QFontMetrics metrics(font());
    return std::max(kMinTabWidth, metrics.horizontalAdvance(m_texts[std::size_t(index)]) + 2 * kTextPadding);
}

std::vector<std::vector<int>> CPropertySheetTabs::Rows(int width) const
{
    std::vector<std::vector<int>> rows;
    int used = 0;
    for (int i = 0; i < Count(); ++i) {
        const int tab = NaturalWidth(i);
        if (rows.empty() || (used + tab > width && !rows.back().empty())) {
            rows.emplace_back();
            used = 0;
        }
        rows.back().push_back(i);
        used += tab;
    }
    const auto chosen = std::find_if(rows.begin(), rows.end(), [this](const std::vector<int>& row) {
        return std::find(row.begin(), row.end(), m_current) != row.end();
    });
    if (chosen != rows.end()) std::rotate(chosen, chosen + 1, rows.end());
    return rows;
}

int CPropertySheetTabs::HeightForWidth(int width) const
{
    const int rows = std::max<int>(1, int(Rows(width).size()));
    return kLift + rows * TabHeight();
}

// With several rows each row is stretched to the full width, as tabs of equal rows read.
std::vector<QRect> CPropertySheetTabs::Layout() const
{
    std::vector<QRect> rects(static_cast<std::size_t>(Count()));
    const std::vector<std::vector<int>> rows = Rows(width());
    const bool stretch = rows.size() > 1;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::vector<int>& row = rows[r];
        const int natural = std::accumulate(row.begin(), row.end(), 0, [this](int sum, int i) { return sum + NaturalWidth(i); });
        const int spare = stretch ? std::max(0, width() - natural) : 0;
        int x = 0;
        for (std::size_t k = 0; k < row.size(); ++k) {
            const int share = spare / int(row.size()) + (int(k) < spare % int(row.size()) ? 1 : 0);
            const int w = NaturalWidth(row[k]) + share;
            rects[std::size_t(row[k])] = QRect(x, kLift + int(r) * TabHeight(), w, TabHeight());
            x += w;
        }
    }
    return rects;
}

QRect CPropertySheetTabs::TabRect(int index) const
{
    if (index < 0 || index >= Count()) return {};
    return Layout()[std::size_t(index)];
}

int CPropertySheetTabs::TabAt(const QPoint& point) const
{
    const std::vector<QRect> rects = Layout();
    // The chosen tab is drawn over its neighbours: it answers first.
    if (m_current >= 0 && rects[std::size_t(m_current)].adjusted(-kLift, -kLift, kLift, 0).contains(point)) return m_current;
    for (int i = 0; i < Count(); ++i)
        if (rects[std::size_t(i)].contains(point)) return i;
    return -1;
}

void CPropertySheetTabs::mousePressEvent(QMouseEvent* event)
{
    const int index = TabAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index >= 0 && m_onChoose) m_onChoose(index);
}

void CPropertySheetTabs::keyPressEvent(QKeyEvent* event)
{
    const bool plain = (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier)) == 0;
    int target = -1;
    if (plain && Count() > 0) {
        switch (event->key()) {
        case Qt::Key_Left: target = std::max(0, m_current - 1); break;
        case Qt::Key_Right: target = std::min(Count() - 1, m_current + 1); break;
        case Qt::Key_Home: target = 0; break;
        case Qt::Key_End: target = Count() - 1; break;
        default: break;
        }
    }
    // Other keys (Return, Escape, Ctrl+Tab) go on to the sheet.
    if (target < 0) {
        event->ignore();
        return;
    }
    if (target != m_current && m_onChoose) m_onChoose(target);
}

void CPropertySheetTabs::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void CPropertySheetTabs::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void CPropertySheetTabs::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colors = palette();
    painter.fillRect(rect(), colors.color(QPalette::Window));
    const std::vector<QRect> rects = Layout();
    const auto drawTab = [&](int i) {
        const bool chosen = i == m_current;
        const QRect tab = chosen ? rects[std::size_t(i)].adjusted(-kLift, -kLift, kLift, 1) : rects[std::size_t(i)];
        painter.fillRect(tab, chosen ? colors.color(QPalette::Window) : colors.color(QPalette::Button).darker(106));
        painter.setPen(colors.color(QPalette::Light));
        painter.drawLine(tab.topLeft(), tab.bottomLeft());
        painter.drawLine(tab.topLeft(), tab.topRight());
        painter.setPen(colors.color(QPalette::Dark));
        painter.drawLine(tab.topRight(), tab.bottomRight());
        painter.setPen(colors.color(QPalette::WindowText));
        painter.drawText(tab, Qt::AlignCenter | Qt::TextSingleLine, m_texts[std::size_t(i)]);
        if (chosen && hasFocus())
            DrawFocusFrame(painter, tab.adjusted(kFocusInset, kFocusInset, -kFocusInset, -kFocusInset),
                           colors.color(QPalette::WindowText));
    };
    for (int i = 0; i < Count(); ++i)
        if (i != m_current) drawTab(i);
    // The base line under the bottom row, open under the chosen tab, which joins its page.
    painter.setPen(colors.color(QPalette::Light));
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);
    if (m_current >= 0) drawTab(m_current);
}
