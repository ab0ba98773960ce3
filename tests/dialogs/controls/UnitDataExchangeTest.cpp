#include "dialogs/controls/UnitDataExchange.h"

#include "dialogs/ProgramVersion.h"
#include "framework/core/CException.h"
#include "framework/core/Library.h"
#include "framework/core/Resources.h"
#include "framework/ui/CDialog.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

namespace {

constexpr UINT IDD_UNITS = 300;
constexpr int IDC_VALUE = 2015;
constexpr int IDC_OTHER = 2023;
constexpr int IDC_BEAMS = 2105;

// Each message marks its inserts, so that the order and the format of each shows.
constexpr const char* kScript = R"(
STRINGTABLE
BEGIN
    61712 "int"
    61713 "real"
    61714 "int <%1> <%2>"
    61715 "real <%1> <%2>"
    469 "chars <%1> <%2>"
    470 "chars <%1>"
    471 "select"
    473 "near <%1> <%2> <%3>"
    474 "far <%1> <%2> <%3>"
    475 "unit <%1>"
    1002 "91 beams"
    1003 "181 beams"
    1004 "361 beams"
END

300 DIALOG 0, 0, 200, 80
STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION
CAPTION "Units"
FONT 8, "MS Sans Serif"
BEGIN
    EDITTEXT        2015, 7, 7, 80, 12, ES_AUTOHSCROLL
    EDITTEXT        2023, 7, 23, 80, 12, ES_AUTOHSCROLL
    COMBOBOX        2105, 7, 39, 80, 60, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP
    DEFPUSHBUTTON   "OK", 1, 140, 7, 50, 14
    PUSHBUTTON      "Cancel", 2, 140, 23, 50, 14
END
)";

// A dialog whose whole exchange is the test's.
class ExchangeDialog : public CDialog {
public:
    explicit ExchangeDialog(std::function<void(CDataExchange*)> exchange)
        : CDialog(IDD_UNITS), m_exchange(std::move(exchange))
    {
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override { m_exchange(pDX); }

private:
    std::function<void(CDataExchange*)> m_exchange;
};

struct EntryCase {
    const char* text;
    const char* message; // empty: accepted
    double value;
};

class UnitExchangeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        std::string error;
        m_module = CreateResourceModule("units.rc", kScript, nullptr, error);
        ASSERT_NE(m_module, nullptr) << error;
        m_previous = AfxGetResourceHandle();
        AfxSetResourceHandle(m_module);
    }
    void TearDown() override
    {
        AfxSetResourceHandle(m_previous);
        if (m_module) FreeLibrary(m_module);
    }

    // Opens the dialog, lets the script act on it, presses OK and gives up with Cancel
    // when OK does not close it. True when OK closed it.
    bool RunDialog(const std::function<void(CDataExchange*)>& exchange, const std::function<void(DialogDriver&)>& act)
    {
        ExchangeDialog dialog(exchange);
        ui.QueueModal([&](CWnd& dlg) {
            DialogDriver driver(dlg);
            act(driver);
            driver.Click(IDOK);
            if (!dialog.IsEnded()) driver.Cancel();
        });
        return dialog.DoModal() == IDOK;
    }

    // Types the text into the value's edit and confirms.
    template <class T>
    bool Enter(T& value, const char* text, const char* unit)
    {
        ui.ClearMessageBoxes();
        return RunDialog([&](CDataExchange* pDX) { DDX_TextWithUnit(pDX, IDC_VALUE, value, unit); },
                         [&](DialogDriver& driver) { driver.SetText(IDC_VALUE, text); });
    }

    // What the value shows when the dialog opens.
    template <class T>
    CString Shown(T value, const char* unit)
    {
        CString text;
        RunDialog([&](CDataExchange* pDX) { DDX_TextWithUnit(pDX, IDC_VALUE, value, unit); },
                  [&](DialogDriver& driver) { text = driver.Text(IDC_VALUE); });
        return text;
    }

    // Enters each text into a member of type T that holds 7 before; a refusal shows the
    // message, keeps the dialog open and leaves the 7.
    template <class T>
    void Check(const char* unit, std::initializer_list<EntryCase> cases)
    {
        for (const EntryCase& c : cases) {
            T value = T(7);
            const bool accepted = *c.message == '\0';
            EXPECT_EQ(Enter(value, c.text, unit), accepted) << '"' << c.text << '"';
            EXPECT_STREQ(LastMessage(), c.message) << '"' << c.text << '"';
            EXPECT_EQ(double(value), accepted ? c.value : 7.0) << '"' << c.text << '"';
        }
    }

    CString LastMessage() const { return ui.MessageBoxes().empty() ? CString() : ui.MessageBoxes().back().text; }

    ScriptedUi ui;

