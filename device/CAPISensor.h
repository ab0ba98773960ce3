#pragma once
// The owner of one driver instance: loads and frees it, opens and closes its port, and
// carries request records to the device. With the simulate flag set no port is opened
// and the records go to the simulator library instead (see CSensor); the driver
// instance is loaded all the same.
//
// No operation shows a message: each returns FALSE (or 0) and leaves the loaded and open
// state as it was, except that a failed Close keeps the port open and a failed Free
// keeps the instance. The destructor closes and frees whatever is still held.
#include "framework/core/CObject.h"
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"
#include "shared/SensorTelegram.h"

#include <cstdint>

class CWnd;

class CAPISensor : public CObject {
    DECLARE_DYNAMIC(CAPISensor)
public:
    CAPISensor() = default;
    ~CAPISensor() override;
    CAPISensor(const CAPISensor&) = delete;
    CAPISensor& operator=(const CAPISensor&) = delete;

    void SetSimulated(int simulate) { m_simulate = simulate; }
    int IsSimulated() const { return m_simulate; }
    BOOL IsLoaded() const { return m_loaded; }
    BOOL IsOpen() const { return m_open; }
    intptr_t GetHandle() const { return m_handle; }
    // The INI path given to Load (empty before).
    const CString& GetIniPath() const { return m_iniPath; }

    // Loads a driver instance for the INI file; TRUE at once when one is loaded.
    BOOL Load(LPCTSTR iniPath);
    // TRUE when nothing is loaded; FALSE while the port is open or when the driver fails.
    BOOL Free();
    // Opens the port (only marks it open when simulating); FALSE when not loaded.
    BOOL Open();
    // TRUE when not loaded or not open; a failed close keeps the port open.
    BOOL Close();
    // The driver's view: 1 when its port is open.
    BOOL Query();
    // The driver's port set-up dialog over the frame window; TRUE after OK. FALSE after
    // Cancel, and with the driver's reason (TakeDriverError) when the dialog could not be
    // shown or the INI file did not take the settings, which are in force all the same.
    BOOL Setup(CWnd* frame);
    // The driver's reason for its last failure, emptied by the call; empty when none is left.
    CString TakeDriverError();
    // Sets the baud code in the INI file and on the port (reopening an open port).
    BOOL SetBaudrate(int rate);
    // The baud code the INI file holds now; 0 when not loaded.
    int GetSetupBaudrate();

    // Marks the request with 752 and carries it through Telegram. TRUE only when the
    // exchange succeeded and the answer carries 753; FALSE at once when not loaded or
    // not open.
    BOOL SendTelegram(RequestSpan request, AnswerSpan answer);
    BOOL SendTelegram(SensorRequest& request, SensorAnswer& answer)
    {
        return SendTelegram(request.Bytes(), answer.Bytes());
    }
    // Collects an answer the device sent without a request. TRUE when one carrying 753
    // was collected; when simulating TRUE at once with the answer untouched.
    BOOL ReceiveTelegram(AnswerSpan answer);

    // The driver's type code of the connected device of a family.
    virtual int GetSensorType(BYTE family);
    // The driver's capability number of a device type.
    virtual int GetSensorCaps(BYTE type, int index);
    // One exchange through the driver; TRUE at once when simulating.
    virtual BOOL Telegram(RequestSpan request, AnswerSpan answer);

private:
    CString m_iniPath;
    intptr_t m_handle = 0;
    int m_simulate = 0;
    BOOL m_loaded = FALSE;
    BOOL m_open = FALSE;
};
