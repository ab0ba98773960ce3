#pragma once
// Runs a field shape dialog against the shipped templates and texts: the script reads what
// the dialog shows, types the entries, picks a beam count and presses OK; when OK does not
// close the dialog it records the refusal and the focus, then cancels.
#include "framework/ui/CDialog.h"
#include "framework/ui/DialogDriver.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"
#include "support/LanguageScripts.h"

#include <map>
#include <utility>
#include <vector>

constexpr int IDC_BEAM_COUNT = 2105;
constexpr int IDC_BEAM_COUNT_LABEL = 2106;

struct ShapeRun {
    INT_PTR result = 0;
    std::map<int, CString> shown;  // texts of the edits when the dialog opened
    int shownBeamItem = -2;        // selected beam-count item when the dialog opened
    bool beamComboVisible = false;
    bool beamLabelVisible = false;
    UINT messageId = 0;            // the first refusal, 0 for none
    CString message;
    int focus = 0;
};

struct ShapeEntries {
    std::vector<std::pair<int, const char*>> texts;
    int beamItem = -1; // item to pick, -1 to leave the selection
};

inline ShapeRun RunShapeDialog(CDialog& dialog, const ShapeEntries& entries, const std::vector<int>& shownIds)
{
    ShapeRun run;
    ScriptedUi ui;
    ui.QueueModal([&](CWnd& wnd) {
        DialogDriver driver(wnd);
        for (const int id : shownIds) run.shown[id] = driver.Text(id);
        run.shownBeamItem = driver.Selection(IDC_BEAM_COUNT);
        run.beamComboVisible = driver.IsVisible(IDC_BEAM_COUNT);
        run.beamLabelVisible = driver.IsVisible(IDC_BEAM_COUNT_LABEL);
        for (const auto& [id, text] : entries.texts) driver.SetText(id, text);
        if (entries.beamItem >= 0) driver.Select(IDC_BEAM_COUNT, entries.beamItem);
        driver.Click(IDOK);
        if (dialog.IsEnded()) return;
        run.focus = driver.FocusId();
        driver.Cancel();
    });
    run.result = dialog.DoModal();
    if (!ui.MessageBoxes().empty()) {
        const MessageBoxRecord& box = ui.MessageBoxes().front();
        run.messageId = box.id ? box.id : box.helpId;
        run.message = box.text;
    }
    return run;
}
