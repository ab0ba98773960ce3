#include "driver/internal/DeviceTexts.h"
#include "driver/DriverResourceModule.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace {

// Every id of the driver's range reads "#<id>" (or "[<id>]"), so a text shows which
// strings built it.
std::string NumberedScript(const std::map<int, std::string>& overrides = {}, bool bracketed = false)
{
    std::string script = "STRINGTABLE\nBEGIN\n";
    for (int id = 500; id <= 1600; ++id) {
        const auto found = overrides.find(id);
        const std::string number = std::to_string(id);
        const std::string text =
            found != overrides.end() ? found->second : (bracketed ? "[" + number + "]" : "#" + number);
        script += "    " + std::to_string(id) + " \"" + text + "\"\n";
    }
    return script + "END\n";
}

std::string Text(int textClass, int code, int size = 256)
{
    char buffer[256];
    std::memset(buffer, 'x', sizeof buffer);
    const int result = TextSensorText(textClass, code, buffer, size);
    const std::string text = buffer;
    EXPECT_EQ(result, text.empty() ? 0 : 1) << "class " << textClass << " code " << code;
    return text;
}

struct TextCase {
    int textClass;
    int code;
    const char* expected;
};

// One or more rows for every class with texts; the comments name the form.
const TextCase TEXT_CASES[] = {
    // tables
    {1, 0, "#634"}, {1, 16, "#637"}, {1, 33, "#646"}, {1, 37, "#703"}, {1, 3, "#713"},
    {2, 0, "#696"}, {2, 1, "#697"}, {2, 2, "#713"},
    {3, 0, "#632"}, {3, 8, "#632"}, {3, 12, "#628"}, {3, 20, "#790"}, {3, 33, "#791"}, {3, 137, "#651"},
    {3, 140, "#655"}, {3, 5, "#713"},
    {4, 0, "#801"}, {4, 39, "#840"}, {4, 40, "#842"}, {4, 41, "#841"}, {4, 42, "#843"}, {4, 59, "#860"},
    {4, 60, "#713"}, {4, 0x10000 + 40, "#842"}, // the code counts as 16 bits
    {6, 0, "#683"}, {6, 2, "#685"}, {6, 3, "#713"},
    {19, 0, "#688"}, {19, 1, "#686"}, {19, 2, "#687"},
    {20, 0, "#690"}, {20, 1, "#689"},
    {21, 64, "#691"}, {21, 67, "#700"}, {21, 72, "#778"}, {21, 32769, "#778"}, {21, 32776, "#774"},
    {21, 32871, "#693"}, {21, 73, "#713"},
    {25, 0, "#702"}, {25, 1, "#701"},
    {28, 0, "#712"}, {28, 1, "#711"},
    {29, 0, "#710"}, {29, 1, "#709"},
    {30, 0, "#714"}, {30, 1, "#715"}, {30, 200, "#714"},
    {39, 0, "#721"}, {39, 1, "#722"},
    {53, 0, "#724"}, {53, 1, "#723"},
    {55, 0, "#1298"}, {55, 38, "#1336"}, {55, 39, "#1353"}, {55, 40, "#1337"}, {55, 47, "#1344"},
    {55, 48, "#1355"}, {55, 49, "#1359"}, {55, 50, "#1345"}, {55, 52, "#1354"}, {55, 55, "#1351"},
    {55, 58, "#1352"}, {55, 61, "#1358"}, {55, 62, "#1360"}, {55, 252, "#1550"}, {55, 253, "#713"},
    // one string whatever the code
    {8, 0, "#554"}, {17, 99, "#531"}, {18, 0, "#544"}, {32, 1, "#730"}, {42, 0, "#733"}, {43, 0, "#731"},
    {64, 0, "#795"},
    // composed: leading string, number in five places or plain, then 706 where marked
    {26, 3, "#704    3#706"}, {31, 0, "#716    0#706"}, {34, 7, "#718    7"}, {35, 12, "#717   12"},
    {36, 1, "#719    1#706"}, {38, 65535, "#72065535#706"}, {44, 5, "#725    5"}, {45, 5, "#727    5#706"},
    {46, 5, "#728    5#706"}, {47, 12, "#72912#706"}, {48, 5, "#770    5"}, {49, 5, "#771    5"},
    {50, 5, "#772    5#706"}, {51, 5, "#726    5"}, {52, 5, "#755    5"}, {54, 5, "#773    5#706"},
    {57, 0, "#7790#706"}, {58, 50, "#780   50#706"}, {59, 4000, "#7824000#706"}, {60, 7, "#7817#706"},
    {61, 5, "#784    5#706"}, {62, 5, "#785    5#706"}, {63, 5, "#783    5"},
    // number first
    {22, 1000, "    5#695"}, {22, 199, "    0#695"}, {56, 1000, " 1000#695"}, {23, 80, "   80#699"},
    {24, 2, "    2#698"},
    // bit fields
    {33, 0x0CC6, "#732#735#737#742#745#746"}, {33, 0x0000, "#732#736#739#742#745#747"},
    {33, 0x0459, "#732#734#738#740#743"}, // bits 10-11 mixed: nothing for them
    {37, 1, "#750#753"}, {37, 2, "#750#754"}, {37, 3, "#750#713"},
    {40, 0x41, "#752#756#759#761#763#764"}, {40, 0x0E, "#752#757#758#760#762#765"},
    {41, 0, "#751#767#769"}, {41, 3, "#751#766#768"},
};

