#include "app/CSplashDialog.h"

#include "app/CAboutDialog.h"
#include "framework/ui/CWinApp.h"

#include <memory>

IMPLEMENT_DYNAMIC(CSplashDialog, CDialog)

namespace {

bool ClosesSplash(UINT message)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        return true;
    default:
        return false;
    }
}

} // namespace

CSplashDialog::CSplashDialog(CSplashDialog** tracker) : m_tracker(tracker) {}

CSplashDialog* CSplashDialog::Open(CSplashDialog** tracker)
{
    // Until its window exists the object is ours; from then on the window owns it.
    std::unique_ptr<CSplashDialog> splash(new CSplashDialog(tracker));
    if (tracker)
        *tracker = nullptr;
    if (!splash->CreateAndShow())
        return nullptr;
    CSplashDialog* shown = splash.release();
    if (tracker)
        *tracker = shown;
    return shown;
}

void CSplashDialog::CloseIfOpen(CSplashDialog*& tracker)
{
    if (tracker)
        tracker->Close();
    tracker = nullptr;
}

BOOL CSplashDialog::CreateAndShow()
{
    if (!Create(IDD, nullptr))
        return FALSE;
    ShowWindow(SW_SHOW);
    UpdateWindow();
    return TRUE;
}

BOOL CSplashDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    InitProgramPicture(*this, m_picture);
    return TRUE;
}

BOOL CSplashDialog::PreTranslateMessage(MSG* pMsg)
{
    const bool onSplash = pMsg->hwnd == m_hWnd || (m_hWnd && ::GetParent(pMsg->hwnd) == m_hWnd);
    if (onSplash && ClosesSplash(pMsg->message)) {
        CWnd* mainWindow = AfxGetMainWnd();
        Close(); // the object is gone after this
        if (mainWindow && mainWindow->GetSafeHwnd())
            mainWindow->UpdateWindow();
        return TRUE;
    }
    return CDialog::PreTranslateMessage(pMsg);
}

void CSplashDialog::Close()
{
    DestroyWindow();
}

void CSplashDialog::PostNcDestroy()
{
    if (m_tracker && *m_tracker == this)
        *m_tracker = nullptr;
    delete this;
}
