// What only the ZOK document's modes do: live monitoring ends at the first tick that
// brings no result.
#include "DeviceModesSupport.h"
#include "app/CZOKDoc.h"
#include "app/CZOKView.h"
#include "device/CZOKSensor.h"

namespace {

using namespace modetest;

using ZOKDocModes = ModeFixture<ZOKFamily>;

TEST_F(ZOKDocModes, LiveMonitoringEndsAtTheFirstTickWithoutAResult)
{
    struct Case {
        int scanMode;
        const char* tick;
        int modeAfter;
    };
    const Case cases[] = {{0, "30.1", kModeMonitor}, {1, "", kModeNone}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scanMode);
        GetTalisoSetup().m_nScanMode = c.scanMode;
        doc.SetMode(kModeMonitor);
        ASSERT_EQ(doc.GetMode(), kModeMonitor);
        EXPECT_TRUE(doc.IsDeviceConfigurationShown());
        bench.Steps();
        doc.TickMode(kModeMonitor);
        EXPECT_EQ(Joined(bench.Steps()), c.tick);
        EXPECT_EQ(doc.GetMode(), c.modeAfter);
        doc.AbortActiveMode();
        EXPECT_FALSE(doc.IsDeviceConfigurationShown());
    }
}

} // namespace