private:
    HINSTANCE m_module = nullptr;
    HINSTANCE m_previous = nullptr;
};

TEST_F(UnitExchangeTest, RealValuesWithAndWithoutTheUnit)
{
    Check<double>("cm", {
                            {"12.5", "", 12.5},
                            {"12.5 cm", "", 12.5},
                            {"12.5CM", "", 12.5},
                            {" \t12.5\tcm", "", 12.5},
                            {"12.5  ", "", 12.5},
                            {"-3.25e1 cm", "", -32.5},
                            {"0", "", 0},
                            {"0.0 cm", "", 0},
                            {"1e39", "", 1e39},
                            {"12.5 mm", "unit <cm>", 0},
                            {"12.5 cm x", "real", 0},
                            {"12.5cmx", "real", 0},
                            {"letters", "real", 0},
                            {"", "real", 0},
                            {"nan", "real", 0},
                            {"inf cm", "real", 0},
                            {"-infinity", "real", 0},
                            {"1e999", "real", 0},
                            {"0x1p3", "unit <cm>", 0}, // no hexadecimal floats: 0 followed by junk
                        });
    // A float refuses what it cannot hold instead of becoming infinite.
    Check<float>("cm", {{"12.5", "", 12.5}, {"1e39", "real", 0}, {"-1e39 cm", "real", 0}});
}

TEST_F(UnitExchangeTest, IntegerValuesNeverWrap)
{
    Check<int>("cm/s", {
                           {"12", "", 12},
                           {"12 cm/s", "", 12},
                           {"12CM/S", "", 12},
                           {"-40 cm/s", "", -40},
                           {"2147483647", "", 2147483647.0},
                           {"-2147483648", "", -2147483648.0},
                           {"2147483648", "int", 0},
                           {"99999999999 cm/s", "int", 0},
                           {"12 cm/s x", "unit <cm/s>", 0},
                           {"12 cm/s ", "unit <cm/s>", 0},
                           {"12.5", "unit <cm/s>", 0},
                           {"letters", "int", 0},
                           {"", "int", 0},
                       });
    Check<UINT>("", {{"4294967295", "", 4294967295.0}, {"4294967296", "int", 0}, {"-1", "int", 0}, {"12 x", "unit <>", 0}});
    Check<BYTE>("ms", {{"255", "", 255}, {"0 ms", "", 0}, {"256", "int", 0}, {"300 ms", "int", 0}, {"-1", "int", 0}});
    Check<WORD>("cm", {{"65535 cm", "", 65535}, {"65536", "int", 0}});
}

TEST_F(UnitExchangeTest, ParseMessagesArePlainBoxes)
{
    double real = 0;
    Enter(real, "x", "cm");
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].id, UINT(AFX_IDP_PARSE_REAL));
    EXPECT_EQ(ui.MessageBoxes()[0].flags & MB_ICONMASK, 0u);
    Enter(real, "1 mm", "cm");
    ASSERT_EQ(ui.MessageBoxes().size(), 1u);
    EXPECT_EQ(ui.MessageBoxes()[0].flags & (MB_ICONMASK | MB_TYPEMASK), UINT(MB_OK));
}

TEST_F(UnitExchangeTest, ValuesShowWithTwoDecimalsOrInFullAndTheUnit)
{
    EXPECT_STREQ(Shown(12.5f, "cm"), "12.50 cm");
    EXPECT_STREQ(Shown(2.0 / 3.0, "cm"), "0.67 cm");
    EXPECT_STREQ(Shown(40, "ms"), "40 ms");
    EXPECT_STREQ(Shown(-40, "cm/s"), "-40 cm/s");
    EXPECT_STREQ(Shown(4000000000u, ""), "4000000000 ");
    EXPECT_STREQ(Shown(BYTE(5), ""), "5 ");
    EXPECT_STREQ(Shown(WORD(65535), nullptr), "65535 ");
}

