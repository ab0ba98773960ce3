#include "app/CZOKReport.h"

namespace {

// The text of the value's entry, nothing for a value without one.
template <std::size_t N>
UINT ChoiceText(int value, const UINT (&ids)[N])
{
    return value >= 0 && std::size_t(value) < N ? ids[value] : 0;
}

} // namespace

int CZOKReport::Build(const CZOKConfig& config, int kind, const CString& deviceName, const CString& identity)
{
    Title(Text(kind == kPrintDeviceReport ? 1064 : 1230));
    Line(Text(1065, deviceName.c_str()));
    Line(Text(1066, identity.c_str()));
    Line(Text(1060, config.GetSensorType().GetModelName().c_str()));
    Line(Text(1011, config.GetProtectiveName().c_str()));
    Line(Text(1012, config.GetWarningName().c_str()));
    if (const UINT id = ChoiceText(config.GetOption4(), {1013, 1014})) Line(Text(id));
    Line(config.GetOption1() == 0 ? Text(1016) : Text(1015, int(config.GetOption1())));
    const int scans = config.GetScanCount();
    Line(Text(1017, scans, 40 * scans));
    const CModeDelay& restart = config.GetModeDelay();
    switch (restart.GetMode()) {
    case 0: Line(Text(1217)); break;
    case 1: Line(Text(1215, int(restart.GetDelay()))); break;
    case 2: Line(Text(1216)); break;
    default: break;
    }
    if (config.GetOption3() == 1) Line(Text(1018));
    else if (config.GetOption3() == 0) Line(Text(1019));
    if (const UINT id = ChoiceText(config.GetOption5(), {1045, 1046, 1047})) Line(Text(id));
    if (const UINT id = ChoiceText(config.GetSensorType().GetVariant(), {1036, 1037})) Line(Text(id));
    if (kind == kPrintDeviceReport || kind == kPrintPlain) {
        Sub1(Text(1031, ""));
        FieldBlock(config.GetShelter(kProtectiveField));
        FieldBlock(config.GetShelter(kWarningField));
    }
    return 1;
}
