#include "device/ProcedureApplication.h"

namespace {
// The one application the procedures report to; installed at start-up, replaced by tests.
ProcedureApplication* g_application = nullptr;
} // namespace

ProcedureApplication* GetProcedureApplication()
{
    return g_application;
}

ProcedureApplication* SetProcedureApplication(ProcedureApplication* application)
{
    ProcedureApplication* previous = g_application;
    g_application = application;
    return previous;
}