class DeviceTexts : public ::testing::Test {
protected:
    DriverResourceModule texts{NumberedScript()};
};

TEST_F(DeviceTexts, EveryClassPicksItsStringsByTheCode)
{
    for (const TextCase& c : TEXT_CASES)
        EXPECT_EQ(Text(c.textClass, c.code), c.expected) << "class " << c.textClass << " code " << c.code;
}

TEST_F(DeviceTexts, ClassesWithoutTextsLeaveTheBufferAsItWas)
{
    for (int textClass : {0, 5, 7, 9, 12, 16, 27, 65, 200, -1}) {
        char buffer[16] = "unchanged";
        EXPECT_EQ(TextSensorText(textClass, 0, buffer, sizeof buffer), 0) << textClass;
        EXPECT_STREQ(buffer, "unchanged") << textClass;
    }
}

TEST_F(DeviceTexts, TextIsCutToTheBuffer)
{
    EXPECT_EQ(Text(22, 1000, 4), "   ");      // size - 1 characters and a NUL
    EXPECT_EQ(Text(22, 1000, 8), "    5#6");
    EXPECT_EQ(Text(22, 1000, 1), "");         // room for the NUL only: 0
    char buffer[8] = "same";
    EXPECT_EQ(TextSensorText(4, 40, buffer, 0), 0);
    EXPECT_EQ(TextSensorText(4, 40, buffer, -5), 0);
    EXPECT_STREQ(buffer, "same");
    EXPECT_EQ(TextSensorText(4, 40, nullptr, 8), 0);
}

TEST(DeviceTextPieces, AppendedStringsCollapseDoubledPercentAndAreNeverFormats)
{
    const std::string longText(200, 'a');
    DriverResourceModule texts{NumberedScript({{706, "100%% %s %d %n"}, {695, longText}, {704, "Gr\xC3\xB6\xC3\x9F"}})};
    // The leading string keeps its percent signs; only appended ones pass the collapse.
    EXPECT_EQ(Text(26, 7), "Gr\xC3\xB6\xC3\x9F    7100% %s %d %n");
    // An appended string comes through a 128-byte buffer.
    EXPECT_EQ(Text(56, 1), "    1" + std::string(127, 'a'));
    // A cut never splits a character: "Gr" + two 2-byte characters.
    EXPECT_EQ(Text(26, 7, 6), "Gr\xC3\xB6");
    EXPECT_EQ(Text(26, 7, 5), "Gr\xC3\xB6");
    EXPECT_EQ(Text(26, 7, 4), "Gr");
}

TEST(DeviceTextPieces, MissingStringsAreEmptyPieces)
{
    DriverResourceModule texts{"STRINGTABLE\nBEGIN\n    706 \"!\"\nEND\n"};
    EXPECT_EQ(Text(4, 40), "");           // table string missing: 0
    EXPECT_EQ(Text(26, 3), "    3!");     // leading string missing
    EXPECT_EQ(Text(40, 0), "");           // every piece missing
}

// Every string a class and code can reach has an English text in the shipped script.
TEST(DeviceTextPieces, ShippedTextsCoverEveryReachableString)
{
    std::set<int> reachable;
    {
        DriverResourceModule numbered{NumberedScript({}, true)};
        const std::regex idPattern("\\[(\\d+)\\]");
        std::vector<int> codes;
        for (int code = 0; code <= 300; ++code)
            codes.push_back(code);
        for (int code : {0x0C00, 0x0CFF, 0x0555, 0x0AAA, 32769, 32770, 32771, 32772, 32776, 32784, 32793, 32819, 32871})
            codes.push_back(code);
        for (int textClass = 1; textClass <= 64; ++textClass) {
            for (int code : codes) {
                const std::optional<std::string> text = ComposeDeviceText(textClass, WORD(code), numbered.Module());
                if (!text)
                    break;
                for (std::sregex_iterator it(text->begin(), text->end(), idPattern), end; it != end; ++it)
                    reachable.insert(std::stoi((*it)[1]));
            }
        }
    }
    EXPECT_GT(reachable.size(), 400u); // the walk above did reach the tables
    DriverResourceModule shipped{DriverResourceModule::ShippedScript()};
    for (int id : reachable) {
        char buffer[256];
        EXPECT_GT(LoadString(shipped.Module(), UINT(id), buffer, sizeof buffer), 0) << "no text for " << id;
    }
}

} // namespace
