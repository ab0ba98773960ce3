#pragma once
// What the transfer tests of both device families share: the emulator on a
// pseudo-terminal answering as the simulator, with a firmware version text of its own in
// the scanner's identification and a command it refuses (NAK), the driver set up for it,
// and the logged requests told as the steps of a road.
#include "DocumentFileBytes.h"
#include "framework/ui/ScriptedUi.h"
#include "shared/SensorTelegram.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// The simulator behind the emulator, shaped for a road.
class ShapingAnswerer : public DeviceAnswerer {
public:
    bool Answer(ConstRequestSpan request, AnswerSpan answer) override
    {
        const BYTE command = request[RequestOffset::Command];
        if (command == m_refused.load())
            return false;
        if (!m_simulator.Answer(request, answer))
            return false;
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_version.empty() && request[RequestOffset::Family] == kFamilyZOK && command == kIdentification) {
            for (std::size_t i = 0; i < kVersionChars; ++i)
                answer[kVersionAt + i] = i < m_version.size() ? BYTE(m_version[i]) : 0;
        }
        return true;
    }

    // The scanner's firmware version text ("03.05"); empty: the simulator's own.
    void SetVersionText(const std::string& text)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_version = text;
    }
    // Every request of the command is refused; 0 refuses nothing.
    void Refuse(BYTE command) { m_refused = command; }

private:
    static constexpr BYTE kIdentification = 0x31;
    static constexpr std::size_t kVersionAt = AnswerOffset::Data;
    static constexpr std::size_t kVersionChars = 7;

    SimulatorAnswerer m_simulator;
    std::atomic<BYTE> m_refused{0};
    std::mutex m_mutex;
    std::string m_version;
};

// A device of the family on a pseudo-terminal, and the program's driver set up for it
// while this lives.
class EmulatedDevice {
public:
    // A short wait for the acknowledgement keeps roads over a silent line quick.
    explicit EmulatedDevice(BYTE family)
        : m_answerer(new ShapingAnswerer), m_emulator(std::unique_ptr<DeviceAnswerer>(m_answerer), family),
          m_started(m_emulator.Start()),
          m_ini("[SETUP]\nPort=1\nBaud=38400\nParity=EVEN\nACKResponseTimeout=100\n[PORTS]\nCOM1=" +
                m_emulator.SlavePath() + "\n"),
          m_application(FALSE, m_ini.Path())
    {
    }

    bool Started() const { return m_started; }
    ShapingAnswerer& Answerer() { return *m_answerer; }
    DeviceEmulator& Emulator() { return m_emulator; }

    // The steps of the requests since the last call (see StepsOf).
    std::vector<std::string> TakeSteps()
    {
        const std::vector<SensorRequest> requests = m_emulator.Requests();
        std::vector<SensorRequest> fresh(requests.begin() + std::ptrdiff_t(m_seen), requests.end());
        m_seen = requests.size();
        return StepsOf(fresh);
    }
    std::size_t RequestCount() const { return m_emulator.Requests().size(); }

    // What a road did, request by request: logins and logouts, the first and second steps
    // of a configuration write, field writes, contours, 0x41 steps and the contour reads
    // of a verification (one step for a run of them). Reads and identifications are left
    // out.
    static std::vector<std::string> StepsOf(const std::vector<SensorRequest>& requests)
    {
        std::vector<std::string> steps;
        for (const SensorRequest& request : requests) {
            const BYTE command = request.Byte(RequestOffset::Command);
            const BYTE first = request.Byte(RequestOffset::Data);
            std::string step;
            switch (command) {
            case 0x20: step = first == 0 ? "login" : first == 0x21 ? "logout" : "mode " + std::to_string(first); break;
            case 0x60: case 0x44: case 0x70: step = "check"; break;
            case 0x61: case 0x47: case 0x71: step = "commit"; break;
            case 0x40: step = "field"; break;
            case 0x43: step = "contour"; break;
            case 0x41: step = "41/" + std::to_string(first); break;
            case 0x30: step = request.Byte(RequestOffset::Data + 1) == 4 ? "marks" : ""; break;
            default: break;
            }
            // A step sent again (by the driver or by Retry) counts once.
            if (!step.empty() && (steps.empty() || steps.back() != step))
                steps.push_back(step);
        }
        return steps;
    }

private:
    ShapingAnswerer* m_answerer;
    DeviceEmulator m_emulator;
    bool m_started;
    TestIniFile m_ini;
    DeviceApplication m_application;
    std::size_t m_seen = 0;
};

// The ids of the message boxes shown (a box shown by text by its help id).
inline std::vector<UINT> PromptIds(const ScriptedUi& ui)
{
    std::vector<UINT> ids;
    for (const MessageBoxRecord& box : ui.MessageBoxes())
        ids.push_back(box.id != 0 ? box.id : box.helpId);
    return ids;
}

inline bool Shown(const std::vector<UINT>& ids, UINT id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

// The configuration the simulated device of the family holds now, field times cleared.
template <class Sensor, class Config>
std::unique_ptr<Config> SimulatedConfiguration()
{
    Sensor sensor(1);
    if (!sensor.Load("") || !sensor.Open())
        return nullptr;
    std::unique_ptr<Config> config = sensor.ReadConfiguration();
    if (config != nullptr)
        ClearFieldTimes(*config);
    return config;
}

// The archive bytes of a configuration, field times cleared; empty for none.
template <class Config>
std::vector<BYTE> BytesOf(const Config* config)
{
    if (config == nullptr)
        return {};
    Config copy;
    copy = *config;
    ClearFieldTimes(copy);
    return StoreBytes(copy);
}
