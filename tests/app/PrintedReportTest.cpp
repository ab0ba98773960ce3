// A small report of print objects laid out on pages and printed through the PDF printer.
#include "PrintTestSupport.h"
#include "app/CSubTitle1Object.h"
#include "app/CSubTitle2Object.h"
#include "app/CTableObject.h"
#include "app/CTextObject.h"
#include "app/CTitleObject.h"
#include "framework/ui/WindowHandle.h"
#include "model/LanguageScript.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string RunCommand(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return output;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) output.append(buffer.data(), n);
    pclose(pipe);
    return output;
}

using Report = std::vector<std::unique_ptr<CPrintObject>>;

// Elements go on the current page while their measured height fits what is left of it.
int AssignPages(CDC& dc, Report& report, const CRect& page)
{
    int number = 1;
    int top = page.top;
    for (const auto& element : report) {
        const int height = element->Print(&dc, CRect(page.left, top, page.right, page.bottom), TRUE);
        if (top + height > page.bottom && top > page.top) {
            ++number;
            top = page.top;
        }
        element->SetPage(number);
        top += height;
    }
    return number;
}

void PrintPage(CDC& dc, Report& report, const CRect& page, int number)
{
    int top = page.top;
    for (const auto& element : report)
        if (element->GetPage() == number) top += element->Print(&dc, CRect(page.left, top, page.right, page.bottom), FALSE);
}

TEST(PrintedReport, TwoPagesOfPrintObjectsCarryTheirTexts)
{
    if (RunCommand("command -v pdftotext").empty()) GTEST_SKIP() << "pdftotext missing (scripts/install-deps.sh installs it)";
    ASSERT_TRUE(AfxEnsureGuiApplication()); // fonts are drawn only with a GUI application
    LanguageScript units("model2.rc");
    ASSERT_TRUE(units.Loaded()) << units.Error();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath("report.pdf").toStdString();

    CPolyShelter field;
    field.InitializeConstant(CSensorType(), 200, 181, 1);
    field.SetVertexFlags(-1, FALSE);
    for (const int beam : {0, 60, 120, 180}) field.SetVertexFlags(beam, TRUE);

    // An A6 page keeps the report short: the long text pushes the table to page 2.
    GdiPageSetup setup;
    setup.paperWidth = 10500;
    setup.paperHeight = 14800;
    setup.dpiX = setup.dpiY = 300;
    const CRect page(1270, 1270, 10500 - 1270, 14800 - 1270);
    CString longText;
    for (int i = 1; i <= 12; ++i) longText.AppendFormat("Case %d switches to field pair %d at input combination %d.\n", i, i, i);

    Report report;
    report.push_back(std::make_unique<CTitleObject>("Configuration report"));
    report.push_back(std::make_unique<CSubTitle1Object>("Monitoring cases"));
    report.push_back(std::make_unique<CTextObject>(longText));
    report.push_back(std::make_unique<CSubTitle2Object>("Contour points"));
    report.push_back(std::make_unique<CTableObject>(&field, TRUE, FALSE));

    CDC dc;
    ASSERT_TRUE(dc.CreatePrinterDC(path.c_str(), setup));
    ASSERT_GT(dc.StartDoc("Configuration report"), 0);
    MapHundredthsOfMillimetre(dc);
    const int pages = AssignPages(dc, report, page);
    ASSERT_EQ(pages, 2);
    EXPECT_EQ(report.front()->GetPage(), 1);
    EXPECT_EQ(report.back()->GetPage(), 2);
    for (int number = 1; number <= pages; ++number) {
        ASSERT_GT(dc.StartPage(), 0);
        MapHundredthsOfMillimetre(dc);
        dc.SetTextAlign(TA_LEFT | TA_TOP);
        PrintPage(dc, report, page, number);
        ASSERT_GT(dc.EndPage(), 0);
    }
    ASSERT_GT(dc.EndDoc(), 0);

    const std::string text = RunCommand("pdftotext -layout '" + path + "' -");
    const std::size_t feed = text.find('\f');
    ASSERT_NE(feed, std::string::npos) << text;
    const std::string first = text.substr(0, feed);
    const std::string second = text.substr(feed + 1);
    EXPECT_NE(first.find("Configuration report"), std::string::npos) << text;
    EXPECT_NE(first.find("Monitoring cases"), std::string::npos) << text;
    EXPECT_NE(first.find("Case 1 switches to field pair 1"), std::string::npos) << text;
    EXPECT_NE(second.find("Contour points"), std::string::npos) << text;
    EXPECT_NE(second.find("60.00"), std::string::npos) << text;
    EXPECT_NE(second.find("200cm"), std::string::npos) << text;
    EXPECT_EQ(first.find("Contour points"), std::string::npos) << text;
    const std::string info = RunCommand("pdfinfo '" + path + "'");
    EXPECT_NE(info.find("Pages:           2\n"), std::string::npos) << info;
}

} // namespace
