#include "dialogs/ProgramVersion.h"

namespace {
constexpr int kMajorVersion = 3;
constexpr const char* kMinorVersion = "61";
constexpr const char* kBuildLabel = "";
} // namespace

CString GetProgramVersion()
{
    CString text;
    text.Format("%02d.%2s", kMajorVersion, kMinorVersion);
    return text;
}

CString GetProgramBuildText()
{
    CString text;
    text.Format("%s", kBuildLabel);
    return text;
}
