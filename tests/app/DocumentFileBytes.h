#pragma once
// What the device-document tests share: the golden document files (hex text with
// comments), byte comparisons, a new document read from the device, and an application
// that chooses between the simulated device and a port set up in an INI file.
#include "app/DeviceConfigurationRead.h"
#include "device/ProcedureApplication.h"
#include "device/TestIniFile.h"
#include "model/CKVRConfig.h"
#include "model/CZOKConfig.h"
#include "tools/DeviceEmulator.h"
#include "tools/SimulatorAnswerer.h"
#include "model/ArchiveBytes.h"
#include "dialogs/ShippedLanguage.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <functional>
#include <vector>

// The bytes of a golden file in tests/app/golden: hex pairs and "quoted text", with '#'
// starting a comment. A file that cannot be read ends the test: nothing after it would
// mean anything.
inline std::vector<BYTE> GoldenBytes(const std::string& name)
{
    const char* source = std::getenv("TALISO_SOURCE_DIR");
    const std::string path = std::string(source ? source : ".") + "/tests/app/golden/" + name;
    std::ifstream file(path);
    if (!file.good())
        throw std::runtime_error("cannot read " + path);
    std::vector<BYTE> bytes;
    std::string line;
    while (std::getline(file, line)) {
        for (std::size_t i = 0; i < line.size();) {
            const char c = line[i];
            if (c == '#')
                break;
            if (c == '"') {
                const std::size_t end = line.find('"', i + 1);
                for (std::size_t k = i + 1; k < end; ++k)
                    bytes.push_back(BYTE(line[k]));
                i = end + 1;
            } else if (std::isxdigit(static_cast<unsigned char>(c))) {
                bytes.push_back(BYTE(std::stoi(line.substr(i, 2), nullptr, 16)));
                i += 2;
            } else {
                ++i;
            }
        }
    }
    return bytes;
}

// The whole content of a file.
inline std::vector<BYTE> FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Equal byte strings; else where they part, with the bytes around it.
inline ::testing::AssertionResult SameBytes(const std::vector<BYTE>& actual, const std::vector<BYTE>& expected)
{
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
        ++at;
    if (at == actual.size() && at == expected.size())
        return ::testing::AssertionSuccess();
    auto around = [at](const std::vector<BYTE>& bytes) {
        std::string text;
        for (std::size_t k = at > 8 ? at - 8 : 0; k < bytes.size() && k < at + 8; ++k)
            text += FormatText(k == at ? "[%02X] " : "%02X ", bytes[k]);
        return text;
    };
    return ::testing::AssertionFailure() << "sizes " << actual.size() << " and " << expected.size()
                                         << ", first difference at " << at << ": " << around(actual) << "vs "
                                         << around(expected);
}

// Installed while it lives: a simulated device, or the port of an INI file.
class DeviceApplication : public ProcedureApplication {
public:
    DeviceApplication(BOOL simulating, std::string iniPath = "")
        : m_simulating(simulating), m_iniPath(std::move(iniPath))
    {
        m_previous = SetProcedureApplication(this);
    }
    ~DeviceApplication() override { SetProcedureApplication(m_previous); }
    DeviceApplication(const DeviceApplication&) = delete;
    DeviceApplication& operator=(const DeviceApplication&) = delete;

    BOOL IsSimulating() override { return m_simulating; }
    CString GetIniPath() override { return CString(m_iniPath.c_str()); }
    void ShowMessageBarText(const CString& text, BOOL) override
    {
        if (onMessageBarText)
            onMessageBarText(text);
    }

    // Runs whenever a device procedure puts up its status text, that is while it talks
    // to the device.
    std::function<void(const CString&)> onMessageBarText;

private:
    BOOL m_simulating;
    std::string m_iniPath;
    ProcedureApplication* m_previous = nullptr;
};

// Every field's time stamp (the time it was received) at one value.
inline void ClearFieldTimes(CKVRConfig& config)
{
    for (int i = 0; i < config.GetShelterConfigCount(); ++i) {
        for (int kind : {kProtectiveField, kWarningField}) {
            if (CShelter* field = config.GetShelterConfig(i)->GetShelter(kind))
                field->SetTime(CTime(0));
        }
    }
}

inline void ClearFieldTimes(CZOKConfig& config)
{
    for (int kind : {kProtectiveField, kWarningField}) {
        if (CShelter* field = config.GetShelter(kind))
            field->SetTime(CTime(0));
    }
}

// A new document of the family read from the device, the simulated one and the real
// driver on a pseudo-terminal with the emulator answering as the simulator, is saved:
// the file is the one a document holding the simulator's configuration writes. Doc
// makes ReadNewDocument public.
template <class Doc, class Sensor, class Config>
void ExpectNewDocumentSavesTheDevicesConfiguration(BYTE family)
{
    Sensor simulator(1);
    ASSERT_TRUE(simulator.Load(""));
    ASSERT_TRUE(simulator.Open());
    DeviceEmulator emulator(std::make_unique<SimulatorAnswerer>(), family);
    ASSERT_TRUE(emulator.Start());
    TestIniFile ini("[SETUP]\nPort=1\nBaud=38400\nParity=EVEN\n[PORTS]\nCOM1=" + emulator.SlavePath() + "\n");
    const std::filesystem::path saved =
        std::filesystem::temp_directory_path() / ("new-doc-" + std::to_string(::getpid()));
    for (BOOL simulating : {TRUE, FALSE}) {
        SCOPED_TRACE(simulating ? "simulated" : "over the pseudo-terminal");
        DeviceApplication application(simulating, ini.Path());
        Doc doc;
        NewDocumentReading<Config> reading = doc.ReadNewDocument();
        ASSERT_NE(reading.config, nullptr);
        EXPECT_FALSE(reading.deviceName.IsEmpty());
        ClearFieldTimes(*reading.config);
        doc.SetConfiguration(std::move(reading.config), FALSE);
        doc.GetState().SetIdentity(reading.deviceName, reading.deviceType);
        ASSERT_TRUE(doc.OnSaveDocument(saved.c_str()));

        std::unique_ptr<Config> expected = simulator.ReadConfiguration();
        ASSERT_NE(expected, nullptr);
        ClearFieldTimes(*expected);
        Doc reference;
        reference.SetConfiguration(std::move(expected), FALSE);
        reference.GetState().SetIdentity(reading.deviceName, reading.deviceType);
        reference.GetState().m_nSimulatedFile = simulating ? 1 : 0;
        EXPECT_TRUE(SameBytes(FileBytes(saved.string()), StoreBytes(reference)));
    }
    std::filesystem::remove(saved);
}
