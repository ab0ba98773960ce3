// Every dialog template of the shipped language library, built as the program builds it
// and measured with the font its controls really get: each label, button, check box and
// group title fits its control, no control sits on a group's title line, and nothing
// reaches past the dialog's edges. Each dialog is also rendered for people to look at.
#include "ShippedLanguage.h"
#include "tests/dialogs/ControlLayout.h"

#include "tests/framework/ui/ScreenshotFolder.h"
#include "support/AccessKeyText.h"
#include "support/TypedKeys.h"

#include "framework/ui/CDialog.h"
#include "framework/ui/WindowHandle.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QWidget>

#include <optional>
#include <string>
#include <vector>

namespace {

using controllayout::ControlProblems;
using controllayout::PlacedChildren;

std::vector<UINT> DialogTemplateIds(HINSTANCE module)
{
    std::vector<UINT> ids;
    for (UINT id = 1; id < 0x8000; ++id)
        if (FindDialogTemplate(module, id)) ids.push_back(id);
    return ids;
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

private:
    DialogTemplate m_template;
    CDialog m_dialog;
    BOOL m_created = FALSE;
};

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
        for (const std::string& problem : ControlProblems(client, PlacedChildren(dialog.Handle())))
            ADD_FAILURE() << "template " << id << ", " << problem;
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

namespace {

bool IsClass(const DialogItemTemplate& item, const char* name)
{
    return QString::fromStdString(item.className).compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

// A label or a group box: its access key hands the focus on.
bool HandsTheFocusOn(const DialogItemTemplate& item)
{
    if (IsClass(item, "STATIC")) return !(item.style & SS_NOPREFIX);
    return IsClass(item, "BUTTON") && (item.style & BS_TYPEMASK) == BS_GROUPBOX;
}

bool Usable(const DialogItemTemplate& item) { return (item.style & WS_VISIBLE) && !(item.style & WS_DISABLED); }

bool IsTabStop(const DialogItemTemplate& item) { return Usable(item) && (item.style & WS_TABSTOP); }

// The index of the first tab stop after the label, round to the first.
std::size_t NextTabStop(const DialogTemplate& dialog, std::size_t label)
{
    for (std::size_t i = 1; i < dialog.items.size(); ++i) {
        const std::size_t at = (label + i) % dialog.items.size();
        if (IsTabStop(dialog.items[at])) return at;
    }
    return label;
}

// Where the focus waits before the key: a field to type into when there is one, so
// that a letter typed instead of acting shows.
std::size_t StartingPoint(const DialogTemplate& dialog, std::size_t target)
{
    std::optional<std::size_t> other;
    for (std::size_t i = 0; i < dialog.items.size(); ++i) {
        const DialogItemTemplate& item = dialog.items[i];
        if (i == target || !IsTabStop(item)) continue;
        if (IsClass(item, "EDIT") && !(item.style & ES_READONLY)) return i;
        if (!other) other = i;
    }
    return other.value_or(target);
}

CString TextOf(HWND control)
{
    CString text;
    CWnd::FromHandle(control)->GetWindowText(text);
    return text;
}

// Every label key of every template, pressed with Alt in the dialog: the focus moves to
// the next tab stop after the label and nothing is typed into the field it left.
TEST_F(DialogTemplatesTest, EveryLabelAccessKeyMovesTheFocusOnAndTypesNothing)
{
    int keys = 0;
    for (UINT id : DialogTemplateIds(AfxGetResourceHandle())) {
        const DialogTemplate& source = *FindDialogTemplate(AfxGetResourceHandle(), id);
        for (std::size_t index = 0; index < source.items.size(); ++index) {
            const DialogItemTemplate& label = source.items[index];
            const std::optional<char> key = AccessKey(label.text);
            if (!key || !HandsTheFocusOn(label) || !Usable(label)) continue;
            SCOPED_TRACE("template " + std::to_string(id) + ", \"" + label.text + "\"");
            ++keys;
            TemplateDialog dialog(source);
            ASSERT_TRUE(dialog.Created());
            QApplication::setActiveWindow(dialog.Widget());
            const std::vector<HWND> controls = AfxChildHandles(dialog.Handle());
            ASSERT_EQ(controls.size(), source.items.size());
            HWND target = controls[NextTabStop(source, index)];
            HWND start = controls[StartingPoint(source, NextTabStop(source, index))];
            ::SetFocus(start);
            ASSERT_EQ(::GetFocus(), start);
            const CString before = TextOf(start);
            typedkeys::Alt(*key);
            EXPECT_EQ(::GetFocus(), target);
            EXPECT_EQ(TextOf(start), before);
        }
    }
    EXPECT_GT(keys, 100);
}

} // namespace
