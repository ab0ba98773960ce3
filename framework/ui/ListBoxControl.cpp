#include "framework/ui/ListBoxControl.h"

#include "framework/gdi/CDC.h"
#include "framework/gdi/GdiQt.h"
#include "framework/ui/ControlDefs.h"
#include "framework/ui/ControlSupport.h"
#include "framework/ui/WindowHandle.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cstring>

namespace {

constexpr int kTextMargin = 2;
constexpr int kDefaultTabQuarters = 32;
constexpr int kMaxRowHeight = 255;

bool ListBoxProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    auto* list = dynamic_cast<ListBoxWidget*>(AfxWidgetFromHandle(hWnd));
    return list != nullptr && list->HandleMessage(hWnd, message, wParam, lParam, result);
}

const WindowClassInfo* RegisterListBoxClass()
{
    WindowClassInfo info;
    info.name = "LISTBOX";
    info.style = CS_DBLCLKS;
    info.createWidget = &AfxCreateListBoxWidget;
    info.windowProc = &ListBoxProc;
    return AfxRegisterWindowClass(std::move(info));
}

const WindowClassInfo* const s_listBoxClass = RegisterListBoxClass();

int QtKeyOf(int virtualKey)
{
    switch (virtualKey) {
    case VK_UP: return Qt::Key_Up;
    case VK_DOWN: return Qt::Key_Down;
    case VK_HOME: return Qt::Key_Home;
    case VK_END: return Qt::Key_End;
    case VK_PRIOR: return Qt::Key_PageUp;
    case VK_NEXT: return Qt::Key_PageDown;
    case VK_SPACE: return Qt::Key_Space;
    default: return 0;
    }
}

} // namespace

QWidget* AfxCreateListBoxWidget(const CREATESTRUCT& cs, QWidget* parent)
{
    return new ListBoxWidget(DWORD(cs.style), parent);
}

