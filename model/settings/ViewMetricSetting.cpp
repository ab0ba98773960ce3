#include "model/settings/ViewMetricSetting.h"

#include "app/settings/CTalisoSetup.h"
#include "framework/core/Profile.h"
#include "framework/ui/CWinApp.h"

namespace {
constexpr const char* kSection = "Settings";
constexpr const char* kViewMetricKey = "ViewMetric";
constexpr int kMetricByDefault = 1;
} // namespace

int ReadViewMetric()
{
    if (const CTalisoSetup& setup = GetTalisoSetup(); setup.IsLoaded()) return setup.m_bViewMetric;
    const CWinApp* app = AfxGetApp();
    if (app == nullptr || *app->m_pszProfileName == '\0') return kMetricByDefault;
    return int(GetPrivateProfileInt(kSection, kViewMetricKey, kMetricByDefault, app->m_pszProfileName));
}

BOOL IsInchDisplay() { return ReadViewMetric() == 0; }
