#pragma once
// What the mode tests of both device documents share: the real driver on a
// pseudo-terminal with the emulator answering as the simulator, the requests it took off
// the line in short form, a view that runs the documents' follow-ups, and a clock for the
// end of a teach-in that never waits.
#include "app/CTalisoView.h"
#include "DocumentFileBytes.h"
#include "ViewTestSupport.h"
#include "app/CDeviceDoc.h"
#include "app/CKVRDoc.h"
#include "app/CKVRView.h"
#include "app/CZOKDoc.h"
#include "app/CZOKView.h"
#include "device/CKVRSensor.h"
#include "device/CZOKSensor.h"
#include "device/dialogs/CLoginDialog.h"
#include "framework/ui/MessagePump.h"
#include "framework/ui/ScriptedUi.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace modetest {

// A request as "command" or "command.value": 0x20 with its mode byte, 0x30 with the kind
// of values, 0x41 with its sub-code, 0x46 with its step.
inline std::string Short(const SensorRequest& request)
{
    const BYTE command = request.Command();
    char text[16];
    switch (command) {
    case 0x30: std::snprintf(text, sizeof text, "30.%d", request.Byte(10)); break;
    case 0x20:
    case 0x41: std::snprintf(text, sizeof text, "%02X.%d", command, request.Byte(RequestOffset::Data)); break;
    case 0x46: std::snprintf(text, sizeof text, "%02X.%d", command, request.Byte(20)); break;
    default: std::snprintf(text, sizeof text, "%02X", command); break;
    }
    return text;
}

// The device behind the documents: the emulator, set up in the port INI the application
// names, answering as the simulated device of the family (0 ZOK, 1 KVR) unless another
// answerer is given.
class DeviceBench {
public:
    explicit DeviceBench(BYTE family, std::unique_ptr<DeviceAnswerer> answerer = nullptr)
        : emulator(answerer != nullptr ? std::move(answerer) : std::make_unique<SimulatorAnswerer>(), family)
    {
        started = emulator.Start();
        ini = std::make_unique<TestIniFile>("[SETUP]\nPort=1\nBaud=38400\nParity=EVEN\n[PORTS]\nCOM1=" +
                                            emulator.SlavePath() + "\n");
        application = std::make_unique<DeviceApplication>(FALSE, ini->Path());
    }

    // The requests since the last call, in short form.
    std::vector<std::string> Taken()
    {
        const std::vector<SensorRequest> all = emulator.Requests();
        std::vector<std::string> shortForms;
        for (std::size_t i = m_seen; i < all.size(); ++i)
            shortForms.push_back(Short(all[i]));
        m_seen = all.size();
        return shortForms;
    }
    // Only the requests that matter to a road: no identification and type reads.
    std::vector<std::string> Steps()
    {
        std::vector<std::string> steps;
        for (const std::string& request : Taken()) {
            if (request != "31" && request != "38")
                steps.push_back(request);
        }
        return steps;
    }

    DeviceEmulator emulator;
    bool started = false;
    std::unique_ptr<TestIniFile> ini;
    std::unique_ptr<DeviceApplication> application;

private:
    std::size_t m_seen = 0;
};

// A clock that runs only when slept on.
class FakeTeachClock {
public:
    TeachClock Clock()
    {
        return {[this] { return m_now; }, [this](std::chrono::milliseconds pause) {
                    m_now += pause;
                    m_slept += pause;
                }};
    }
    std::chrono::milliseconds Slept() const { return m_slept; }
    void Advance(std::chrono::milliseconds step) { m_now += step; }

private:
    std::chrono::steady_clock::time_point m_now{std::chrono::hours(1)};
    std::chrono::milliseconds m_slept{0};
};

// Runs the follow-ups the documents posted to their views.
inline void RunFollowUps()
{
    for (int i = 0; i < 5; ++i)
        AfxPumpPendingMessages();
}

// The two families for ModeFixture.
struct KVRFamily {
    using Doc = CKVRDoc;
    using View = CKVRView;
    using Sensor = CKVRSensor;
    using Config = CKVRConfig;
    static constexpr BYTE kFamily = 1;
    // Live monitoring's start: the operating mode, then the configuration's reads.
    static constexpr const char* kMonitorStart = "20.37 45 45 39";
};

struct ZOKFamily {
    using Doc = CZOKDoc;
    using View = CZOKView;
    using Sensor = CZOKSensor;
    using Config = CZOKConfig;
    static constexpr BYTE kFamily = 0;
    static constexpr const char* kMonitorStart = "20.33 45 45";
};

// The device's answerer a family's Traits may bring (MakeAnswerer); else the simulator.
template <class Traits>
std::unique_ptr<DeviceAnswerer> AnswererOf()
{
    if constexpr (requires { Traits::MakeAnswerer(); })
        return Traits::MakeAnswerer();
    else
        return nullptr;
}

// A document of the family on its view, the device behind it; Traits names Doc, View,
// Sensor, Config and the family byte.
template <class Traits>
class ModeFixture : public ::testing::Test {
protected:
    class Doc : public Traits::Doc {
    public:
        Doc() { this->m_bAutoDelete = FALSE; }
    };

    static std::unique_ptr<typename Traits::Config> SimulatorConfiguration()
    {
        typename Traits::Sensor simulator(1);
        simulator.Load("");
        simulator.Open();
        return simulator.ReadConfiguration();
    }

    void SetUp() override
    {
        ASSERT_TRUE(texts.Loaded()) << texts.Error();
        ASSERT_TRUE(bench.started);
        theLoginDialog.SetLevel(1);
        doc.SetConfiguration(SimulatorConfiguration(), FALSE);
        ASSERT_NE(doc.GetConfiguration(), nullptr);
        doc.SetTeachClock(clock.Clock());
        bench.Taken();
    }
    void TearDown() override
    {
        if (doc.GetMode() != kModeNone)
            doc.AbortActiveMode();
        theLoginDialog.SetLevel(CLoginDialog::kStandardLevel);
    }

    ShippedLanguage texts;
    viewtest::SettingsScope settings;
    DeviceBench bench{Traits::kFamily, AnswererOf<Traits>()};
    ScriptedUi ui;
    FakeTeachClock clock;
    Doc doc;
    viewtest::ViewWindow<typename Traits::View> window{doc, 200, 200};
};

inline std::string Joined(const std::vector<std::string>& parts)
{
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : " ") + part;
    return text;
}

} // namespace modetest
