// The parameter-set listing prints on one page, every line of it, and the print dialog
// offers no page range.
#include "../framework/ui/PdfText.h"
#include "dialogs/CZOKParameterPrintDialog.h"
#include "framework/ui/CPrintDialog.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "support/LanguageScripts.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(ZOKParameterPrint, PrintsTheWholeListingOnOnePage)
{
    if (!PdfToolsAvailable()) GTEST_SKIP() << "poppler-utils missing";
    ASSERT_TRUE(AfxEnsureGuiApplication());
    LanguageScripts texts{"framework.rc", "printing.rc"};
    ASSERT_TRUE(texts.Loaded()) << texts.Error();
    QTemporaryDir dir;
    const std::string pdf = dir.filePath("parameters.pdf").toStdString();
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
}
