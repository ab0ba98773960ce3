#pragma once
// A fake device line that records every request and answers from a queue, and the
// language texts the diagnosis library reads, for the tests of the library.
#include "diagnose/DiagnoseEntry.h"
#include "diagnose/internal/DiagnoseState.h"
#include "framework/core/Library.h"
#include "framework/core/Resources.h"
#include "shared/SensorTelegram.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

class FakeLine : public DiagnoseLine {
public:
    // An answer for the next request; nullopt makes that exchange fail.
    void Queue(std::optional<SensorAnswer> answer) { m_answers.push_back(std::move(answer)); }
    static SensorAnswer Answer(BYTE command, BYTE status = 0)
    {
        SensorAnswer answer;
        answer.SetByte(AnswerOffset::Command, command);
        answer.SetByte(AnswerOffset::Data, status);
        return answer;
    }

    bool Telegram(const BYTE* request, BYTE* answer) override
    {
        SensorRequest sent;
        std::copy(request, request + kRequestRecordSize, sent.data());
        requests.push_back(sent);
        if (m_answers.empty() || !m_answers.front()) {
            if (!m_answers.empty())
                m_answers.pop_front();
            return false;
        }
        std::copy(m_answers.front()->data(), m_answers.front()->data() + kAnswerRecordSize, answer);
        m_answers.pop_front();
        return true;
    }
    CString DeviceText(int textClass, int code) override
    {
        if (textClass == 18 && code == 0)
            return "V=%s N=%s";
        if (textClass == 64 && code == 0)
            return " %u d %u h %u m %u s";
        return CString(("T" + std::to_string(textClass) + ":" + std::to_string(code)).c_str());
    }
    CString TakeLastError(int) override
    {
        ++errorFetches;
        return "driver reason";
    }
    int Setup(HWND) override { return 1; }

    std::vector<SensorRequest> requests;
    int errorFetches = 0;

private:
    std::deque<std::optional<SensorAnswer>> m_answers;
};

// The shipped English texts of the library (or a script of its own) as the library's
// language library while the object lives.
class DiagnoseTexts {
public:
    explicit DiagnoseTexts(const std::string& script = ShippedScript())
    {
        std::string error;
        m_module = CreateResourceModule("diagnose-test.rc", script, nullptr, error);
        EXPECT_NE(m_module, nullptr) << error;
        m_previous = TheDiagnoseState().resources;
        SetResourceHandle(m_module);
    }
    ~DiagnoseTexts()
    {
        SetResourceHandle(m_previous);
        if (m_module)
            FreeLibrary(m_module);
    }
    DiagnoseTexts(const DiagnoseTexts&) = delete;
    DiagnoseTexts& operator=(const DiagnoseTexts&) = delete;

    static std::string ShippedScript()
    {
        const char* source = std::getenv("TALISO_SOURCE_DIR");
        std::ifstream file(std::string(source ? source : ".") + "/language/diagnose.rc");
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }
    // Every id in ids reads "<id>" followed by its inserts as "[%1]"...
    static std::string MarkerScript(const std::vector<std::pair<int, int>>& idsWithInserts)
    {
        std::string script = "STRINGTABLE\nBEGIN\n";
        for (const auto& [id, inserts] : idsWithInserts) {
            script += "    " + std::to_string(id) + " \"<" + std::to_string(id);
            for (int i = 1; i <= inserts; ++i)
                script += " %" + std::to_string(i);
            script += ">\"\n";
        }
        return script + "END\n";
    }

private:
    HINSTANCE m_module = nullptr;
    HINSTANCE m_previous = nullptr;
};

// Address, family and line of the library for one test.
class LibraryState {
public:
    LibraryState(DiagnoseLine& line, BYTE address, BYTE family) : m_saved(TheDiagnoseState()), m_line(line)
    {
        TheDiagnoseState().address = address;
        TheDiagnoseState().family = family;
    }
    ~LibraryState()
    {
        TheDiagnoseState().address = m_saved.address;
        TheDiagnoseState().family = m_saved.family;
    }
    LibraryState(const LibraryState&) = delete;
    LibraryState& operator=(const LibraryState&) = delete;

private:
    DiagnoseState m_saved;
    ScopedDiagnoseLine m_line;
};
