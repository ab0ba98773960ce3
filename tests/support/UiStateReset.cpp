// Linked into the test binaries of the user interface layer: after every test, the event
// loop's state goes back to that of a fresh process.
#include "support/ProcessStateReset.h"

namespace {

[[maybe_unused]] const bool g_installed = InstallProcessStateReset();

} // namespace
