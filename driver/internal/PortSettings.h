#pragma once
// The driver's serial settings: section "SETUP" of the INI file, the help file name from
// its language sections, and the logic of the port set-up dialog.
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"

#include <vector>

struct PortSettings {
    CString helpFileName; // at most 30 characters
    DWORD port = 1;
    DWORD baudCode = 9600;
    DWORD parity = 2; // 0 none, 2 even
    DWORD readTimeout = 2; // ms per character
    DWORD stxTimeout = 35000;
    DWORD writeTimeout = 2;
    DWORD ackResponseTimeout = 500;
    DWORD repeatCounter = 2;
    DWORD readBufferSize = 10240;
    DWORD writeBufferSize = 1650;
    DWORD readTotalMultiplier = 47;
    DWORD readTotalConstant = 30;
};

// Modes of ReadWriteSetupSection.
enum : int { SETUP_SECTION_READ = 204, SETUP_SECTION_WRITE = 187 };

// Mode 204 reads "SETUP" and the help file name into settings (defaults, minimums,
// upper bounds and the time-out rule applied); mode 187 writes the ten "SETUP" keys from
// settings as they stand. Returns 1 for those modes (0 when a write fails) and 0 for any
// other mode, which does nothing.
BOOL ReadWriteSetupSection(const char* iniPath, PortSettings& settings, int mode);

// Mode 187 with the reason of a failure: 0 when the ten keys were written, else the
// system's error number (EINVAL for a value the file refuses).
int WriteSetupSection(const char* iniPath, const PortSettings& settings);

// The time-out rule of reading: resets inconsistent time-outs to the defaults and derives
// the read total multiplier k and constant, so that a 10-byte read ends after
// ACKResponseTimeout and a 780-byte read after 770 k + ACKResponseTimeout.
void ApplyTimeoutRule(PortSettings& settings);

// Baud texts of the INI file and the set-up dialog; texts compare exactly. An unknown
// text reads as 9600; an unknown code is written as "9600".
DWORD BaudCodeFromText(const char* text);
const char* BaudTextForCode(DWORD code);
// The twelve texts in the dialog's order.
const std::vector<CString>& SetupBaudTexts();

// Resources and controls of the set-up dialog.
enum : UINT {
    IDD_PORT_SETUP = 103,
    IDC_SETUP_PORT = 2002,
    IDC_SETUP_BAUD = 2005,
    IDC_SETUP_HELP = 57670,
    SETUP_HELP_CONTEXT = 122,
};

// What the set-up dialog shows when it opens; a selection of -1 selects nothing.
struct SetupDialogContents {
    std::vector<CString> portItems; // combo IDC_SETUP_PORT
    int portSelection = -1;
    std::vector<CString> baudItems; // combo IDC_SETUP_BAUD
    int baudSelection = -1;
    bool helpEnabled = false; // button IDC_SETUP_HELP
};
SetupDialogContents InitSetupDialog(const PortSettings& settings);
// OK: takes the port and the baud code from the combos' selected texts (nullptr when a
// combo has no selection, which leaves its value). Parity and time-outs stay.
void ApplySetupDialogSelections(PortSettings& settings, const char* portText, const char* baudText);
