#pragma once
// The diagnosis library's state for one DialogDiagnose call: the language library, the
// line to the device (the driver handle behind it) and the chosen device address and
// family that go into every request.
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"
#include "framework/ui/UiDefs.h"

#include <cstdint>

// What the library asks of the driver while a diagnosis runs.
class DiagnoseLine {
public:
    virtual ~DiagnoseLine() = default;
    // One exchange of a 752-byte request for a 756-byte answer; false when it failed.
    virtual bool Telegram(const BYTE* request, BYTE* answer) = 0;
    // The driver's text of a code in a text class (empty when it has none).
    virtual CString DeviceText(int textClass, int code) = 0;
    // The driver's last error text, which fetching clears; at most maxLength characters.
    virtual CString TakeLastError(int maxLength) = 0;
    // The driver's port set-up dialog.
    virtual int Setup(HWND parent) = 0;
};

// The driver library behind a handle of LoadSensor.
class DriverLine : public DiagnoseLine {
public:
    explicit DriverLine(std::intptr_t handle) : m_handle(handle) {}
    bool Telegram(const BYTE* request, BYTE* answer) override;
    CString DeviceText(int textClass, int code) override;
    CString TakeLastError(int maxLength) override;
    int Setup(HWND parent) override;

private:
    std::intptr_t m_handle;
};

struct DiagnoseState {
    HINSTANCE resources = nullptr;
    DiagnoseLine* line = nullptr; // set for the length of DialogDiagnose
    BYTE address = 0;
    BYTE family = 0;
};

DiagnoseState& TheDiagnoseState();

// Installs a line as the library's line while the object lives.
class ScopedDiagnoseLine {
public:
    explicit ScopedDiagnoseLine(DiagnoseLine& line) : m_previous(TheDiagnoseState().line)
    {
        TheDiagnoseState().line = &line;
    }
    ~ScopedDiagnoseLine() { TheDiagnoseState().line = m_previous; }
    ScopedDiagnoseLine(const ScopedDiagnoseLine&) = delete;
    ScopedDiagnoseLine& operator=(const ScopedDiagnoseLine&) = delete;

private:
    DiagnoseLine* m_previous;
};