ListBoxWidget::ListBoxWidget(DWORD style, QWidget* parent) : QAbstractScrollArea(parent), m_style(style)
{
    (void)s_listBoxClass;
    setFrameStyle((style & WS_BORDER) ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
    setVerticalScrollBarPolicy((style & WS_VSCROLL) ? ((style & LBS_DISABLENOSCROLL) ? Qt::ScrollBarAlwaysOn
                                                                                    : Qt::ScrollBarAsNeeded)
                                                    : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy((style & WS_HSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setFocusPolicy((style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    verticalScrollBar()->setSingleStep(1);
}

bool ListBoxWidget::IsOwnerDraw() const { return (m_style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0; }
bool ListBoxWidget::HasStrings() const { return !IsOwnerDraw() || (m_style & LBS_HASSTRINGS) != 0; }
bool ListBoxWidget::IsMultiple() const { return (m_style & LBS_MULTIPLESEL) != 0; }
bool ListBoxWidget::IsExtended() const { return (m_style & LBS_EXTENDEDSEL) != 0; }
bool ListBoxWidget::Notifies() const { return (m_style & LBS_NOTIFY) != 0; }

HWND ListBoxWidget::Handle() const { return AfxHandleFromWidget(this); }

// ---------------------------------------------------------------- messages

bool ListBoxWidget::HandleMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    const int index = int(wParam);
    switch (message) {
    case WM_CREATE:
        MeasureFixedRows(hWnd);
        result = 0;
        return true;
    case WM_DESTROY:
        DeleteAllRows(hWnd);
        return false;
    case WM_GETDLGCODE:
        result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        return true;
    case WM_KEYDOWN:
    case WM_CHAR: {
        // Keys from Qt are Qt's to handle; a sent key moves the selection here.
        if (AfxMessageFromQt(hWnd)) return false;
        if (message == WM_CHAR) {
            const char32_t code = char32_t(wParam);
            HandleKey(0, Qt::NoModifier, QString::fromUcs4(&code, 1));
        } else {
            HandleKey(QtKeyOf(int(wParam)), Qt::NoModifier, QString());
        }
        result = 0;
        return true;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        AfxNotifyParent(hWnd, message == WM_SETFOCUS ? LBN_SETFOCUS : LBN_KILLFOCUS);
        viewport()->update();
        return false;
    case LB_ADDSTRING:
        result = Insert(hWnd, -1, lParam, (m_style & LBS_SORT) != 0);
        return true;
    case LB_INSERTSTRING:
        result = (index == -1 || (index >= 0 && index <= Count())) ? Insert(hWnd, index, lParam, false) : LB_ERR;
        return true;
    case LB_DELETESTRING:
        result = ValidIndex(index) ? Delete(hWnd, index) : LB_ERR;
        return true;
    case LB_RESETCONTENT:
        ResetContent(hWnd);
        result = 0;
        return true;
    case LB_GETCOUNT:
        result = Count();
        return true;
    case LB_GETCURSEL:
        result = IsMultiSelect() ? (Count() > 0 ? m_caret : LB_ERR) : m_curSel;
        return true;
    case LB_SETCURSEL:
        if (IsMultiSelect()) {
            result = LB_ERR;
        } else if (ValidIndex(index)) {
            SelectOnly(index);
            SetCaret(index);
            EnsureVisible(index);
            result = index;
        } else {
            SelectOnly(-1);
            result = LB_ERR;
        }
        return true;
    case LB_GETSEL:
        result = ValidIndex(index) ? (m_items[std::size_t(index)].selected ? 1 : 0) : LB_ERR;
        return true;
    case LB_SETSEL: {
        const int target = int(lParam);
        if (!IsMultiSelect() || (target != -1 && !ValidIndex(target))) {
            result = LB_ERR;
        } else if (target == -1) {
            SelectRange(0, Count() - 1, wParam != 0);
            result = 0;
        } else {
            m_items[std::size_t(target)].selected = wParam != 0;
            viewport()->update();
            result = 0;
        }
        return true;
    }
    case LB_GETSELCOUNT:
        result = IsMultiSelect() ? LRESULT(std::count_if(m_items.begin(), m_items.end(), [](const Item& i) { return i.selected; }))
                                 : LB_ERR;
        return true;
    case LB_GETSELITEMS: {
        if (!IsMultiSelect()) {
            result = LB_ERR;
            return true;
        }
        auto* out = reinterpret_cast<int*>(lParam);
        int count = 0;
        for (int i = 0; i < Count() && count < index && out != nullptr; ++i) {
            if (m_items[std::size_t(i)].selected) out[count++] = i;
        }
        result = count;
        return true;
    }
    case LB_SELITEMRANGE:
        if (!IsMultiSelect()) {
            result = LB_ERR;
        } else {
            SelectRange(LOWORD(DWORD(lParam)), HIWORD(DWORD(lParam)), wParam != 0);
            result = 0;
        }
        return true;
    case LB_SELITEMRANGEEX: {
        const int first = int(wParam);
        const int last = int(lParam);
        if (!IsMultiSelect()) {
            result = LB_ERR;
        } else {
            SelectRange(std::min(first, last), std::max(first, last), first <= last);
            result = 0;
        }
        return true;
    }
    case LB_GETTEXT:
        if (!ValidIndex(index)) {
            result = LB_ERR;
        } else if (HasStrings()) {
            result = AfxCopyTextUnbounded(m_items[std::size_t(index)].text, lParam);
        } else {
            if (lParam) std::memcpy(reinterpret_cast<void*>(lParam), &m_items[std::size_t(index)].data, sizeof(ULONG_PTR));
            result = LRESULT(sizeof(ULONG_PTR));
        }
        return true;
    case LB_GETTEXTLEN:
        result = !ValidIndex(index) ? LB_ERR
                 : HasStrings()     ? AfxTextLength(m_items[std::size_t(index)].text)
                                    : LRESULT(sizeof(ULONG_PTR));
        return true;
    case LB_GETITEMDATA:
        result = ValidIndex(index) ? LRESULT(m_items[std::size_t(index)].data) : LB_ERR;
        return true;
    case LB_SETITEMDATA:
        if (ValidIndex(index)) {
            m_items[std::size_t(index)].data = ULONG_PTR(lParam);
            result = 0;
        } else {
            result = LB_ERR;
        }
        return true;
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
        result = FindString(index, HasStrings() ? AfxTextFromParam(lParam) : QString(), ULONG_PTR(lParam),
                            message == LB_FINDSTRINGEXACT);
        return true;
    case LB_SELECTSTRING: {
        const int found = IsMultiSelect() ? LB_ERR : FindString(index, AfxTextFromParam(lParam), ULONG_PTR(lParam), false);
        if (found != LB_ERR) {
            SelectOnly(found);
            SetCaret(found);
            EnsureVisible(found);
        }
        result = found;
        return true;
    }
    case LB_GETTOPINDEX:
        result = m_top;
        return true;
    case LB_SETTOPINDEX:
        if (ValidIndex(index)) {
            SetTopIndex(index);
            result = 0;
        } else {
            result = LB_ERR;
        }
        return true;
    case LB_GETITEMRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (!ValidIndex(index) || rect == nullptr) {
            result = LB_ERR;
            return true;
        }
        const QRect row = RowRect(index);
        *rect = RECT{row.left(), row.top(), row.left() + row.width(), row.top() + row.height()};
        result = 1;
        return true;
    }
    case LB_SETITEMHEIGHT: {
        const int height = int(LOWORD(DWORD(lParam)));
        if (height <= 0 || height > kMaxRowHeight) {
            result = LB_ERR;
        } else if (m_style & LBS_OWNERDRAWVARIABLE) {
            if (!ValidIndex(index)) {
                result = LB_ERR;
                return true;
            }
            m_items[std::size_t(index)].height = height;
            result = 0;
        } else {
            m_itemHeight = height;
            result = 0;
        }
        UpdateScrollBars();
        viewport()->update();
        return true;
    }
    case LB_GETITEMHEIGHT:
        result = ((m_style & LBS_OWNERDRAWVARIABLE) && !ValidIndex(index)) ? LB_ERR : RowHeight(index);
        return true;
    case LB_SETTABSTOPS: {
        m_tabStops.clear();
        const auto* stops = reinterpret_cast<const int*>(lParam);
        if (index == 1 && stops != nullptr) {
            m_tabStops.push_back(-AfxQuarterCharsToPixels(font(), stops[0])); // negative: a repeating interval
        } else if (index > 1 && stops != nullptr) {
            for (int i = 0; i < index; ++i) m_tabStops.push_back(AfxQuarterCharsToPixels(font(), stops[i]));
        }
        viewport()->update();
        result = (m_style & LBS_USETABSTOPS) ? TRUE : FALSE;
        return true;
    }
    case LB_SETHORIZONTALEXTENT:
        m_horizontalExtent = std::max(0, index);
        UpdateScrollBars();
        viewport()->update();
        result = 0;
        return true;
    case LB_GETHORIZONTALEXTENT:
        result = m_horizontalExtent;
        return true;
    case LB_GETCARETINDEX:
        result = Count() > 0 ? m_caret : 0;
        return true;
    case LB_SETCARETINDEX:
        if (ValidIndex(index)) {
            SetCaret(index);
            EnsureVisible(index);
            result = 0;
        } else {
            result = LB_ERR;
        }
        return true;
    case LB_GETANCHORINDEX:
        result = m_anchor;
        return true;
    case LB_SETANCHORINDEX:
        if (ValidIndex(index)) {
            m_anchor = index;
            result = 0;
        } else {
            result = LB_ERR;
        }
        return true;
    default:
        return false;
    }
}

// ---------------------------------------------------------------- rows

int ListBoxWidget::Insert(HWND hWnd, int index, LPARAM lParam, bool sorted)
{
    Item item;
    if (HasStrings())
        item.text = AfxTextFromParam(lParam);
    else
        item.data = ULONG_PTR(lParam);
    const int position = sorted ? SortedPosition(hWnd, item) : (index < 0 ? Count() : index);
    m_items.insert(m_items.begin() + position, item);
    if (m_curSel >= position) ++m_curSel;
    if (m_caret >= position && Count() > 1) ++m_caret;
    if (m_anchor >= position && Count() > 1) ++m_anchor;
    if (m_style & LBS_OWNERDRAWVARIABLE) m_items[std::size_t(position)].height = MeasureVariableRow(hWnd, position);
    UpdateScrollBars();
    viewport()->update();
    return position;
}

int ListBoxWidget::SortedPosition(HWND hWnd, const Item& item) const
{
    for (int i = 0; i < Count(); ++i) {
        int order = 0;
        if (HasStrings()) {
            order = AfxCompareItemText(item.text, m_items[std::size_t(i)].text);
        } else {
            // Rows without text are ordered by their owner.
            COMPAREITEMSTRUCT compare;
            compare.CtlType = ODT_LISTBOX;
            compare.CtlID = hWnd->id;
            compare.hwndItem = hWnd;
            compare.itemID1 = UINT(-1);
            compare.itemData1 = item.data;
            compare.itemID2 = UINT(i);
            compare.itemData2 = m_items[std::size_t(i)].data;
            if (HWND parent = AfxParentHandle(hWnd))
                order = int(::SendMessage(parent, WM_COMPAREITEM, WPARAM(hWnd->id), LPARAM(&compare)));
        }
        if (order < 0) return i;
    }
    return Count();
}

int ListBoxWidget::Delete(HWND hWnd, int index)
{
    SendDeleteItem(hWnd, index);
    if (!ValidIndex(index)) return Count(); // the owner changed the list meanwhile
    m_items.erase(m_items.begin() + index);
    if (m_curSel == index)
        m_curSel = -1;
    else if (m_curSel > index)
        --m_curSel;
    if (m_caret >= index && m_caret > 0) --m_caret;
    if (m_anchor >= index && m_anchor > 0) --m_anchor;
    m_top = std::clamp(m_top, 0, std::max(0, Count() - 1));
    UpdateScrollBars();
    viewport()->update();
    return Count();
}

void ListBoxWidget::ResetContent(HWND hWnd)
{
    DeleteAllRows(hWnd);
    m_items.clear();
    m_curSel = -1;
    m_caret = 0;
    m_anchor = 0;
    m_top = 0;
    UpdateScrollBars();
    viewport()->update();
}

void ListBoxWidget::DeleteAllRows(HWND hWnd)
{
    if (!IsOwnerDraw()) return;
    // The owner hears of every row, first to last, while the rows still exist.
    for (int i = 0; i < Count(); ++i) SendDeleteItem(hWnd, i);
}

void ListBoxWidget::SendDeleteItem(HWND hWnd, int index)
{
    if (!IsOwnerDraw() || !ValidIndex(index)) return;
    HWND parent = AfxParentHandle(hWnd);
    if (!parent) return;
    DELETEITEMSTRUCT deleted;
    deleted.CtlType = ODT_LISTBOX;
    deleted.CtlID = hWnd->id;
    deleted.itemID = UINT(index);
    deleted.hwndItem = hWnd;
    deleted.itemData = m_items[std::size_t(index)].data;
    ::SendMessage(parent, WM_DELETEITEM, WPARAM(hWnd->id), LPARAM(&deleted));
}

void ListBoxWidget::MeasureFixedRows(HWND hWnd)
{
    if (m_measured || !(m_style & LBS_OWNERDRAWFIXED) || !AfxIsLiveHandle(hWnd)) return;
    m_measured = true;
    HWND parent = AfxParentHandle(hWnd);
    if (!parent) return;
    MEASUREITEMSTRUCT measure;
    measure.CtlType = ODT_LISTBOX;
    measure.CtlID = hWnd->id;
    measure.itemWidth = UINT(viewport()->width());
    measure.itemHeight = UINT(RowHeight(0));
    ::SendMessage(parent, WM_MEASUREITEM, WPARAM(hWnd->id), LPARAM(&measure));
    if (measure.itemHeight > 0 && measure.itemHeight <= UINT(kMaxRowHeight)) m_itemHeight = int(measure.itemHeight);
}

int ListBoxWidget::MeasureVariableRow(HWND hWnd, int index)
{
    MEASUREITEMSTRUCT measure;
    measure.CtlType = ODT_LISTBOX;
    measure.CtlID = hWnd->id;
    measure.itemID = UINT(index);
    measure.itemWidth = UINT(viewport()->width());
    measure.itemHeight = UINT(QFontMetrics(font()).height());
    measure.itemData = m_items[std::size_t(index)].data;
    if (HWND parent = AfxParentHandle(hWnd))
        ::SendMessage(parent, WM_MEASUREITEM, WPARAM(hWnd->id), LPARAM(&measure));
    return std::clamp(int(measure.itemHeight), 1, kMaxRowHeight);
}

int ListBoxWidget::FindString(int start, const QString& text, ULONG_PTR data, bool exact) const
{
    const int count = Count();
    if (count == 0) return LB_ERR;
    const int first = (start < 0 || start >= count) ? 0 : start + 1;
    for (int n = 0; n < count; ++n) {
        const int i = (first + n) % count;
        const Item& item = m_items[std::size_t(i)];
        const bool match = !HasStrings() ? item.data == data
                           : exact       ? AfxCompareItemText(item.text, text) == 0
                                         : AfxItemTextStartsWith(item.text, text);
        if (match) return i;
    }
    return LB_ERR;
}

// ---------------------------------------------------------------- geometry

int ListBoxWidget::RowHeight(int index) const
{
    if ((m_style & LBS_OWNERDRAWVARIABLE) && ValidIndex(index) && m_items[std::size_t(index)].height > 0)
        return m_items[std::size_t(index)].height;
    return m_itemHeight > 0 ? m_itemHeight : QFontMetrics(font()).height();
}

int ListBoxWidget::RowTop(int index) const
{
    int y = 0;
    if (index >= m_top) {
        for (int i = m_top; i < index; ++i) y += RowHeight(i);
    } else {
        for (int i = index; i < m_top; ++i) y -= RowHeight(i);
    }
    return y;
}

int ListBoxWidget::IndexAt(int y) const
{
    if (y < 0) return -1;
    int top = 0;
    for (int i = m_top; i < Count(); ++i) {
        top += RowHeight(i);
        if (y < top) return i;
    }
    return -1;
}

QRect ListBoxWidget::RowRect(int index) const
{
    return QRect(-m_hScroll, RowTop(index), std::max(viewport()->width(), m_horizontalExtent), RowHeight(index));
}

int ListBoxWidget::VisibleRows() const
{
    int rows = 0;
    int used = 0;
    for (int i = m_top; i < Count(); ++i) {
        used += RowHeight(i);
        if (used > viewport()->height()) break;
        ++rows;
    }
    return std::max(rows, 1);
}

void ListBoxWidget::SetTopIndex(int index)
{
    // The last rows fill the view from the bottom at most.
    int maxTop = Count();
    int used = 0;
    while (maxTop > 0 && used + RowHeight(maxTop - 1) <= viewport()->height()) used += RowHeight(--maxTop);
    m_top = std::clamp(index, 0, std::max(0, std::min(maxTop, Count() - 1)));
    UpdateScrollBars();
    viewport()->update();
}

void ListBoxWidget::EnsureVisible(int index)
{
    if (!ValidIndex(index)) return;
    if (index < m_top) {
        SetTopIndex(index);
        return;
    }
    int top = m_top;
    auto bottomOf = [this](int from, int to) {
        int y = 0;
        for (int i = from; i <= to; ++i) y += RowHeight(i);
        return y;
    };
    while (top < index && bottomOf(top, index) > viewport()->height()) ++top;
    if (top != m_top) SetTopIndex(top);
}

void ListBoxWidget::UpdateScrollBars()
{
    int maxTop = Count();
    int used = 0;
    while (maxTop > 0 && used + RowHeight(maxTop - 1) <= viewport()->height()) used += RowHeight(--maxTop);
    QScrollBar* vertical = verticalScrollBar();
    QScrollBar* horizontal = horizontalScrollBar();
    // The ranges change with their signals on: the scroll area shows or hides a bar that is
    // there only as needed on them. A value they clamp must not move the list meanwhile.
    const int top = m_top;
    const int hScroll = m_hScroll;
    vertical->setRange(0, std::max(0, maxTop));
    horizontal->setRange(0, std::max(0, m_horizontalExtent - viewport()->width()));
    m_top = top;
    m_hScroll = hScroll;
    const QSignalBlocker blockVertical(vertical);
    const QSignalBlocker blockHorizontal(horizontal);
    vertical->setPageStep(VisibleRows());
    vertical->setValue(m_top);
    horizontal->setPageStep(std::max(1, viewport()->width()));
    m_hScroll = std::clamp(m_hScroll, 0, horizontal->maximum());
    horizontal->setValue(m_hScroll);
}

void ListBoxWidget::scrollContentsBy(int, int)
{
    m_top = std::clamp(verticalScrollBar()->value(), 0, std::max(0, Count() - 1));
    m_hScroll = horizontalScrollBar()->value();
    viewport()->update();
}

void ListBoxWidget::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

// ---------------------------------------------------------------- selection

void ListBoxWidget::SelectOnly(int index)
{
    for (auto& item : m_items) item.selected = false;
    m_curSel = ValidIndex(index) ? index : -1;
    if (m_curSel >= 0) m_items[std::size_t(m_curSel)].selected = true;
    viewport()->update();
}

void ListBoxWidget::SetCaret(int index)
{
    m_caret = index;
    viewport()->update();
}

void ListBoxWidget::SelectRange(int first, int last, bool select)
{
    first = std::max(first, 0);
    last = std::min(last, Count() - 1);
    for (int i = first; i <= last; ++i) m_items[std::size_t(i)].selected = select;
    viewport()->update();
}

void ListBoxWidget::NotifySelChange(HWND hWnd)
{
    if (Notifies()) AfxNotifyParent(hWnd, LBN_SELCHANGE);
}

void ListBoxWidget::UserSelect(int index, Qt::KeyboardModifiers modifiers, bool fromMouse)
{
    if (!ValidIndex(index) || (m_style & LBS_NOSEL)) return;
    HWND hWnd = Handle();
    bool changed = true;
    if (IsExtended()) {
        const bool extend = (modifiers & Qt::ShiftModifier) != 0;
        const bool toggle = (modifiers & Qt::ControlModifier) != 0;
        if (extend) {
            if (!toggle) SelectRange(0, Count() - 1, false);
            SelectRange(std::min(m_anchor, index), std::max(m_anchor, index), true);
        } else if (toggle && fromMouse) {
            m_items[std::size_t(index)].selected = !m_items[std::size_t(index)].selected;
            m_anchor = index;
        } else {
            SelectRange(0, Count() - 1, false);
            m_items[std::size_t(index)].selected = true;
            m_anchor = index;
        }
    } else if (IsMultiple()) {
        if (fromMouse) m_items[std::size_t(index)].selected = !m_items[std::size_t(index)].selected;
        changed = fromMouse;
    } else {
        changed = index != m_curSel;
        SelectOnly(index);
    }
    SetCaret(index);
    EnsureVisible(index);
    if (changed && hWnd) NotifySelChange(hWnd);
}

// ---------------------------------------------------------------- input

void ListBoxWidget::showEvent(QShowEvent* event)
{
    // Clicks land on the viewport; they are the list's own input.
    if (!m_eventSourceAdded) {
        if (HWND hWnd = Handle()) {
            hWnd->AddEventSource(viewport());
            m_eventSourceAdded = true;
        }
    }
    QAbstractScrollArea::showEvent(event);
}

void ListBoxWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    const int index = IndexAt(event->position().toPoint().y());
    if (index < 0) return;
    m_tracking = !IsMultiple();
    UserSelect(index, event->modifiers(), true);
}

void ListBoxWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_tracking || !(event->buttons() & Qt::LeftButton) || IsMultiSelect()) return;
    const int y = std::clamp(event->position().toPoint().y(), 0, std::max(0, viewport()->height() - 1));
    const int index = IndexAt(y);
    if (index >= 0 && index != m_curSel) UserSelect(index, Qt::NoModifier, true);
}

void ListBoxWidget::mouseReleaseEvent(QMouseEvent*) { m_tracking = false; }

void ListBoxWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    const int index = IndexAt(event->position().toPoint().y());
    if (index < 0) return;
    if (!IsMultiSelect() && index != m_curSel) UserSelect(index, Qt::NoModifier, true);
    if (Notifies()) AfxNotifyParent(Handle(), LBN_DBLCLK);
}

void ListBoxWidget::keyPressEvent(QKeyEvent* event)
{
    if (!HandleKey(event->key(), event->modifiers(), event->text())) event->ignore();
}

bool ListBoxWidget::HandleKey(int key, Qt::KeyboardModifiers modifiers, const QString& typed)
{
    if (Count() == 0) return false;
    int target = m_caret;
    switch (key) {
    case Qt::Key_Up: target = m_caret - 1; break;
    case Qt::Key_Down: target = m_caret + 1; break;
    case Qt::Key_Home: target = 0; break;
    case Qt::Key_End: target = Count() - 1; break;
    case Qt::Key_PageUp: target = m_caret - VisibleRows() + 1; break;
    case Qt::Key_PageDown: target = m_caret + VisibleRows() - 1; break;
    case Qt::Key_Space:
        if (!IsMultiple()) return false;
        m_items[std::size_t(m_caret)].selected = !m_items[std::size_t(m_caret)].selected;
        viewport()->update();
        NotifySelChange(Handle());
        return true;
    default: {
        // Typing a letter goes to the next row that starts with it.
        if (typed.isEmpty() || !typed[0].isPrint() || !HasStrings()) return false;
        const int found = FindString(m_caret, typed, 0, false);
        if (found == LB_ERR) return true;
        target = found;
        break;
    }
    }
    target = std::clamp(target, 0, Count() - 1);
    if (IsMultiple()) {
        SetCaret(target);
        EnsureVisible(target);
        return true;
    }
    UserSelect(target, modifiers & Qt::ShiftModifier, false);
    return true;
}

void ListBoxWidget::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void ListBoxWidget::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

// ---------------------------------------------------------------- painting

void ListBoxWidget::paintEvent(QPaintEvent*)
{
    if (viewport()->width() <= 0 || viewport()->height() <= 0) return;
    QImage image(viewport()->size(), QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Base));
    DrawRows(image);
    QPainter painter(viewport());
    painter.drawImage(0, 0, image);
}

void ListBoxWidget::DrawRows(QImage& image)
{
    HWND hWnd = Handle();
    const bool focused = hasFocus();
    const int bottom = image.height();
    if (IsOwnerDraw()) {
        if (!hWnd) return;
        HDC hdc = GdiCreateImageDevice(&image);
        if (!hdc) return;
        for (int i = m_top; i < Count(); ++i) {
            const QRect rect = RowRect(i);
            if (rect.top() >= bottom) break;
            UINT state = 0;
            if (m_items[std::size_t(i)].selected) state |= ODS_SELECTED;
            if (focused && i == m_caret) state |= ODS_FOCUS;
            if (!isEnabled()) state |= ODS_DISABLED;
            DrawOwnerRow(hWnd, hdc, rect, i, ODA_DRAWENTIRE, state);
            if (!AfxIsLiveHandle(hWnd)) break;
        }
        // An empty list shows where the focus is with a row that has no item.
        if (Count() == 0 && focused && AfxIsLiveHandle(hWnd))
            DrawOwnerRow(hWnd, hdc, QRect(0, 0, viewport()->width(), RowHeight(0)), -1, ODA_FOCUS, ODS_FOCUS);
        GdiDeleteDevice(hdc);
        return;
    }
    QPainter painter(&image);
    painter.setFont(font());
    for (int i = m_top; i < Count(); ++i) {
        const QRect rect = RowRect(i);
        if (rect.top() >= bottom) break;
        DrawTextRow(painter, rect, i, m_items[std::size_t(i)].selected);
        if (focused && i == m_caret) {
            QPen pen(palette().color(QPalette::Text), 1, Qt::DotLine);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(rect.adjusted(0, 0, -1, -1));
        }
    }
}

void ListBoxWidget::DrawTextRow(QPainter& painter, const QRect& rect, int index, bool selected)
{
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    if (selected) painter.fillRect(rect, palette().color(group, QPalette::Highlight));
    painter.setPen(palette().color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    const QString& text = m_items[std::size_t(index)].text;
    const QFontMetrics metrics(font());
    const int baseline = rect.top() + (rect.height() - metrics.height()) / 2 + metrics.ascent();
    if (!(m_style & LBS_USETABSTOPS)) {
        painter.drawText(rect.left() + kTextMargin, baseline, text);
        return;
    }
    // Tabs go to the next stop after the text so far.
    const int interval = m_tabStops.empty()           ? AfxQuarterCharsToPixels(font(), kDefaultTabQuarters)
                         : m_tabStops.front() < 0     ? -m_tabStops.front()
                                                      : 0;
    int x = 0;
    const QStringList parts = text.split(u'\t');
    for (qsizetype p = 0; p < parts.size(); ++p) {
        if (p > 0) {
            int next = -1;
            if (interval > 0) {
                next = (x / interval + 1) * interval;
            } else {
                for (int stop : m_tabStops) {
                    if (stop > x) {
                        next = stop;
                        break;
                    }
                }
                if (next < 0) next = x + metrics.horizontalAdvance(u' ');
            }
            x = next;
        }
        painter.drawText(rect.left() + kTextMargin + x, baseline, parts[p]);
        x += metrics.horizontalAdvance(parts[p]);
    }
}

void ListBoxWidget::DrawOwnerRow(HWND hWnd, HDC hdc, const QRect& rect, int index, UINT action, UINT state)
{
    HWND parent = AfxParentHandle(hWnd);
    if (!parent) return;
    DRAWITEMSTRUCT draw;
    draw.CtlType = ODT_LISTBOX;
    draw.CtlID = hWnd->id;
    draw.itemID = UINT(index);
    draw.itemAction = action;
    draw.itemState = state;
    draw.hwndItem = hWnd;
    draw.hDC = hdc;
    draw.rcItem = RECT{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
    draw.itemData = ValidIndex(index) ? m_items[std::size_t(index)].data : 0;
    CDC* dc = CDC::FromHandle(hdc);
    const int saved = dc ? dc->SaveDC() : 0;
    if (dc && hWnd->font) dc->SelectObject(HGDIOBJ(hWnd->font));
    ::SendMessage(parent, WM_DRAWITEM, WPARAM(hWnd->id), LPARAM(&draw));
    if (dc && saved) dc->RestoreDC(saved);
}
