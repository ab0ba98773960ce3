// The parameter-set listing prints on one page, every line of it, one inch in from the
// corner in letters a user reads on paper, and the print dialog offers no page range.
#include "tests/framework/ui/PdfText.h"
#include "tests/framework/ui/ScreenshotFolder.h"
#include "dialogs/CZOKParameterPrintDialog.h"
#include "framework/ui/CPrintDialog.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "support/LanguageScripts.h"

#include <gtest/gtest.h>

TEST(ZOKParameterPrint, PrintsTheWholeListingOnOnePage)
{
    if (!PdfToolsAvailable()) GTEST_SKIP() << "poppler-utils missing";
    ASSERT_TRUE(AfxEnsureGuiApplication());
    LanguageScripts texts{"framework.rc", "printing.rc"};
    ASSERT_TRUE(texts.Loaded()) << texts.Error();
    ScreenshotFolder dir("parameter-print"); // the PDF stays there when TALISO_SCREENSHOT_DIR is set
    const std::string pdf = (dir.Path() / "parameters.pdf").string();
    ScriptedUi ui;
    ui.QueueModal([&](CWnd& print) {
        EXPECT_FALSE(print.GetDlgItem(CPrintDialog::IDC_PAGES)->IsWindowEnabled());
        print.SetDlgItemText(CPrintDialog::IDC_FILE, pdf.c_str());
        print.SendMessage(WM_COMMAND, IDOK);
    });
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, 0));
    CZOKParameterPrintDialog printer("Scans: 4\r\nRestart: manual\r\n");
    EXPECT_EQ(printer.PrintContent(&owner, "Taliso"), PrintJobResult::Printed);
    EXPECT_TRUE(owner.IsWindowEnabled());
    owner.DestroyWindow();
    ASSERT_EQ(PdfPageCount(pdf), 1);
    EXPECT_EQ(PdfPageText(pdf, 1), "Scans: 4 Restart: manual");
    const std::vector<PdfWord> words = PdfPageWords(pdf, 1);
    ASSERT_EQ(words.size(), 4u);
    for (const PdfWord& word : words) {
        EXPECT_GE(word.Height(), 8.0) << word.text;
        EXPECT_LE(word.Height(), 12.0) << word.text;
    }
    EXPECT_NEAR(words[0].xMin, 72.0, 1.0);
    EXPECT_NEAR(words[0].yMin, 72.0, 3.0);
    EXPECT_GE(words[2].yMin, words[0].yMin + 8.0); // the second line below the first
}