TEST_F(UnitExchangeTest, FailedPassChangesNoMember)
{
    float first = 7;
    int second = 8;
    const bool closed = RunDialog(
        [&](CDataExchange* pDX) {
            DDX_TextWithUnit(pDX, IDC_VALUE, first, "cm");
            DDX_TextWithUnit(pDX, IDC_OTHER, second, "cm");
        },
        [](DialogDriver& driver) {
            driver.SetText(IDC_VALUE, "99 cm");
            driver.SetText(IDC_OTHER, "9 dm");
        });
    EXPECT_FALSE(closed);
    EXPECT_EQ(first, 7.0f);
    EXPECT_EQ(second, 8);
    EXPECT_STREQ(LastMessage(), "unit <cm>");
}

// An arc's radius kept in cm and shown in inch, as the shape dialogs do it.
TEST_F(UnitExchangeTest, InchDisplayAndConversionBackToCm)
{
    int radius = 254;
    const auto exchange = [&](CDataExchange* pDX) {
        float r = CmToInch(float(radius));
        DDX_TextWithUnit(pDX, IDC_VALUE, r, "in");
        DDV_MinMaxWithUnit(pDX, r, CmToInch(5), CmToInch(400), "in");
        if (pDX->m_bSaveAndValidate) pDX->Store(radius, RoundToInt(InchToCm(r)));
    };
    CString shown;
    EXPECT_TRUE(RunDialog(exchange, [&](DialogDriver& driver) { shown = driver.Text(IDC_VALUE); }));
    EXPECT_STREQ(shown, "100.00 in");
    EXPECT_EQ(radius, 254);

    EXPECT_TRUE(RunDialog(exchange, [](DialogDriver& driver) { driver.SetText(IDC_VALUE, "50 in"); }));
    EXPECT_EQ(radius, 127);
    EXPECT_TRUE(RunDialog(exchange, [](DialogDriver& driver) { driver.SetText(IDC_VALUE, "39.4"); }));
    EXPECT_EQ(radius, 100); // 100.076 cm
    EXPECT_FALSE(RunDialog(exchange, [](DialogDriver& driver) { driver.SetText(IDC_VALUE, "200"); }));
    EXPECT_EQ(radius, 100);
    EXPECT_STREQ(LastMessage(), "real <1.97 in> <157.48 in>");
}

TEST_F(UnitExchangeTest, BeamCountCombo)
{
    int count = 361;
    const auto exchange = [&](CDataExchange* pDX) { DDX_BeamCount(pDX, IDC_BEAMS, count); };
    EXPECT_TRUE(RunDialog(exchange, [](DialogDriver& driver) {
        ASSERT_EQ(driver.Count(IDC_BEAMS), 3);
        EXPECT_STREQ(driver.ItemText(IDC_BEAMS, 0), "91 beams");
        EXPECT_STREQ(driver.ItemText(IDC_BEAMS, 2), "361 beams");
        EXPECT_EQ(driver.Selection(IDC_BEAMS), 2);
        driver.Select(IDC_BEAMS, 0);
    }));
    EXPECT_EQ(count, 91);

    // A count outside the table selects nothing and comes back unchanged.
    count = 100;
    EXPECT_TRUE(RunDialog(exchange, [](DialogDriver& driver) { EXPECT_EQ(driver.Selection(IDC_BEAMS), -1); }));
    EXPECT_EQ(count, 100);
}

// The checks need no controls: a saving exchange with no dialog will do.
class UnitCheckTest : public UnitExchangeTest {
protected:
    // True when the check passed; a failure must show exactly one message.
    bool Passes(const std::function<void(CDataExchange*)>& check, BOOL saving = TRUE)
    {
        ui.ClearMessageBoxes();
        CDataExchange dx(nullptr, saving);
        try {
            check(&dx);
        } catch (const CUserException&) {
            EXPECT_EQ(ui.MessageBoxes().size(), 1u);
            return false;
        }
        EXPECT_TRUE(ui.MessageBoxes().empty());
        return true;
    }

    const MessageBoxRecord& Box() const { return ui.MessageBoxes().back(); }
};

