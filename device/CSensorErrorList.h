#pragma once
// The error list of a device, as the error-list command (0x32) answers it: up to 48
// entries of a class byte and a code byte, and the family of the device that sent it.
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"
#include "shared/SensorTelegram.h"

#include <array>

class CSensorErrorList {
public:
    static constexpr int kMaxEntries = 48;
    static constexpr BYTE kUnknownFamily = 255;

    CSensorErrorList() = default;

    // Takes the family from the status bit (answer byte 7), the count from byte 9 and the
    // entries from byte 10 on. A count above 48 is refused: FALSE, and the list stays as it
    // was.
    BOOL Parse(std::span<const BYTE, kAnswerRecordSize> answer);

    int GetCount() const { return m_count; }
    BYTE GetFamily() const { return m_family; }
    // Of entry i; 0 for an index outside the list.
    BYTE GetClass(int i) const;
    BYTE GetCode(int i) const;
    // The driver's texts: the class by text class 3, the code by the device's family;
    // empty for an index outside the list.
    CString GetClassText(int i) const;
    CString GetCodeText(int i) const;

private:
    bool IsEntry(int i) const { return i >= 0 && i < m_count; }

    BYTE m_count = 0;
    std::array<BYTE, 2 * kMaxEntries> m_entries{};
    BYTE m_family = kUnknownFamily;
};
