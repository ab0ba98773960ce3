#include "driver/internal/PortSettings.h"

#include "framework/core/Profile.h"
#include "framework/core/ProfileBatch.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>

namespace {

const char SETUP[] = "SETUP";

struct BaudEntry {
    const char* text;
    DWORD code;
};

// In the dialog's order. "500000/1MBd" shares code 56000, which is written as "56000".
constexpr std::array<BaudEntry, 12> BAUD_TABLE{{
    {"9600", 9600},
    {"19200", 19200},
    {"38400", 38400},
    {"56000", 56000},
    {"9600/500KBd", 2150},
    {"19200/500KBd", 4301},
    {"38400/500KBd", 8602},
    {"500000/500KBd", 65312},
    {"9600/1MBd", 1075},
    {"19200/1MBd", 2151},
    {"38400/1MBd", 4302},
    {"500000/1MBd", 56000},
}};

constexpr DWORD DEFAULT_BAUD = 9600;
constexpr DWORD DEFAULT_READ_TIMEOUT = 2;
constexpr DWORD DEFAULT_STX_TIMEOUT = 35000;
constexpr DWORD DEFAULT_ACK_TIMEOUT = 500;
constexpr int HELP_NAME_LENGTH = 30;

// Upper bounds keep every sum of the time-out rule and of the receive deadlines inside
// 32 bits and stop a wild value from turning an exchange into an endless wait.
constexpr DWORD MAX_PORT = 255;
constexpr DWORD MAX_PER_CHARACTER_MS = 1000;
constexpr DWORD MAX_TIMEOUT_MS = 600000;
constexpr DWORD MAX_REPEATS = 20;
constexpr DWORD MAX_BUFFER_SIZE = 1u << 20;

// Decimal text to number as INI readers usually do (leading blanks, sign, digits up to the first
// other character; no digits reads 0), except that a negative number reads 0 rather than
// wrapping to a huge unsigned value, and a value past the range saturates.
DWORD DecimalValue(const char* text)
{
    while (std::isspace(static_cast<unsigned char>(*text)))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    unsigned long long value = 0;
    for (; std::isdigit(static_cast<unsigned char>(*text)); ++text)
        value = std::min<unsigned long long>(value * 10 + unsigned(*text - '0'), 0xFFFFFFFFull);
    return negative ? 0 : DWORD(value);
}

CString ReadText(const char* key, const char* defaultText, const char* iniPath)
{
    char buffer[256] = {};
    GetPrivateProfileString(SETUP, key, defaultText, buffer, sizeof buffer, iniPath);
    return CString(buffer);
}

DWORD ReadNumber(const char* key, const char* defaultText, DWORD minimum, DWORD maximum, const char* iniPath)
{
    return std::clamp(DecimalValue(ReadText(key, defaultText, iniPath)), minimum, maximum);
}

// "help" of the section "LANGUAGE_n", n the chosen language as one digit.
CString ReadHelpFileName(const char* iniPath)
{
    const int count = int(GetPrivateProfileInt("LANGUAGE", "lan_numbers", 0, iniPath));
    int language = int(GetPrivateProfileInt("LANGUAGE", "language", 1, iniPath));
    if (language > count || language < 0 || language > 9)
        language = 1;
    char section[] = "LANGUAGE_1";
    section[sizeof section - 2] = char('0' + language);
    char buffer[HELP_NAME_LENGTH + 1] = {};
    GetPrivateProfileString(section, "help", "HELP_ENG.HLP", buffer, sizeof buffer, iniPath);
    return CString(buffer);
}

void ReadSection(const char* iniPath, PortSettings& s)
{
    s.port = ReadNumber("Port", "1", 0, MAX_PORT, iniPath);
    s.baudCode = BaudCodeFromText(ReadText("Baud", "9600", iniPath));
    s.parity = ReadText("Parity", "EVEN", iniPath) == "NONE" ? 0 : 2;
    s.readTimeout = ReadNumber("ReadTimeout", "2", 0, MAX_PER_CHARACTER_MS, iniPath);
    s.stxTimeout = ReadNumber("STXTimeout", "35000", 0, MAX_TIMEOUT_MS, iniPath);
    s.writeTimeout = ReadNumber("WriteTimeout", "2", 0, MAX_PER_CHARACTER_MS, iniPath);
    s.ackResponseTimeout = ReadNumber("ACKResponseTimeout", "500", 0, MAX_TIMEOUT_MS, iniPath);
    s.repeatCounter = ReadNumber("RepeatCounter", "2", 2, MAX_REPEATS, iniPath);
    s.readBufferSize = ReadNumber("ReadBufferSize", "1650", 10240, MAX_BUFFER_SIZE, iniPath);
    s.writeBufferSize = ReadNumber("WriteBufferSize", "1650", 1650, MAX_BUFFER_SIZE, iniPath);
    s.helpFileName = ReadHelpFileName(iniPath);
    ApplyTimeoutRule(s);
}

bool WriteKey(ProfileBatch& ini, const char* key, const char* value)
{
    return ini.WriteString(SETUP, key, value) != FALSE;
}

bool WriteNumber(ProfileBatch& ini, const char* key, DWORD value)
{
    CString text;
    text.Format("%u", value);
    return WriteKey(ini, key, text);
}

DWORD ReadTotalMultiplier(const PortSettings& s)
{
    return (s.stxTimeout + s.readTimeout * 780 - s.ackResponseTimeout) / 770 + 1;
}

} // namespace

