#pragma once
// The parameter-set dialog of a ZOK scanner (template 110): shows the ten device
// parameters of the connected scanner or of a parameter-set file as a listing, saves the
// scanner's set to a file and sends a file's set to a scanner. Each button runs its own
// device session.
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"
#include "framework/ui/CDialog.h"

class CZOKIdentity;
class CZOKParameters;
class CZOKSensor;

class CZOKParameterDialog : public CDialog {
    DECLARE_DYNAMIC(CZOKParameterDialog)
public:
    static constexpr UINT IDD = 110;
    static constexpr int IDC_SEND_FILE = 2031;
    static constexpr int IDC_LOAD_FILE = 2032;
    static constexpr int IDC_READ_DEVICE = 2038;
    static constexpr int IDC_SAVE_TO_FILE = 2039;
    static constexpr int IDC_PRINT = 2040;
    static constexpr int IDC_LISTING = 2041;

    static constexpr UINT IDP_LISTING_FAILED = 315;
    static constexpr UINT IDP_SEND_FAILED = 388;
    static constexpr UINT IDP_SENT = 389;
    static constexpr UINT IDP_CONFIRM_SEND = 406;
    static constexpr UINT IDP_OTHER_DEVICE = 407;
    static constexpr UINT IDP_SAVED = 439;
    static constexpr UINT IDP_FILE_OPEN = 445;
    static constexpr UINT IDP_FILE_WRITE = 446;

    explicit CZOKParameterDialog(CWnd* pParentWnd = nullptr);

    BOOL OnInitDialog() override;

    // The listing of a scanner's identification, or of a parameter record for a scanner
    // with that firmware version (the variant line only where the firmware knows it).
    // Lines end with CR LF; the first holds the current date and time.
    static void FormatIdentity(const CZOKIdentity& identity, CString& text);
    static void FormatParameters(const CZOKParameters& parameters, DWORD firmwareVersion, CString& text);

protected:
    afx_msg void OnReadDevice();
    afx_msg void OnSaveToFile();
    afx_msg void OnLoadFile();
    afx_msg void OnSendFile();
    afx_msg void OnPrint();

private:
    // Load and show a file's set; with thenSend, also send it to the scanner.
    void LoadFile(bool thenSend);
    // Reads a parameter-set file; a failure is reported and gives false.
    bool ReadParameterFile(const CString& path, CZOKParameters& parameters);
    // Shows the listing with the focus on it; an exception while building it empties
    // the listing and reports 315.
    template <typename Build>
    void ShowListing(Build build);

    DECLARE_MESSAGE_MAP()
};
