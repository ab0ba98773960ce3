#pragma once
// Keeps the user interface alive while a long loop runs on its thread (a device loop that
// polls until the user presses Escape, a print job with its Cancel button): each Pump()
// runs the events waiting at that moment, so windows repaint, timers fire and posted
// messages arrive, and the loop can ask whether Escape was pressed meanwhile.
//
// With HoldBackInput, clicks, keys and close requests aimed at the windows that were
// usable when the pump was made are dropped while it pumps (a modal dialog opened from a
// pumped message still gets its input), so the user cannot start another command in the
// middle of the loop. Escape is noted all the same.
#include "framework/core/WinTypes.h"

#include <memory>

class CMessagePump {
public:
    enum class Input { Deliver, HoldBackInput };

    explicit CMessagePump(Input input = Input::HoldBackInput);
    ~CMessagePump();
    CMessagePump(const CMessagePump&) = delete;
    CMessagePump& operator=(const CMessagePump&) = delete;

    // Runs the events that are waiting now and returns; FALSE once the application has
    // been asked to quit (the loop should then end).
    BOOL Pump();

    // Pumps, then tells whether Escape was pressed since the pump was made or since
    // ClearEscape, or is held down now (a scripted key state counts).
    BOOL EscapePressed();
    // Forgets an earlier Escape press.
    void ClearEscape();

private:
    class Watcher;
    std::unique_ptr<Watcher> m_watcher;
};

// One pump on the spot, input delivered: for callers that only need the windows painted
// and the queue run. FALSE once the application has been asked to quit.
BOOL AfxPumpPendingMessages();
