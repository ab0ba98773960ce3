#include "device/ProcedureApplication.h"

namespace {
// Stands in for the application object the original framework reaches globally.
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
