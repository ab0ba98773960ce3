#pragma once
// Runs a field's Edit against the shipped templates and texts: the script fills the
// dialog's edits, presses OK and, when OK does not close the dialog, records what the
// user was told and where the focus went, then cancels.
#include "support/LanguageScripts.h"
#include "framework/ui/CDialog.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "model/CShelter.h"

#include <utility>
#include <vector>

struct EditOutcome {
    bool confirmed = false;  // Edit returned TRUE
    std::vector<std::pair<int, CString>> shown; // control texts when the dialog opened
    UINT messageId = 0;      // string id of the first refusal, 0 for none
    CString message;         // its text
    int focus = 0;           // control with the focus after the refusal
};

// The field's Edit with the given texts typed into the controls, then OK.
inline EditOutcome RunEdit(CShelter& shelter, BOOL inch, const std::vector<std::pair<int, const char*>>& entries,
                           const std::vector<int>& shownIds)
{
    EditOutcome outcome;
    ScriptedUi ui;
    ui.QueueModal([&](CWnd& dialog) {
        DialogDriver driver(dialog);
        for (const int id : shownIds) outcome.shown.emplace_back(id, driver.Text(id));
        for (const auto& [id, text] : entries) driver.SetText(id, text);
        driver.Click(IDOK);
        if (static_cast<CDialog&>(dialog).IsEnded()) return;
        outcome.focus = driver.FocusId();
        driver.Cancel();
    });
    outcome.confirmed = shelter.Edit(nullptr, 0, inch, nullptr) != FALSE;
    if (!ui.MessageBoxes().empty()) {
        const MessageBoxRecord& box = ui.MessageBoxes().front();
        outcome.messageId = box.id ? box.id : box.helpId;
        outcome.message = box.text;
    }
    return outcome;
}
