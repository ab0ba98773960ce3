// The About box's texts from a status of our own: the version, the memory and the disk
// figures in KB beyond 32 bits, and the fallback when the disk cannot be queried.
#include "app/CAboutDialog.h"
#include "dialogs/ShippedLanguage.h"
#include "framework/core/Resources.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"

#include <gtest/gtest.h>

namespace {

class FixedStatus : public SystemStatus {
public:
    std::uint64_t memory = 0;
    std::optional<DiskSpace> disk;
    std::uint64_t AvailablePhysicalMemory() const override { return memory; }
    std::optional<DiskSpace> CurrentDriveFreeSpace() const override { return disk; }
};

TEST(CAboutDialogTest, ShowsTheVersionAndTheFiguresOfTheComputer)
{
    ShippedLanguage language;
    ASSERT_TRUE(language.Loaded()) << language.Error();
    struct Case {
        const char* name;
        std::optional<DiskSpace> disk;
        CString expectedDisk;
    };
    CString fiveTerabytes;
    AfxFormatString2(fiveTerabytes, CAboutDialog::IDS_DISK, "5368709120", "/home/user");
    const Case cases[] = {
        {"disk answered", DiskSpace{5497558138880ull + 1023, "/home/user"}, fiveTerabytes},
        {"disk not answering", std::nullopt, language.Text(CAboutDialog::IDS_DISK_UNKNOWN)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FixedStatus status;
        status.memory = 6442450944ull + 512; // 6 GB and a half KB: 6291456 KB
        status.disk = c.disk;
        CString memory;
        AfxFormatString1(memory, CAboutDialog::IDS_MEMORY, "6291456");

        ScriptedUi ui;
        CAboutDialog about(nullptr, &status);
        ui.QueueModal([&](CWnd& dlg) {
            DialogDriver driver(dlg);
            EXPECT_EQ(driver.Text(CAboutDialog::IDC_VERSION), CString("03.61"));
            EXPECT_EQ(driver.Text(CAboutDialog::IDC_BUILD), CString());
            EXPECT_EQ(driver.Text(CAboutDialog::IDC_MEMORY), memory);
            EXPECT_EQ(driver.Text(CAboutDialog::IDC_DISK), c.expectedDisk);
            EXPECT_TRUE(driver.Exists(CAboutDialog::IDC_PICTURE));
            EXPECT_TRUE(driver.Ok());
        });
        EXPECT_EQ(about.DoModal(), IDOK);
    }
}

} // namespace
