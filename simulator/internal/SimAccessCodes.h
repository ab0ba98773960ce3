#pragma once
// The access codes of a simulated device and its answers to the access request (0x20)
// and the two-step access-code change (0x42). The device keeps no log-in state: a code
// is only compared.
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"
#include "shared/SensorTelegram.h"

#include <array>

class SimAccessCodes {
public:
    static constexpr std::size_t kCodeLength = 8;

    SimAccessCodes();

    const CString& Code(int level) const { return m_codes.at(std::size_t(level)); }
    const CString& PendingCode() const { return m_pending; }

    // 0x20, after the answer header: sets the operating mode for a mode sub-code, compares
    // the code for '0', '1' and '2' (byte 9: 0 equal, 1 not), ignores any other.
    void AnswerAccessRequest(ConstRequestSpan request, AnswerSpan answer, BYTE& operatingMode) const;
    // 0x42, after the answer header: sub 0 keeps a pending code (status 2); sub 1 stores
    // the device code when it repeats the pending one, or the user code (status 1).
    void AnswerCodeChange(ConstRequestSpan request, AnswerSpan answer);

private:
    std::array<CString, 3> m_codes;
    CString m_pending;
};
