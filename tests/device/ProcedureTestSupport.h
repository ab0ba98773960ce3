#pragma once
// What the procedure tests share: an application that records the message bar, the
// language library as the resource module, and device objects that record every request
// and answer from a script or as an accepting scanner would.
#include "RecordingSensor.h"
#include "TestIniFile.h"
#include "device/CKVRSensor.h"
#include "device/CZOKSensor.h"
#include "device/ProcedureApplication.h"
#include "framework/core/Library.h"
#include "framework/core/Resources.h"
#include "framework/ui/ScriptedUi.h"

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

class FakeProcedureApplication : public ProcedureApplication {
public:
    explicit FakeProcedureApplication(BOOL simulating = TRUE, CString iniPath = CString())
        : m_simulating(simulating), m_iniPath(std::move(iniPath))
    {
        m_previous = SetProcedureApplication(this);
    }
    ~FakeProcedureApplication() override { SetProcedureApplication(m_previous); }
    FakeProcedureApplication(const FakeProcedureApplication&) = delete;
    FakeProcedureApplication& operator=(const FakeProcedureApplication&) = delete;

    BOOL IsSimulating() override { return m_simulating; }
    CString GetIniPath() override { return m_iniPath; }
    void ShowMessageBarText(const CString& text, BOOL repaintNow) override
    {
        texts.push_back(text);
        repaints.push_back(repaintNow);
    }

    std::vector<CString> texts;
    std::vector<BOOL> repaints;

private:
    BOOL m_simulating;
    CString m_iniPath;
    ProcedureApplication* m_previous = nullptr;
};

// The shipped English texts as the current resource module while the object lives.
class EnglishTexts {
public:
    EnglishTexts() : m_module(LoadLibrary("LAN_ENG.DLL")), m_previous(AfxGetResourceHandle())
    {
        if (m_module) AfxSetResourceHandle(m_module);
    }
    ~EnglishTexts()
    {
        if (!m_module) return;
        AfxSetResourceHandle(m_previous);
        FreeLibrary(m_module);
    }
    EnglishTexts(const EnglishTexts&) = delete;
    EnglishTexts& operator=(const EnglishTexts&) = delete;
    bool Loaded() const { return m_module != nullptr; }

private:
    HMODULE m_module;
    HINSTANCE m_previous;
};

inline CString Text(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}

// Retry loops only end by Cancel: a test that went wrong stops with this instead of
// hanging. Not a std::exception, which the device objects catch themselves.
struct EndlessRetryLoop {};
constexpr std::size_t kTelegramLimit = 500;

// A device object of a family (CZOKSensor or CKVRSensor), simulated and open, whose telegrams answer from a
// script: one entry per telegram, an answer or nullopt for a failed exchange; with the
// script empty, every exchange fails.
template <class Base>
class ScriptedDevice : public Base {
public:
    ScriptedDevice()
    {
        this->SetSimulated(1);
        this->Load(m_ini.Path());
        this->Open();
    }

    BOOL Telegram(RequestSpan request, AnswerSpan answer) override
    {
        request[RequestOffset::Family] = this->GetFamily();
        this->SetLastStatus(0);
        SensorRequest copy;
        std::copy(request.begin(), request.end(), copy.Bytes().begin());
        requests.push_back(copy);
        if (requests.size() > kTelegramLimit) throw EndlessRetryLoop{};
        std::optional<SensorAnswer> next = Answer(copy);
        if (next) std::copy(next->Bytes().begin(), next->Bytes().end(), answer.begin());
        return next.has_value();
    }
    int GetSensorType(BYTE) override { return typeCode; }

    std::vector<BYTE> Commands() const
    {
        std::vector<BYTE> commands;
        for (const SensorRequest& request : requests) commands.push_back(request.Command());
        return commands;
    }

    std::vector<SensorRequest> requests;
    std::deque<std::optional<SensorAnswer>> script;
    int typeCode = kDeviceTypeZOK4;

protected:
    virtual std::optional<SensorAnswer> Answer(const SensorRequest&)
    {
        if (script.empty()) return std::nullopt;
        std::optional<SensorAnswer> next = script.front();
        script.pop_front();
        return next;
    }

private:
    TestIniFile m_ini{"[SETUP]\nPort=9\nBaud=19200\n"};
};

using ScriptedZOKSensor = ScriptedDevice<CZOKSensor>;
using ScriptedKVRSensor = ScriptedDevice<CKVRSensor>;

// A scanner that accepts every setting, field and contour (a two-step first step with
// status 2, the rest with status 1, values echoed), reports the firmware text, and can
// be told to fail a command a number of times or to answer it with another status.
class AcceptingZOKSensor : public ScriptedDevice<CZOKSensor> {
public:
    std::string firmware = "03.20   ";
    std::map<BYTE, int> failures;      // command -> exchanges that fail before it answers
    std::map<BYTE, BYTE> statuses;     // command -> status instead of the accepting one

protected:
    std::optional<SensorAnswer> Answer(const SensorRequest& request) override
    {
        const BYTE command = request.Command();
        if (auto failing = failures.find(command); failing != failures.end() && failing->second > 0) {
            --failing->second;
            return std::nullopt;
        }
        SensorAnswer answer = DeviceAnswer(AnswerCode(request), AcceptingStatus(request));
        if (auto status = statuses.find(command); status != statuses.end())
            answer.SetByte(AnswerOffset::Data, status->second);
        answer.SetByte(AnswerOffset::Data + 1, request.Byte(RequestOffset::Data));
        if (command == 0x31) PutFirmware(answer);
        if (command == 0x40) EchoField(request, answer);
        return answer;
    }

private:
    static BYTE AnswerCode(const SensorRequest& request)
    {
        static const std::map<BYTE, BYTE> paired = {{0x47, 0xC4}, {0x61, 0xE0}, {0x63, 0xE4},
                                                    {0x64, 0xE4}, {0x6A, 0xE9}};
        const BYTE command = request.Command();
        if (command == 0x41 && request.Byte(RequestOffset::Data) == 3) return 0xC0;
        const auto found = paired.find(command);
        return found != paired.end() ? found->second : BYTE(command | 0x80);
    }
    static BYTE AcceptingStatus(const SensorRequest& request)
    {
        switch (request.Command()) {
        case 0x44:
        case 0x60:
        case 0x63:
        case 0x69: return 2;
        case 0x41: {
            static const BYTE bySubCode[] = {0, 3, 1, 1};
            const BYTE sub = request.Byte(RequestOffset::Data);
            return sub < 4 ? bySubCode[sub] : 0;
        }
        default: return 1;
        }
    }
    void PutFirmware(SensorAnswer& answer) const
    {
        for (std::size_t i = 0; i < 8; ++i)
            answer.SetByte(AnswerOffset::Data + i, i < firmware.size() ? BYTE(firmware[i]) : BYTE(' '));
    }
    // Shape code at 20, the field's words from 27 as the request held them from 26.
    static void EchoField(const SensorRequest& request, SensorAnswer& answer)
    {
        answer.SetByte(20, request.Byte(19));
        for (std::size_t i = 26; i + 1 < kRequestRecordSize; ++i) answer.SetByte(i + 1, request.Byte(i));
    }
};
