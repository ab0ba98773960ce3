#pragma once
// Measures controls as they are shown, with the font each really gets: whether each
// label, button, check box and group title fits its control, whether a control reaches
// past its window's edge or sits on a group's title line or on another control.
#include "framework/core/WinStyles.h"
#include "framework/ui/ButtonControl.h"
#include "framework/ui/ControlSupport.h"
#include "framework/ui/StaticControl.h"
#include "framework/ui/WindowHandle.h"

#include <QFontMetrics>
#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <climits>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace controllayout {

// Free space a push button keeps on each side of its text, inside its frame.
constexpr int kButtonTextInset = 4;

struct Placed {
    HWND hWnd = nullptr;
    QWidget* widget = nullptr;
    QRect rect; // in the parent's client area
    QString text;
};

inline bool IsStatic(const Placed& control) { return dynamic_cast<StaticWidget*>(control.widget) != nullptr; }
inline bool IsButton(const Placed& control) { return dynamic_cast<ButtonWidget*>(control.widget) != nullptr; }
// What ShowWindow last made of it; the style bit keeps what the window was created with.
inline bool IsShown(const Placed& control) { return !control.widget->isHidden(); }

inline QString ShownText(const QWidget* widget, DWORD style, bool isStatic)
{
    QString text;
    if (const auto* button = dynamic_cast<const ButtonWidget*>(widget)) text = button->text();
    if (isStatic) {
        char buffer[1024] = {};
        ::GetWindowText(AfxHandleFromWidget(widget), buffer, int(sizeof buffer));
        text = QString::fromUtf8(buffer);
        if (style & SS_NOPREFIX) return text;
    }
    return AfxTextWithoutMnemonic(text);
}

// The direct child windows of a window, in creation order.
inline std::vector<Placed> PlacedChildren(HWND parent)
{
    std::vector<Placed> controls;
    for (HWND child : AfxChildHandles(parent)) {
        Placed placed;
        placed.hWnd = child;
        placed.widget = AfxWidgetFromHandle(child);
        if (!placed.widget) continue;
        placed.rect = placed.widget->geometry();
        placed.text = ShownText(placed.widget, child->style, dynamic_cast<StaticWidget*>(placed.widget) != nullptr);
        controls.push_back(placed);
    }
    return controls;
}

inline bool IsTextStatic(DWORD style)
{
    const DWORD kind = style & SS_TYPEMASK;
    return kind == SS_LEFT || kind == SS_CENTER || kind == SS_RIGHT || kind == SS_SIMPLE || kind == SS_LEFTNOWORDWRAP;
}

inline bool IsGroupBox(const Placed& control)
{
    return IsButton(control) && (control.hWnd->style & BS_TYPEMASK) == BS_GROUPBOX;
}

// Why a static's text does not fit its control, or empty when it does.
inline std::string StaticTextProblem(const Placed& control, DWORD style)
{
    const QFontMetrics metrics(control.widget->font());
    const DWORD kind = style & SS_TYPEMASK;
    const bool wraps = (kind == SS_LEFT || kind == SS_CENTER || kind == SS_RIGHT) && !(style & SS_CENTERIMAGE);
    const QRect room(0, 0, control.rect.width(), wraps ? INT_MAX / 2 : control.rect.height());
    const QRect needed =
        metrics.boundingRect(room, (wraps ? Qt::TextWordWrap : 0) | Qt::TextExpandTabs | Qt::AlignLeft, control.text);
    std::ostringstream problem;
    if (needed.width() > control.rect.width())
        problem << "needs " << needed.width() << " px wide, has " << control.rect.width();
    else if (needed.height() > control.rect.height())
        problem << "needs " << needed.height() << " px high, has " << control.rect.height();
    return problem.str();
}

// Width a check box or radio button needs for its mark, the gap and its text.
inline int CheckOrRadioWidth(const Placed& control, bool radio)
{
    QStyle* style = control.widget->style();
    const int mark = style->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth, nullptr,
                                        control.widget);
    const int gap = style->pixelMetric(radio ? QStyle::PM_RadioButtonLabelSpacing : QStyle::PM_CheckBoxLabelSpacing,
                                       nullptr, control.widget);
    return mark + gap + QFontMetrics(control.widget->font()).horizontalAdvance(control.text);
}

