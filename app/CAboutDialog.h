#pragma once
// The About box: the program picture and version, the free physical memory and the
// free disk space where the program works.
#include "app/SystemStatus.h"
#include "dialogs/controls/CPictureButton.h"
#include "framework/ui/CDialog.h"

class CAboutDialog : public CDialog {
    DECLARE_DYNAMIC(CAboutDialog)
public:
    static constexpr UINT IDD = 101;
    static constexpr UINT IDB_PROGRAM_PICTURE = 90;
    static constexpr int IDC_PICTURE = 2179;
    static constexpr int IDC_VERSION = 2026;
    static constexpr int IDC_BUILD = 2028;
    static constexpr int IDC_MEMORY = 2001;
    static constexpr int IDC_DISK = 2010;
    static constexpr UINT IDS_MEMORY = 30;
    static constexpr UINT IDS_DISK = 31;
    static constexpr UINT IDS_DISK_UNKNOWN = 32;

    // status: where the memory and disk figures come from (the host when null); it
    // must outlive the box.
    explicit CAboutDialog(CWnd* pParentWnd = nullptr, const SystemStatus* status = nullptr);

    BOOL OnInitDialog() override;

    // The two texts the box shows.
    CString FormatMemoryText() const;
    CString FormatDiskText() const;

private:
    CPictureButton m_picture;
    const SystemStatus& m_status;
};

// The picture and the version texts the About box and the splash screen share.
void InitProgramPicture(CDialog& dialog, CPictureButton& picture);