TEST_F(UnitCheckTest, RangesNameBothBoundsWithTheUnit)
{
    for (int value : {10, 500, 2000})
        EXPECT_TRUE(Passes([&](CDataExchange* pDX) { DDV_MinMaxWithUnit(pDX, value, 10, 2000, "cm/s"); })) << value;
    for (int value : {9, 2001, -5}) {
        EXPECT_FALSE(Passes([&](CDataExchange* pDX) { DDV_MinMaxWithUnit(pDX, value, 10, 2000, "cm/s"); }));
        EXPECT_STREQ(Box().text, "int <10 cm/s> <2000 cm/s>");
        EXPECT_EQ(Box().flags & MB_ICONMASK, MB_ICONEXCLAMATION);
        EXPECT_EQ(Box().helpId, UINT(AFX_IDP_PARSE_INT_RANGE));
    }

    struct Case {
        std::function<void(CDataExchange*)> check;
        const char* message;
        UINT helpId;
    };
    const Case cases[] = {
        {[](CDataExchange* pDX) { DDV_MinMaxWithUnit(pDX, 0.5f, 1.0f, 2.5f, "cm"); }, "real <1.00 cm> <2.50 cm>",
         AFX_IDP_PARSE_REAL_RANGE},
        {[](CDataExchange* pDX) { DDV_MinMaxWithUnit(pDX, 2.51, 1.0, 2.5, "in"); }, "real <1.00 in> <2.50 in>",
         AFX_IDP_PARSE_REAL_RANGE},
        {[](CDataExchange* pDX) { DDV_MinMaxWithUnit(pDX, std::nan(""), 1.0, 2.5, "cm"); }, "real <1.00 cm> <2.50 cm>",
         AFX_IDP_PARSE_REAL_RANGE},
        {[](CDataExchange* pDX) { DDV_MinMaxWithUnit(pDX, BYTE(61), 2, 60, "s"); }, "int <2 s> <60 s>",
         AFX_IDP_PARSE_INT_RANGE},
        {[](CDataExchange* pDX) { DDV_MinMaxWithUnit(pDX, WORD(5001), 5, 5000, "cm"); }, "int <5 cm> <5000 cm>",
         AFX_IDP_PARSE_INT_RANGE},
        // Unsigned bounds stay unsigned in the text.
        {[](CDataExchange* pDX) { DDV_MinMaxWithUnit(pDX, 4000000001u, 0, 4000000000u, ""); },
         "int <0 > <4000000000 >", AFX_IDP_PARSE_INT_RANGE},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(Passes(c.check)) << c.message;
        EXPECT_STREQ(Box().text, c.message);
        EXPECT_EQ(Box().helpId, c.helpId);
        // While loading nothing is checked.
        EXPECT_TRUE(Passes(c.check, FALSE)) << c.message;
    }
    EXPECT_TRUE(Passes([](CDataExchange* pDX) { DDV_MinMaxWithUnit(pDX, 2.5f, 1.0f, 2.5f, "cm"); }));
}

TEST_F(UnitCheckTest, PointDistanceFromTheScanner)
{
    EXPECT_FALSE(Passes([](CDataExchange* pDX) { DDV_MinMaxRadius(pDX, 30.0f, 40.0f, 10.0f, 40.0f, "cm"); }));
    EXPECT_STREQ(Box().text, "far <30.00 cm> <40.00 cm> <50.00 cm>");
    EXPECT_EQ(Box().helpId, 474u);
    EXPECT_EQ(Box().flags & MB_ICONMASK, MB_ICONEXCLAMATION);

    EXPECT_FALSE(Passes([](CDataExchange* pDX) { DDV_MinMaxRadius(pDX, 3, 4, 10, 40, "cm"); }));
    EXPECT_STREQ(Box().text, "near <3 cm> <4 cm> <5.00 cm>");
    EXPECT_EQ(Box().helpId, 473u);

    EXPECT_FALSE(Passes([](CDataExchange* pDX) { DDV_MinMaxRadius(pDX, WORD(300), WORD(400), 5, 450, nullptr); }));
    EXPECT_STREQ(Box().text, "far <300 > <400 > <500.00 >");

    // Both bounds belong to the range.
    EXPECT_TRUE(Passes([](CDataExchange* pDX) { DDV_MinMaxRadius(pDX, 6.0, 8.0, 10.0, 10.0, "cm"); }));
    EXPECT_TRUE(Passes([](CDataExchange* pDX) { DDV_MinMaxRadius(pDX, 30.0f, 40.0f, 50.0f, 50.0f, "cm"); }));
    EXPECT_TRUE(Passes([](CDataExchange* pDX) { DDV_MinMaxRadius(pDX, 3, 4, 10, 40, "cm"); }, FALSE));
}

