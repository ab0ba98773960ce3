// One setting byte of a scanner's identification, read through every text that shows
// it: the parameter-set listing, the diagnosis results, the printed report, and the
// page of the configuration sheet and of the configuration wizard that edits it. Each
// value must read the same in all of them.
#include "ShippedLanguage.h"

#include "app/CDeviceReport.h"
#include "app/CTextObject.h"
#include "app/CZOKReport.h"
#include "device/CSensorErrorList.h"
#include "dialogs/CZOKConfigSheet.h"
#include "dialogs/CZOKConfigWizard.h"
#include "dialogs/CZOKParameterDialog.h"
#include "dialogs/DiagnosisText.h"
#include "driver/orudrv.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "model/CZOKConfig.h"
#include "model/CZOKIdentity.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Where a configuration page shows the byte: the page's position in the sheet and in
// the edit wizard, and per value the control that stands for it. A check box shows
// values 0 and 1 as its unchecked and checked state.
struct PageControls {
    int sheetPage;
    int wizardPage;
    std::vector<int> sheetControls;
    std::vector<int> wizardControls;
    bool checkBox = false;
};

struct DeviceByte {
    const char* what;
    std::size_t offset;
    std::vector<BYTE> values;
    std::optional<PageControls> page;
};

const std::vector<DeviceByte> kBytes = {
    {"input monitoring", 19, {0, 1}, std::nullopt},
    {"restart mode", 20, {0, 1, 2}, PageControls{3, 2, {2189, 2191, 2190}, {2119, 2121, 2120}}},
    {"restart after the delay", 23, {0, 1}, PageControls{3, 2, {2193}, {2193}, true}},
    {"output mode", 24, {0, 1, 2}, PageControls{5, 5, {2154, 2155, 2156}, {2154, 2155, 2156}}},
    {"scanner variant", 30, {0, 1}, PageControls{4, 4, {2157, 2159}, {2157, 2159}}},
};

// A scanner whose firmware shows every setting; the restart delay is 5 s.
CZOKIdentity Identity(std::size_t offset, BYTE value)
{
    std::array<BYTE, 125> bytes{};
    const std::string version = "04.06";
    std::copy(version.begin(), version.end(), bytes.begin());
    bytes[19] = 1;
    bytes[21] = 0xE8; // 1000 / 200 = 5 s
    bytes[22] = 0x03;
    bytes[23] = 1;
    bytes[25] = 1;
    bytes[offset] = value;
    CZOKIdentity identity;
    EXPECT_TRUE(identity.SetData(bytes.data(), bytes.size()));
    return identity;
}

// The configuration read from that scanner.
CZOKConfig Config(const CZOKIdentity& identity)
{
    CZOKConfig config;
    config.SetProtectiveName("PF");
    config.SetWarningName("WF");
    config.SetOption4(identity.GetByte19());
    config.GetModeDelay().Set(identity.GetByte20(), 5);
    config.SetOption3(identity.GetByteAt(23));
    config.SetOption5(identity.GetByteAt(24));
    CSensorType type;
    type.SetType(4, identity.GetByte30());
    config.SetSensorType(type);
    return config;
}

std::string Normalized(std::string text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\r' || c == '\n') continue;
        if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
        out += c;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

std::vector<std::string> Lines(const CString& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text.c_str());
    for (std::string line; std::getline(in, line);) lines.push_back(Normalized(line));
    return lines;
}

// The listing without its time stamp, which moves on when a second passes between two
// listings.
std::vector<std::string> Listing(const CZOKIdentity& identity)
{
    CString text;
    CZOKParameterDialog::FormatIdentity(identity, text);
    std::vector<std::string> lines = Lines(text);
    static const std::regex stamp(R"(^\d\d/\d\d/\d\d - \d\d:\d\d:\d\d$)");
    std::erase_if(lines, [](const std::string& line) { return std::regex_match(line, stamp); });
    return lines;
}

std::vector<std::string> Diagnosis(const CZOKIdentity& identity)
{
    CString text;
    ZOKText(identity, CSensorErrorList(), text, false, DiagnosisTextOptions{"stamp", false});
    return Lines(text);
}

std::vector<std::string> Report(const CZOKIdentity& identity)
{
    CObList list;
    CZOKReport(list, ReportUnits()).Build(Config(identity), kPrintConfirmation, "Scanner", "ZOK");
    std::vector<std::string> lines;
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
        CObject* object = list.GetNext(pos);
        if (const auto* text = dynamic_cast<const CTextObject*>(object))
            lines.push_back(Normalized(text->GetText().c_str()));
        delete object;
    }
    return lines;
}