inline std::string ButtonTextProblem(const Placed& control, DWORD style)
{
    const DWORD kind = style & BS_TYPEMASK;
    const QFontMetrics metrics(control.widget->font());
    int needed = 0;
    switch (kind) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        needed = metrics.horizontalAdvance(control.text) + 2 * (kButtonTextInset +
                 control.widget->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, control.widget));
        break;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE: needed = CheckOrRadioWidth(control, false); break;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: needed = CheckOrRadioWidth(control, true); break;
    case BS_GROUPBOX: needed = AfxGroupBoxTitleRect(control.widget->font(), control.text).right() + 1; break;
    default: return {};
    }
    std::ostringstream problem;
    if (!control.text.isEmpty() && needed > control.rect.width())
        problem << "needs " << needed << " px wide, has " << control.rect.width();
    else if (!control.text.isEmpty() && kind != BS_GROUPBOX && metrics.height() > control.rect.height())
        problem << "needs " << metrics.height() << " px high, has " << control.rect.height();
    return problem.str();
}

// Why the text of a label, button, check box or group title does not fit, or empty.
inline std::string TextProblem(const Placed& control)
{
    const DWORD style = control.hWnd->style;
    if (IsStatic(control) && IsTextStatic(style) && !control.text.isEmpty()) return StaticTextProblem(control, style);
    if (IsButton(control)) return ButtonTextProblem(control, style);
    return {};
}

// A control whose rectangle meets a group box's title band (from the group's top down to
// the bottom of its title text) over the group's width: it would sit on the frame line
// or cover the title.
inline bool CrossesTitleLine(const Placed& group, const Placed& control)
{
    const QRect title = AfxGroupBoxTitleRect(group.widget->font(), group.text).translated(group.rect.topLeft());
    const QRect band(group.rect.left(), group.rect.top(), group.rect.width(), std::max(title.height(), 1));
    return control.rect.intersects(band);
}

inline std::string Describe(const Placed& control)
{
    return "control " + std::to_string(control.hWnd->id) + " \"" + control.text.toStdString() + "\"";
}

// The faults of the shown controls among the siblings: a control past the parent's
// client area, a text that does not fit, a control on a group's title line.
inline std::vector<std::string> ControlProblems(const QRect& client, const std::vector<Placed>& controls)
{
    std::vector<std::string> problems;
    for (const Placed& control : controls) {
        if (!IsShown(control)) continue;
        if (!client.contains(control.rect)) problems.push_back(Describe(control) + " reaches past its window's edge");
        if (const std::string text = TextProblem(control); !text.empty())
            problems.push_back(Describe(control) + ": " + text);
        if (!IsGroupBox(control)) continue;
        for (const Placed& other : controls) {
            if (&other == &control || IsGroupBox(other) || !IsShown(other)) continue;
            if (CrossesTitleLine(control, other))
                problems.push_back(Describe(control) + ": " + Describe(other) + " sits on its title line");
        }
    }
    return problems;
}

// Controls that others lie on by design: group frames, frames and pictures drawn behind
// controls, and windows holding windows of their own (a sheet's pages on its tabs).
inline bool IsBackdrop(const Placed& control)
{
    if (IsGroupBox(control)) return true;
    if (IsStatic(control) && !IsTextStatic(control.hWnd->style)) return true;
    return !AfxChildHandles(control.hWnd).empty();
}

// Whether two controls cover part of one another; two frames that share their edge line
// (a list's header strip on the list) do not.
inline bool LieOnEachOther(const QRect& a, const QRect& b)
{
    const QRect common = a.intersected(b);
    return common.width() > 1 && common.height() > 1;
}

// Shown controls that cover part of one another.
inline std::vector<std::string> OverlapProblems(const std::vector<Placed>& controls)
{
    std::vector<std::string> problems;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const Placed& control = controls[i];
        if (!IsShown(control) || IsBackdrop(control)) continue;
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            const Placed& other = controls[j];
            if (IsShown(other) && !IsBackdrop(other) && LieOnEachOther(control.rect, other.rect))
                problems.push_back(Describe(control) + " and " + Describe(other) + " lie on each other");
        }
    }
    return problems;
}

// Every fault of a shown window's controls, its pages' controls included.
inline std::vector<std::string> WindowLayoutProblems(HWND window)
{
    const QWidget* widget = AfxWidgetFromHandle(window);
    if (!widget) return {"no window"};
    const std::vector<Placed> controls = PlacedChildren(window);
    std::vector<std::string> problems = ControlProblems(QRect(QPoint(0, 0), widget->size()), controls);
    for (std::string& overlap : OverlapProblems(controls)) problems.push_back(std::move(overlap));
    for (const Placed& control : controls) {
        if (!IsShown(control)) continue;
        for (std::string& inner : WindowLayoutProblems(control.hWnd))
            problems.push_back("in " + Describe(control) + ", " + inner);
    }
    return problems;
}

} // namespace controllayout