int WriteSetupSection(const char* iniPath, const PortSettings& s)
{
    // All ten keys go to the file in one replace; every key is attempted even after a
    // failure, so one bad write loses no other value.
    ProfileBatch ini(iniPath);
    bool ok = WriteNumber(ini, "Port", s.port);
    ok &= WriteKey(ini, "Baud", BaudTextForCode(s.baudCode));
    ok &= WriteKey(ini, "Parity", s.parity == 0 ? "NONE" : "EVEN");
    ok &= WriteNumber(ini, "ReadTimeout", s.readTimeout);
    ok &= WriteNumber(ini, "STXTimeout", s.stxTimeout);
    ok &= WriteNumber(ini, "WriteTimeout", s.writeTimeout);
    ok &= WriteNumber(ini, "ACKResponseTimeout", s.ackResponseTimeout);
    ok &= WriteNumber(ini, "RepeatCounter", s.repeatCounter);
    ok &= WriteNumber(ini, "ReadBufferSize", s.readBufferSize);
    ok &= WriteNumber(ini, "WriteBufferSize", s.writeBufferSize);
    if (ini.Commit() && ok)
        return 0;
    return ini.Error() != 0 ? ini.Error() : EINVAL;
}

void ApplyTimeoutRule(PortSettings& s)
{
    if (s.stxTimeout <= s.ackResponseTimeout) {
        s.stxTimeout = DEFAULT_STX_TIMEOUT;
        s.ackResponseTimeout = DEFAULT_ACK_TIMEOUT;
    }
    DWORD k = ReadTotalMultiplier(s);
    if (s.ackResponseTimeout <= 10 * k) {
        s.stxTimeout = DEFAULT_STX_TIMEOUT;
        s.ackResponseTimeout = DEFAULT_ACK_TIMEOUT;
        s.readTimeout = DEFAULT_READ_TIMEOUT;
        k = ReadTotalMultiplier(s);
    }
    s.readTotalMultiplier = k;
    s.readTotalConstant = s.ackResponseTimeout - 10 * k;
}

BOOL ReadWriteSetupSection(const char* iniPath, PortSettings& settings, int mode)
{
    switch (mode) {
    case SETUP_SECTION_READ:
        ReadSection(iniPath, settings);
        return TRUE;
    case SETUP_SECTION_WRITE:
        return WriteSetupSection(iniPath, settings) == 0 ? TRUE : FALSE;
    default:
        return FALSE;
    }
}

DWORD BaudCodeFromText(const char* text)
{
    if (!text)
        return DEFAULT_BAUD;
    for (const BaudEntry& entry : BAUD_TABLE) {
        if (std::strcmp(entry.text, text) == 0)
            return entry.code;
    }
    return DEFAULT_BAUD;
}

const char* BaudTextForCode(DWORD code)
{
    // The first text of a code wins, so 56000 is written as "56000".
    for (const BaudEntry& entry : BAUD_TABLE) {
        if (entry.code == code)
            return entry.text;
    }
    return "9600";
}

const std::vector<CString>& SetupBaudTexts()
{
    static const std::vector<CString> texts = [] {
        std::vector<CString> result;
        for (const BaudEntry& entry : BAUD_TABLE)
            result.emplace_back(entry.text);
        return result;
    }();
    return texts;
}

SetupDialogContents InitSetupDialog(const PortSettings& settings)
{
    SetupDialogContents contents;
    contents.portItems = {"COM1", "COM2", "COM3", "COM4"};
    CString portText;
    portText.Format("COM%u", settings.port);
    const auto port = std::find(contents.portItems.begin(), contents.portItems.end(), portText);
    if (port != contents.portItems.end())
        contents.portSelection = int(port - contents.portItems.begin());
    contents.baudItems = SetupBaudTexts();
    const CString baudText = BaudTextForCode(settings.baudCode);
    const auto baud = std::find(contents.baudItems.begin(), contents.baudItems.end(), baudText);
    contents.baudSelection = int(baud - contents.baudItems.begin());
    contents.helpEnabled = !settings.helpFileName.IsEmpty();
    return contents;
}

void ApplySetupDialogSelections(PortSettings& settings, const char* portText, const char* baudText)
{
    if (portText && std::strncmp(portText, "COM", 3) == 0)
        settings.port = std::min(DecimalValue(portText + 3), MAX_PORT);
    if (baudText)
        settings.baudCode = BaudCodeFromText(baudText);
}
