// Linked into the test binaries that hold the whole program: after every test, the
// program's process-wide objects go back to their state at start-up, and a modal window
// that nobody scripted fails the test instead of waiting.
#include "app/settings/CTalisoSetup.h"
#include "device/dialogs/CLoginDialog.h"
#include "support/ProcessStateReset.h"

namespace {

void ResetProgramState()
{
    GetTalisoSetup().Unload();
    theLoginDialog.SetApplication(nullptr);
    theLoginDialog.SetLevel(0);
}

[[maybe_unused]] const bool g_installed = InstallProcessStateReset(ResetProgramState);

} // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallUnscriptedModalGuard)
