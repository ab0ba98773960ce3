#pragma once
// What the diagnosis dialog is made of: its template, its actions and how one runs.
#include "outside/dravdlg/DravDlg.h"

#include <span>
#include <string>

// Template and control ids of the diagnosis dialog in the language library.
constexpr UINT IDD_DRAV_DIALOG = 230;
constexpr int IDC_DRAV_REQUESTS = 2400;
constexpr int IDC_DRAV_RUN = 2401;
constexpr int IDC_DRAV_SETUP = 2402;
constexpr int IDC_DRAV_MODE = 2403;
constexpr int IDC_DRAV_EDIT_RESULT = 2404;
constexpr int IDC_DRAV_ANSWER = 2405;

// One action the dialog offers.
struct DravRequestKind {
    int kind;
    int subKind;
    const char* label;
    bool hasParameters;
};
std::span<const DravRequestKind> DravRequestKinds();

// What one action brought.
struct DravRequestOutcome {
    bool sent = false;   // false: the parameter dialog was cancelled
    int returned = 0;    // RequestCallback's value for the request itself
    int result = 0;      // the record's Result
    std::string text;    // the answer text
    bool cut = false;    // the answer was longer than the dialog could take, even asked again
};

// Runs one action as the dialog does: the parameter dialog first when the action has
// one, then the request with the same block, which is freed afterwards. An answer longer
// than the buffer is asked again with the size the library names. The password
// of info serves as the access code of kind 11, sub-kind 20.
DravRequestOutcome DravRunRequest(const DIALOGINFOSTRUCT& info, HWND parent, const DravRequestKind& action);

HINSTANCE DravDlgResourceHandle();
