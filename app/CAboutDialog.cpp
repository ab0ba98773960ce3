#include "app/CAboutDialog.h"

#include "dialogs/ProgramVersion.h"
#include "framework/core/Resources.h"

#include <string>

IMPLEMENT_DYNAMIC(CAboutDialog, CDialog)

namespace {

CString Kilobytes(std::uint64_t bytes)
{
    return CString(std::to_string(bytes / 1024).c_str());
}

} // namespace

void InitProgramPicture(CDialog& dialog, CPictureButton& picture)
{
    if (picture.SubclassDlgItem(CAboutDialog::IDC_PICTURE, &dialog)) {
        picture.LoadBitmap(CAboutDialog::IDB_PROGRAM_PICTURE);
        picture.SizeToContent();
    }
    dialog.SetDlgItemText(CAboutDialog::IDC_VERSION, GetProgramVersion());
    dialog.SetDlgItemText(CAboutDialog::IDC_BUILD, GetProgramBuildText());
}

CAboutDialog::CAboutDialog(CWnd* pParentWnd, const SystemStatus* status)
    : CDialog(IDD, pParentWnd), m_status(status ? *status : HostSystemStatus())
{
}

BOOL CAboutDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    InitProgramPicture(*this, m_picture);
    SetDlgItemText(IDC_MEMORY, FormatMemoryText());
    SetDlgItemText(IDC_DISK, FormatDiskText());
    return TRUE;
}

// Counted in 64 bits: memories and disks beyond 4 GB are common.
CString CAboutDialog::FormatMemoryText() const
{
    CString text;
    AfxFormatString1(text, IDS_MEMORY, Kilobytes(m_status.AvailablePhysicalMemory()));
    return text;
}

CString CAboutDialog::FormatDiskText() const
{
    CString text;
    const std::optional<DiskSpace> space = m_status.CurrentDriveFreeSpace();
    if (!space)
        text.LoadString(IDS_DISK_UNKNOWN);
    else
        AfxFormatString2(text, IDS_DISK, Kilobytes(space->freeBytes), space->location);
    return text;
}
