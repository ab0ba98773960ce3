#pragma once
// The tabs of a tabbed property sheet (framework/ui only). Tabs that do not fit one row
// wrap onto further rows, each row filling the strip's width, so every page's tab stays
// in sight; the row holding the chosen tab lies next to the page. The strip is a tab stop
// of its own: with the focus, Left and Right (Home and End) choose the neighbouring (the
// first or last) page. A click or key only asks the sheet, which may keep the shown page.
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

class CPropertySheetTabs final : public QWidget {
public:
    // onChoose gets the page the user asks for.
    CPropertySheetTabs(std::function<void(int)> onChoose, QWidget* parent);

    void AddTab(const QString& text);
    void RemoveTab(int index);
    int Count() const { return int(m_texts.size()); }
    void SetCurrent(int index);
    int Current() const { return m_current; }

    // Height of the tab rows when laid out within the given width.
    int HeightForWidth(int width) const;
    int RowCount() const { return int(Rows(width()).size()); }
    // Where a tab shows, in the strip's coordinates; empty for no such tab.
    QRect TabRect(int index) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int TabHeight() const;
    int NaturalWidth(int index) const;
    // Tab indexes per row, top row first, after the chosen tab's row moved to the bottom.
    std::vector<std::vector<int>> Rows(int width) const;
    std::vector<QRect> Layout() const;
    int TabAt(const QPoint& point) const;

    std::function<void(int)> m_onChoose;
    std::vector<QString> m_texts;
    int m_current = -1;
};
