#pragma once
// The splash screen: a modeless window with the program picture and version, shown while
// the program starts. A key or a mouse button pressed on it closes it at once; else the
// end of start-up closes it. The object goes with its window.
#include "dialogs/controls/CPictureButton.h"
#include "framework/ui/CDialog.h"

class CSplashDialog : public CDialog {
    DECLARE_DYNAMIC(CSplashDialog)
public:
    static constexpr UINT IDD = 102;

    // Makes the splash screen, shows it and paints it at once. tracker, when given,
    // holds the splash screen while it is open and is set to null when it goes, by
    // Close or by the user. Null (and tracker null) when the window cannot be made.
    static CSplashDialog* Open(CSplashDialog** tracker = nullptr);
    // Closes the splash screen that tracker holds, if it is still open.
    static void CloseIfOpen(CSplashDialog*& tracker);

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void Close();

protected:
    void PostNcDestroy() override;

private:
    explicit CSplashDialog(CSplashDialog** tracker);
    BOOL CreateAndShow();

    CPictureButton m_picture;
    CSplashDialog** m_tracker;
};
