// The printed diagnosis results fill their pages: lines in the printer's font at a size
// read on paper, from one line below the top to the page's foot, every line once.
#include "tests/framework/ui/PdfText.h"
#include "tests/framework/ui/ScreenshotFolder.h"
#include "dialogs/CDiagnosisPrintDialog.h"
#include "framework/ui/CPrintDialog.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "support/LanguageScripts.h"

#include <gtest/gtest.h>

#include <string>

TEST(DiagnosisPrint, LinesFillThePagesInReadableLetters)
{
    if (!PdfToolsAvailable()) GTEST_SKIP() << "poppler-utils missing";
    ASSERT_TRUE(AfxEnsureGuiApplication());
    LanguageScripts texts{"framework.rc", "printing.rc"};
    ASSERT_TRUE(texts.Loaded()) << texts.Error();
    ScreenshotFolder dir("diagnosis-print"); // the PDF stays there when TALISO_SCREENSHOT_DIR is set
    const std::string pdf = (dir.Path() / "diagnosis.pdf").string();
    ScriptedUi ui;
    ui.QueueModal([&](CWnd& print) {
        print.SetDlgItemText(CPrintDialog::IDC_FILE, pdf.c_str());
        print.SendMessage(WM_COMMAND, IDOK);
    });
    constexpr int kLines = 150;
    CString text;
    for (int line = 1; line <= kLines; ++line) text += CString("Line ") + std::to_string(line).c_str() + "\r\n";
    CDiagnosisPrintDialog printer(text);
    EXPECT_EQ(printer.PrintContent(nullptr, "Taliso"), PrintJobResult::Printed);

    const int pages = PdfPageCount(pdf);
    ASSERT_GE(pages, 2);
    int next = 1;
    for (int page = 1; page <= pages; ++page) {
        SCOPED_TRACE("page " + std::to_string(page));
        const std::vector<PdfWord> words = PdfPageWords(pdf, page);
        ASSERT_FALSE(words.empty());
        for (std::size_t i = 0; i + 1 < words.size(); i += 2) {
            EXPECT_EQ(words[i].text, "Line");
            EXPECT_EQ(words[i + 1].text, std::to_string(next++));
            EXPECT_GE(words[i].Height(), 8.0);
            EXPECT_LE(words[i].Height(), 12.0);
        }
        if (page < pages) {
            // A full page runs from the top to the foot of the paper.
            EXPECT_LT(words.front().yMin, 30.0);
            EXPECT_GT(words.back().yMax, 0.9 * PdfPageHeight(pdf, page));
        }
    }
    EXPECT_EQ(next, kLines + 1);
}