// The one line of a text that changes with the byte: present for value, absent for other.
std::string LineOf(const std::vector<std::string>& withValue, const std::vector<std::string>& withOther)
{
    std::vector<std::string> changed;
    for (const std::string& line : withValue)
        if (std::find(withOther.begin(), withOther.end(), line) == withOther.end()) changed.push_back(line);
    EXPECT_EQ(changed.size(), 1u);
    return changed.empty() ? std::string() : changed.front();
}

// A control's label as a value: no access key, no trailing unit or colon, lower case.
std::string LabelAsValue(CString label)
{
    std::string text;
    for (const char c : std::string(label.c_str()))
        if (c != '&') text += char(std::tolower(static_cast<unsigned char>(c)));
    if (const auto unit = text.find(" ("); unit != std::string::npos) text.erase(unit);
    while (!text.empty() && (text.back() == ':' || text.back() == ' ')) text.pop_back();
    return text;
}

// What the page shows for the byte's value, as the listing would word the line.
void ExpectPageShows(DialogDriver& driver, const std::vector<int>& controls, bool checkBox, BYTE value,
                     const std::string& line)
{
    if (checkBox) {
        EXPECT_EQ(driver.Check(controls[0]), value != 0 ? BST_CHECKED : BST_UNCHECKED);
        EXPECT_EQ(LabelAsValue(driver.Text(controls[0])) + (value != 0 ? ": on" : ": off"), LabelAsValue(line.c_str()));
        return;
    }
    ASSERT_LT(value, controls.size());
    EXPECT_EQ(driver.Check(controls[value]), BST_CHECKED);
    // The chosen label is the value the line names after its label, or its beginning.
    const std::string shown = LabelAsValue(driver.Text(controls[value]));
    const std::string named = LabelAsValue(line.substr(line.find(": ") + 2).c_str());
    EXPECT_EQ(named.rfind(shown, 0), 0u) << "page shows \"" << shown << "\", the texts say \"" << named << "\"";
}

class DeviceByteTextsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(language.Loaded()) << language.Error();
        OruDrvSetResourceHandle(reinterpret_cast<intptr_t>(AfxGetResourceHandle()));
    }
    void TearDown() override { OruDrvSetResourceHandle(0); }

    void CheckSheet(const CZOKConfig& config, const PageControls& page, BYTE value, const std::string& line)
    {
        ui.QueueModal([&](CWnd& wnd) {
            auto& sheet = static_cast<CPropertySheet&>(wnd);
            DialogDriver driver(wnd);
            EXPECT_TRUE(sheet.SetActivePage(page.sheetPage));
            DialogDriver::Pump();
            ExpectPageShows(driver, page.sheetControls, page.checkBox, value, line);
            driver.Cancel();
        });
        CZOKConfigSheet sheet;
        EXPECT_EQ(sheet.Edit(&config), nullptr);
    }

    void CheckWizard(const CZOKConfig& config, const PageControls& page, BYTE value, const std::string& line)
    {
        ui.QueueModal([&](CWnd& wnd) {
            DialogDriver driver(wnd);
            for (int i = 0; i < page.wizardPage; ++i) ASSERT_TRUE(driver.Next());
            ExpectPageShows(driver, page.wizardControls, page.checkBox, value, line);
            driver.Cancel();
        });
        CEditZOKConfigWizard wizard;
        EXPECT_EQ(wizard.Run(config), nullptr);
    }

    ShippedLanguage language;
    ScriptedUi ui;
};

TEST_F(DeviceByteTextsTest, EveryTextOfASettingByteReadsTheSameForEachValue)
{
    for (const DeviceByte& b : kBytes) {
        for (std::size_t i = 0; i < b.values.size(); ++i) {
            const BYTE value = b.values[i];
            SCOPED_TRACE(std::string(b.what) + " (byte " + std::to_string(b.offset) + ") = " + std::to_string(value));
            const CZOKIdentity identity = Identity(b.offset, value);
            const CZOKIdentity other = Identity(b.offset, b.values[(i + 1) % b.values.size()]);
            const std::string listed = LineOf(Listing(identity), Listing(other));
            EXPECT_EQ(LineOf(Diagnosis(identity), Diagnosis(other)), listed);
            EXPECT_EQ(LineOf(Report(identity), Report(other)), listed);
            if (b.page && !listed.empty()) {
                const CZOKConfig config = Config(identity);
                CheckSheet(config, *b.page, value, listed);
                CheckWizard(config, *b.page, value, listed);
            }
        }
    }
}

} // namespace
