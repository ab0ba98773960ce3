#pragma once
// The restart setting of an output: a mode (0, 1 or 2) and a delay in seconds (2 to 60).
// Only mode 1 has a delay of its own; every other mode keeps the delay at 2, so a value
// can never carry a stale delay into a device or a file.
#include "framework/core/WinTypes.h"

class CArchive;
class CDataExchange;

class CModeDelay {
public:
    static constexpr BYTE kFixedDelay = 2;
    static constexpr BYTE kMinDelay = 2;
    static constexpr BYTE kMaxDelay = 60;
    // The mode that keeps its delay.
    static constexpr BYTE kDelayedMode = 1;

    CModeDelay() = default; // mode 2, delay 2
    CModeDelay(BYTE mode, BYTE delay) { Set(mode, delay); }

    void Set(BYTE mode, BYTE delay);
    void SetMode(BYTE mode) { Set(mode, m_byDelay); }
    void SetDelay(BYTE delay) { Set(m_byMode, delay); }
    BYTE GetMode() const { return m_byMode; }
    BYTE GetDelay() const { return m_byDelay; }

    // The mode byte, then the delay byte; loading applies Set.
    void Serialize(CArchive& ar);

    friend bool operator==(const CModeDelay&, const CModeDelay&) = default;

private:
    BYTE m_byMode = 2;
    BYTE m_byDelay = kFixedDelay;
};

// The mode through a group of three radio buttons starting at nIDC: mode 0 is the first
// button, mode 2 the second, mode 1 the third; another mode checks none. Saving with no
// button checked keeps the mode.
void DDX_ModeRadio(CDataExchange* pDX, int nIDC, CModeDelay& value);
// While saving: the delay within 2..60 (the framework's byte range check).
void DDV_Delay(CDataExchange* pDX, const CModeDelay& value);