TEST_F(UnitCheckTest, TextLengthsCountCharactersAndSelectionIsRequired)
{
    const CString umlauts = "\u00C4\u00D6\u00DC\u00E4\u00F6\u00FC\u00DF\u00E9"; // 8 characters, 16 bytes
    EXPECT_TRUE(Passes([&](CDataExchange* pDX) { DDV_MinMaxChars(pDX, umlauts, 1, 8); }));
    EXPECT_TRUE(Passes([&](CDataExchange* pDX) { DDV_ExactChars(pDX, umlauts, 8); }));

    EXPECT_FALSE(Passes([](CDataExchange* pDX) { DDV_MinMaxChars(pDX, "", 1, 8); }));
    EXPECT_STREQ(Box().text, "chars <1> <8>");
    EXPECT_EQ(Box().helpId, 469u);
    EXPECT_FALSE(Passes([&](CDataExchange* pDX) { DDV_MinMaxChars(pDX, umlauts + "x", 1, 8); }));

    EXPECT_FALSE(Passes([](CDataExchange* pDX) { DDV_ExactChars(pDX, "ABCDEFG", 8); }));
    EXPECT_STREQ(Box().text, "chars <8>");
    EXPECT_EQ(Box().flags & MB_ICONMASK, MB_ICONEXCLAMATION);

    EXPECT_TRUE(Passes([](CDataExchange* pDX) { DDV_Selected(pDX, 0); }));
    EXPECT_FALSE(Passes([](CDataExchange* pDX) { DDV_Selected(pDX, -1); }));
    EXPECT_STREQ(Box().text, "select");
    EXPECT_EQ(Box().flags & (MB_ICONMASK | MB_TYPEMASK), UINT(MB_OK));
}

TEST(RoundToIntTest, HalvesAwayFromZeroAndNoOverflow)
{
    const std::pair<double, int> cases[] = {
        {2.5, 3},
        {-2.5, -3},
        {2.49, 2},
        {-0.4, 0},
        {0.49999997f, 0},
        {1e10, std::numeric_limits<int>::max()},
        {-1e10, std::numeric_limits<int>::min()},
        {std::numeric_limits<double>::infinity(), std::numeric_limits<int>::max()},
        {std::nan(""), 0},
    };
    for (const auto& [value, expected] : cases) EXPECT_EQ(RoundToInt(value), expected) << value;
    EXPECT_FLOAT_EQ(CmToInch(254), 100);
    EXPECT_FLOAT_EQ(InchToCm(100), 254);
}

TEST(ParseWithUnitTest, ResultsOfTheParsers)
{
    double real = -1;
    EXPECT_EQ(ParseRealWithUnit("12.5 cm", real, "cm"), kParseAccepted);
    EXPECT_EQ(real, 12.5);
    real = -1;
    EXPECT_EQ(ParseRealWithUnit("12.5 mm", real, "cm"), kParseWrongUnit);
    EXPECT_EQ(ParseRealWithUnit("x", real, "cm"), kParseNotANumber);
    EXPECT_EQ(real, -1); // untouched unless accepted

    std::int64_t integer = -1;
    EXPECT_EQ(ParseIntWithUnit("4294967295", "%lu", integer, ""), kParseAccepted);
    EXPECT_EQ(integer, 4294967295LL);
    EXPECT_EQ(ParseIntWithUnit("4294967295", "%ld", integer, ""), kParseNotANumber);
    EXPECT_EQ(ParseIntWithUnit("+0", "%d", integer, ""), kParseNotANumber);
    EXPECT_EQ(ParseIntWithUnit("12 ms", "%d", integer, nullptr), kParseWrongUnit);
}

TEST(ProgramVersionTest, Texts)
{
    EXPECT_STREQ(GetProgramVersion(), "03.61");
    EXPECT_STREQ(GetProgramBuildText(), "");
}

} // namespace
