#include "driver/internal/SetupDialog.h"

#include "driver/internal/DriverLastError.h"
#include "framework/ui/WinHelp.h"

#include <algorithm>

namespace {

// The settings of the dialog that runs; the dialog is modal, so there is one at a time.
PortSettings* g_shownSettings = nullptr;

void FillCombo(HWND hDlg, int id, const std::vector<CString>& items, int selection)
{
    for (const CString& item : items)
        SendDlgItemMessage(hDlg, id, CB_ADDSTRING, 0, LPARAM(item.c_str()));
    SendDlgItemMessage(hDlg, id, CB_SETCURSEL, WPARAM(selection), 0);
}

// The selected item's text; empty when nothing is selected.
CString SelectedText(HWND hDlg, int id)
{
    const LRESULT index = SendDlgItemMessage(hDlg, id, CB_GETCURSEL, 0, 0);
    if (index < 0)
        return {};
    const LRESULT length = SendDlgItemMessage(hDlg, id, CB_GETLBTEXTLEN, WPARAM(index), 0);
    if (length < 0)
        return {};
    std::string text(std::size_t(length) + 1, '\0');
    SendDlgItemMessage(hDlg, id, CB_GETLBTEXT, WPARAM(index), LPARAM(text.data()));
    return CString(text.c_str());
}

// Over the parent's client area, or the screen without a parent; never off the screen.
void CentreDialog(HWND hDlg)
{
    RECT own{};
    GetWindowRect(hDlg, &own);
    const LONG width = own.right - own.left;
    const LONG height = own.bottom - own.top;
    const LONG screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const LONG screenHeight = GetSystemMetrics(SM_CYSCREEN);
    RECT area{0, 0, screenWidth, screenHeight};
    if (HWND parent = GetParent(hDlg)) {
        RECT client{};
        GetClientRect(parent, &client);
        POINT topLeft{client.left, client.top};
        ClientToScreen(parent, &topLeft);
        area = {topLeft.x, topLeft.y, topLeft.x + client.right - client.left, topLeft.y + client.bottom - client.top};
    }
    LONG left = area.left + (area.right - area.left - width) / 2;
    LONG top = area.top + (area.bottom - area.top - height) / 2;
    left = std::max<LONG>(0, std::min(left, screenWidth - width));
    top = std::max<LONG>(0, std::min(top, screenHeight - height));
    SetWindowPos(hDlg, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void InitDialog(HWND hDlg, const PortSettings& settings)
{
    const SetupDialogContents contents = InitSetupDialog(settings);
    EnableWindow(GetDlgItem(hDlg, int(IDC_SETUP_HELP)), contents.helpEnabled ? TRUE : FALSE);
    FillCombo(hDlg, int(IDC_SETUP_PORT), contents.portItems, contents.portSelection);
    FillCombo(hDlg, int(IDC_SETUP_BAUD), contents.baudItems, contents.baudSelection);
    CentreDialog(hDlg);
}

void TakeSelections(HWND hDlg, PortSettings& settings)
{
    const CString port = SelectedText(hDlg, int(IDC_SETUP_PORT));
    const CString baud = SelectedText(hDlg, int(IDC_SETUP_BAUD));
    ApplySetupDialogSelections(settings, port.IsEmpty() ? nullptr : port.c_str(),
                               baud.IsEmpty() ? nullptr : baud.c_str());
}

} // namespace

INT_PTR SetupDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        g_shownSettings = reinterpret_cast<PortSettings*>(lParam);
        if (g_shownSettings)
            InitDialog(hDlg, *g_shownSettings);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(DWORD(wParam))) {
        case IDOK:
            if (g_shownSettings)
                TakeSelections(hDlg, *g_shownSettings);
            EndDialog(hDlg, 1);
            return TRUE;
        case IDCANCEL:
            EndDialog(hDlg, 0);
            return TRUE;
        case IDC_SETUP_HELP:
            if (g_shownSettings)
                WinHelp(hDlg, g_shownSettings->helpFileName.c_str(), HELP_CONTEXT, SETUP_HELP_CONTEXT);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

INT_PTR ShowSetupDialog(HWND parent, PortSettings& settings)
{
    PortSettings* const outer = g_shownSettings;
    const INT_PTR result = DialogBoxParam(GetDriverResourceHandle(), MAKEINTRESOURCE(IDD_PORT_SETUP), parent,
                                          SetupDialogProc, LPARAM(&settings));
    g_shownSettings = outer;
    return result;
}
