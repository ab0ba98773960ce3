#pragma once
// The serial-port wizard: asks which device family to look for, lists the serial ports
// that can be opened, stores the chosen one in the INI file's "SETUP" section, then
// connects and searches for a device of that family with a baud-rate scan, and shows
// the result. DoModal returns 1 when a device was found, else 0.
//
// Of the application it uses the INI file and the simulated-device choice
// (ProcedureApplication); without an application nothing is written.
#include "framework/core/CString.h"
#include "framework/ui/CPropertySheet.h"

class CComWizard : public CPropertySheet {
    DECLARE_DYNAMIC(CComWizard)
public:
    static constexpr UINT IDS_CAPTION = 1194;
    // The driver's own default: an absent "Port" written back leaves the line as it was.
    static constexpr int kDefaultPort = 1;

    explicit CComWizard(CWnd* pParentWnd = nullptr);

    // Runs the five pages; the found flag.
    INT_PTR DoModal() override;

    // 0 reads "Port" of "SETUP" (default 1) into m_nPort; 1 writes "Port" and
    // "Parity" = "EVEN", the line the devices speak. A failed write is reported once
    // in a run of the wizard.
    void LoadSavePort(int flag);

    // The INI file of the application; empty without one.
    static CString GetIniPath();
    // TRUE when the application simulates a device instead of using the port.
    static BOOL IsSimulating();

    int m_nPort = 0;   // 1 to 9
    int m_nFamily = 0; // to search: 0 ZOK, 1 KVR
    int m_nFound = 0;  // 1 when the search found a device

private:
    bool m_bWriteFailureShown = false;
};
