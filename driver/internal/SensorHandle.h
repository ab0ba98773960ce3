#pragma once
// One handle of the driver's exported interface: the serial settings of an INI file, the
// port they name and the telegram exchange over it, plus the device queries built on
// the exchange (firmware version, type code, capabilities).
#include "driver/internal/TelegramManager.h"
#include "framework/core/CString.h"

#include <functional>
#include <memory>

class SensorHandle : public TelegramManager {
public:
    // Reads "SETUP" of iniPath; the port gets its number, its baud code and the file's
    // "PORTS" map, and stays closed. Without a port object a real ComPort is made.
    explicit SensorHandle(const char* iniPath, std::unique_ptr<ComPort> port = nullptr);

    const CString& IniPath() const { return m_iniPath; }

    // Opens the port, then sets the time-outs and the line; 1 when both worked.
    BOOL Open();
    BOOL Query() const;
    // The system's result; 1 when the port was closed already.
    BOOL Close();

    // Shows the settings read from the file now and returns 1 after OK (the settings
    // changed in place), 0 after Cancel, -1 when the dialog cannot be shown.
    using SetupDialogRunner = std::function<int(PortSettings&)>;
    // After OK writes "SETUP", takes the settings over (the port gets number and baud
    // code) and reopens an open port. 1 after OK; 0 after Cancel, or with last-error
    // text IDS_DRV_SETUP_UNAVAILABLE when the dialog cannot be shown. A file that does not
    // take the settings still leaves them in force for this handle, but gives 0 with
    // IDS_DRV_SETUP_NOT_SAVED (a failed reopen's text wins over it).
    BOOL Setup(const SetupDialogRunner& runDialog);

    // Read from the INI file now.
    DWORD SetupBaudrate() const;
    DWORD SetupSTXTimeout() const;
    // Rewrite "SETUP" with the new value and reopen an open port. The baud code goes to
    // the port only: the settings keep the code of the load or set-up, which the next
    // Open sets again. The time-out goes to the settings. 0 when the reopen fails, or
    // when the file does not take the value (IDS_DRV_SETUP_NOT_SAVED), which is in force
    // all the same.
    BOOL SetBaudrate(DWORD baudCode);
    BOOL SetSTXTimeout(DWORD milliseconds);

    // One exchange; request null is receive-only. The request is not written to: the
    // driver's fields (length, check value) are set in a copy.
    BOOL Telegram(const BYTE* request, BYTE* answer);

    // The firmware version from the identification (0x31) of the given family; 0 when
    // the device does not answer with its identification.
    DWORD QueryFirmwareVersion(BYTE family);
    // GetSensorType: family 0 by the scanner's firmware version, family 1 by the type
    // byte of the unit's identification (132 without an answer), any other family 4.
    int SensorType(int family);
    // GetSensorCaps; types 4 and 50 ask the device for its firmware version first.
    int SensorCaps(int type, int index);

private:
    PortSettings ReadSetup() const;
    // Writes "SETUP"; on failure leaves IDS_DRV_SETUP_NOT_SAVED naming the file and why.
    BOOL SaveSetup(const PortSettings& settings) const;
    BOOL ReopenIfOpen();

    CString m_iniPath;
};

// The version number of a version text: read from its end, each decimal digit adds
// digit x weight, the weight starting at 1 and growing 16-fold per digit; other
// characters are skipped ("03.20" -> 0x0320).
DWORD ParseFirmwareVersion(const char* text);
