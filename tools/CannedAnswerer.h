#pragma once
// A device that answers the connection test (0x10), the identification (0x31) and the
// error list (0x32) with fixed answers, and refuses every other request. Enough to
// connect the program or the driver to the emulator without the simulator library.
#include "tools/DeviceAnswerer.h"

#include <string>
#include <utility>
#include <vector>

class CannedAnswerer : public DeviceAnswerer {
public:
    // A scanner (family 0) reports version "03.20"; an interface unit (family 1) reports
    // "03.11" and a type 4 scanner behind it. Both are named "EMULATOR".
    explicit CannedAnswerer(BYTE family);

    // At most 7 characters reach the identification.
    void SetVersionText(std::string version) { m_version = std::move(version); }
    // At most 8 characters.
    void SetDeviceName(std::string name) { m_name = std::move(name); }
    // The scanner type an interface unit reports (identification byte 28).
    void SetScannerType(BYTE type) { m_scannerType = type; }
    // (class, code) pairs of the error list; at most 48 are sent.
    void SetErrorList(std::vector<std::pair<BYTE, BYTE>> entries) { m_errors = std::move(entries); }

    bool Answer(ConstRequestSpan request, AnswerSpan answer) override;

private:
    void Identification(AnswerSpan answer) const;
    void ErrorList(AnswerSpan answer) const;

    BYTE m_family;
    std::string m_version;
    std::string m_name = "EMULATOR";
    BYTE m_scannerType = kDeviceTypeZOK4;
    std::vector<std::pair<BYTE, BYTE>> m_errors;
};
