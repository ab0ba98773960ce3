#pragma once
// A pseudo-terminal pair: the slave side stands in for a serial device (it is opened by
// path like one), the master side plays the device on the other end of the line.
#include "framework/core/WinTypes.h"

#include <cstddef>
#include <string>

class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Creates the pair with the slave in raw mode; 0 or an errno code. The object keeps
    // a slave descriptor of its own, so the master sees no hang-up while the user of the
    // slave path closes and reopens it.
    int Open();
    void Close();
    bool IsOpen() const { return m_master >= 0; }
    const std::string& SlavePath() const { return m_slavePath; }

    // Writes every byte to the line; 0 or an errno code.
    int Write(const BYTE* data, std::size_t count);
    // Waits up to timeoutMs (negative: without end) for bytes from the slave's user and
    // reads up to count of them; a time-out is success with *received 0.
    int Read(BYTE* buffer, std::size_t count, std::size_t* received, int timeoutMs);

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};
