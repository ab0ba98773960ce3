// Every dialog template of the shipped language library, built as the program builds it
// and measured with the font its controls really get: each label, button, check box and
// group title fits its control, no control sits on a group's title line, and nothing
// reaches past the dialog's edges. Each dialog is also rendered for people to look at.
#include "ShippedLanguage.h"

#include "tests/framework/ui/ScreenshotFolder.h"

#include "framework/core/WinStyles.h"
#include "framework/ui/ButtonControl.h"
#include "framework/ui/CDialog.h"
#include "framework/ui/ControlSupport.h"
#include "framework/ui/StaticControl.h"
#include "framework/ui/WindowHandle.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QWidget>

#include <climits>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Free space a push button keeps on each side of its text, inside its frame.
constexpr int kButtonTextInset = 4;

struct Placed {
    HWND hWnd = nullptr;
    QWidget* widget = nullptr;
    QRect rect; // in the dialog's client area
    QString text;
};

std::vector<UINT> DialogTemplateIds(HINSTANCE module)
{
    std::vector<UINT> ids;
    for (UINT id = 1; id < 0x8000; ++id)
        if (FindDialogTemplate(module, id)) ids.push_back(id);
    return ids;
}

QString ShownText(const QWidget* widget, DWORD style, bool isStatic)
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

bool IsTextStatic(DWORD style)
{
    const DWORD kind = style & SS_TYPEMASK;
    return kind == SS_LEFT || kind == SS_CENTER || kind == SS_RIGHT || kind == SS_SIMPLE || kind == SS_LEFTNOWORDWRAP;
}

// Why a static's text does not fit its control, or empty when it does.
std::string StaticTextProblem(const Placed& control, DWORD style)
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
int CheckOrRadioWidth(const Placed& control, bool radio)
{
    QStyle* style = control.widget->style();
    const int mark = style->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth, nullptr,
                                        control.widget);
    const int gap = style->pixelMetric(radio ? QStyle::PM_RadioButtonLabelSpacing : QStyle::PM_CheckBoxLabelSpacing,
                                       nullptr, control.widget);
    return mark + gap + QFontMetrics(control.widget->font()).horizontalAdvance(control.text);
}

std::string ButtonTextProblem(const Placed& control, DWORD style)
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

// The room a drop-down list leaves for the text of its chosen item.
int ComboTextWidth(QWidget* combo)
{
    QStyleOptionComboBox option;
    option.initFrom(combo);
    return combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo).width();
}

class DialogTemplatesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(language.Loaded()) << language.Error(); }

    ShippedLanguage language;
};

// Builds a template as a top-level dialog (pages too), so each can be seen alone.
class TemplateDialog {
public:
    explicit TemplateDialog(const DialogTemplate& source) : m_template(source)
    {
        m_template.style = (m_template.style & ~(WS_CHILD | WS_VISIBLE | WS_DISABLED)) | WS_POPUP | WS_CAPTION;
        if (m_template.caption.empty()) m_template.caption = "Page " + std::to_string(source.id);
        m_created = m_dialog.CreateIndirect(&m_template);
        if (m_created) m_dialog.ShowWindow(SW_SHOW);
    }
    ~TemplateDialog()
    {
        if (m_dialog.GetSafeHwnd()) m_dialog.DestroyWindow();
    }
    TemplateDialog(const TemplateDialog&) = delete;
    TemplateDialog& operator=(const TemplateDialog&) = delete;

    bool Created() const { return m_created != FALSE; }
    HWND Handle() { return m_dialog.GetSafeHwnd(); }
    QWidget* Widget() { return AfxWidgetFromHandle(m_dialog.GetSafeHwnd()); }

    std::vector<Placed> Controls()
    {
        std::vector<Placed> controls;
        for (HWND child : AfxChildHandles(Handle())) {
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

private:
    DialogTemplate m_template;
    CDialog m_dialog;
    BOOL m_created = FALSE;
};

bool IsGroupBox(const Placed& control)
{
    return dynamic_cast<ButtonWidget*>(control.widget) && (control.hWnd->style & BS_TYPEMASK) == BS_GROUPBOX;
}

// A control whose rectangle meets a group box's title band (from the group's top down to
// the bottom of its title text) over the group's width: it would sit on the frame line
// or cover the title.
bool CrossesTitleLine(const Placed& group, const Placed& control)
{
    const QRect title = AfxGroupBoxTitleRect(group.widget->font(), group.text).translated(group.rect.topLeft());
    const QRect band(group.rect.left(), group.rect.top(), group.rect.width(), std::max(title.height(), 1));
    return control.rect.intersects(band);
}

TEST_F(DialogTemplatesTest, EveryTextFitsItsControlAndNoControlCrossesAGroupTitle)
{
    const std::vector<UINT> ids = DialogTemplateIds(AfxGetResourceHandle());
    ASSERT_GT(ids.size(), 80u);
    ScreenshotFolder shots("dialog-templates");
    for (UINT id : ids) {
        const DialogTemplate* source = FindDialogTemplate(AfxGetResourceHandle(), id);
        TemplateDialog dialog(*source);
        ASSERT_TRUE(dialog.Created()) << "template " << id;
        shots.Save(dialog.Widget()->grab().toImage(), "template-" + std::to_string(id) + ".png");
        const QRect client(QPoint(0, 0), dialog.Widget()->size());
        const std::vector<Placed> controls = dialog.Controls();
        for (const Placed& control : controls) {
            const DWORD style = control.hWnd->style;
            const std::string where = "template " + std::to_string(id) + ", control " + std::to_string(control.hWnd->id) +
                                      " \"" + control.text.toStdString() + "\"";
            if (!(style & WS_VISIBLE)) continue;
            EXPECT_TRUE(client.contains(control.rect)) << where << " reaches past the dialog's edge";
            if (dynamic_cast<StaticWidget*>(control.widget) && IsTextStatic(style) && !control.text.isEmpty()) {
                EXPECT_EQ(StaticTextProblem(control, style), "") << where;
            }
            if (dynamic_cast<ButtonWidget*>(control.widget)) {
                EXPECT_EQ(ButtonTextProblem(control, style), "") << where;
            }
            if (!IsGroupBox(control)) continue;
            for (const Placed& other : controls) {
                if (&other == &control || IsGroupBox(other) || !(other.hWnd->style & WS_VISIBLE)) continue;
                EXPECT_FALSE(CrossesTitleLine(control, other))
                    << where << ": control " << other.hWnd->id << " \"" << other.text.toStdString()
                    << "\" sits on its title line";
            }
        }
    }
}

} // namespace

namespace {

// Lists that the program fills from the string table: the longest entry fits the box.
TEST_F(DialogTemplatesTest, DropDownListsShowTheirLongestEntry)
{
    const struct {
        UINT templateId;
        int comboId;
        std::vector<UINT> strings;
    } lists[] = {{104, 2003, {935, 936, 937, 938, 939}}};
    for (const auto& list : lists) {
        TemplateDialog dialog(*FindDialogTemplate(AfxGetResourceHandle(), list.templateId));
        ASSERT_TRUE(dialog.Created()) << list.templateId;
        QWidget* combo = AfxWidgetFromHandle(::GetDlgItem(dialog.Handle(), list.comboId));
        ASSERT_NE(combo, nullptr) << list.templateId;
        const QFontMetrics metrics(combo->font());
        for (UINT id : list.strings) {
            const QString text = QString::fromUtf8(language.Text(id).c_str());
            EXPECT_LE(metrics.horizontalAdvance(text), ComboTextWidth(combo)) << list.templateId << ": " << text.toStdString();
        }
    }
}

} // namespace
