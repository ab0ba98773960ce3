#include "app/CKVRReport.h"

#include "framework/core/Resources.h"

#include <initializer_list>
#include <utility>

namespace {

// The letters of the set bits, joined by ", ".
CString JoinedLetters(BYTE bits, std::initializer_list<std::pair<BYTE, const char*>> letters)
{
    CString list;
    for (const auto& [bit, letter] : letters) {
        if ((bits & bit) == 0) continue;
        if (!list.IsEmpty()) list += ", ";
        list += letter;
    }
    return list;
}

const char* InputState(int state)
{
    switch (state) {
    case 1: return "0";
    case 2: return "1";
    default: return "x";
    }
}

CString InputPart(const char* name, int state)
{
    return CString(name) + "(" + InputState(state) + ")";
}

CString SpeedText(int value)
{
    CString text;
    text.Format("%dcm/s", value);
    return text;
}

// The extra setting of an output; these texts name the output by %1.
CString OssdText(BYTE extra, const char* output)
{
    CString text;
    AfxFormatString1(text, extra == 0 ? 1039 : 1038, output);
    return text;
}

} // namespace

int CKVRReport::Build(const CKVRConfig& config, int kind, const CString& deviceName, const CString& identity)
{
    Title(Text(kind == kPrintDeviceReport ? 1005 : 1231));
    Settings(config, deviceName, identity);
    Scanners(config);
    if (kind == kPrintDeviceReport || kind == kPrintPlain) FieldPairs(config);
    Cases(config);
    return 1;
}

void CKVRReport::Settings(const CKVRConfig& config, const CString& deviceName, const CString& identity)
{
    Sub1(Text(1232));
    Line(Text(1065, deviceName.c_str()));
    Line(Text(1066, identity.c_str()));
    Line(config.GetValueV2() == 0 ? Text(1016) : Text(1015, int(config.GetValueV2())));
    switch (config.GetSensorType().GetVariant()) {
    case 0: Line(Text(1036)); break;
    case 1: Line(Text(1037)); break;
    default: break;
    }
    ControlInputs(config);
    Outputs(config);
    if (config.GetOptionV4() == 1) Line(Text(1018));
    else if (config.GetOptionV4() == 0) Line(Text(1019));
}

void CKVRReport::ControlInputs(const CKVRConfig& config)
{
    const BYTE used = config.GetUsedFlags();
    if ((used & kUsesSpeed) == 0) {
        Line(Text(1022));
        const CString inputs = JoinedLetters(used, {{0x01, "A"}, {0x02, "B"}, {0x04, "C"}, {0x08, "D"}});
        Line(inputs.IsEmpty() ? Text(1027) : Text(1026, inputs.c_str()));
        return;
    }
    Line(Text(1021));
    Line(Text(1023, int(config.GetSpeedScale1())));
    Line(Text(1024, int(config.GetSpeedScale2())));
    Line(Text(1025, int(config.GetValueV1())));
    Line(Text(1026, JoinedLetters(used, {{0x01, "A"}, {0x02, "B"}, {kUsesSpeed, "INK"}}).c_str()));
}

void CKVRReport::Outputs(const CKVRConfig& config)
{
    const BYTE used = config.GetUsedFlags();
    const CString outputs = JoinedLetters(used, {{kUsesOssdA, "A"}, {kUsesOssdB, "B"}});
    Line(outputs.IsEmpty() ? Text(1029) : Text(1028, outputs.c_str()));
    if (used & kUsesOssdA) Line(OssdText(config.GetOssdA(), "OSSD A"));
    if (used & kUsesOssdB) Line(OssdText(config.GetOssdB(), "OSSD B"));
    const std::pair<BYTE, std::pair<const CModeDelay*, const char*>> restarts[] = {
        {kUsesOssdA, {&config.GetModeDelay1(), "A"}}, {kUsesOssdB, {&config.GetModeDelay2(), "B"}}};
    for (const auto& [bit, restart] : restarts) {
        if ((used & bit) == 0) continue;
        const auto& [pair, name] = restart;
        switch (pair->GetMode()) {
        case 0: Line(Text(1220, name)); break;
        case 1: Line(Text(1218, name, int(pair->GetDelay()))); break;
        case 2: Line(Text(1219, name)); break;
        default: break;
        }
    }
}

void CKVRReport::Scanners(const CKVRConfig& config)
{
    Title(Text(1233));
    const CString model = config.GetSensorType().GetModelName();
    for (int i = 0; i < config.GetSensorConfigCount(); ++i) {
        Sub1(Text(1030, i + 1));
        Line(Text(1011, config.GetSensorConfigName(i).c_str()));
        Line(Text(1060, model.c_str()));
    }
}

void CKVRReport::FieldPairs(const CKVRConfig& config)
{
    Title(Text(1234));
    for (int i = 0; i < config.GetShelterConfigCount(); ++i) {
        CString number;
        number.Format("%d", i + 1);
        Sub1(Text(1031, number.c_str()));
        Line(Text(1012, config.GetShelterConfigName(i).c_str()));
        if (const CKVRShelterConfig* pair = config.GetShelterConfig(i)) {
            FieldBlock(pair->GetShelter(kProtectiveField));
            FieldBlock(pair->GetShelter(kWarningField));
        }
    }
}

void CKVRReport::Cases(const CKVRConfig& config)
{
    Title(Text(1006));
    for (int i = 0; i < config.GetControlConfigCount(); ++i) {
        if (const CKVRControlConfig* control = config.GetControlConfig(i)) Case(config, *control, i);
    }
}

void CKVRReport::Case(const CKVRConfig& config, const CKVRControlConfig& control, int index)
{
    Sub1(Text(1032, index + 1));
    Line(Text(1033, config.GetControlConfigName(index).c_str()));
    const CString unknown = Text(1067);
    const int sensor = control.GetSensorIndex();
    Line(Text(1011, (sensor == -1 ? unknown : config.GetSensorConfigName(sensor)).c_str()));
    const int pair = control.GetShelterIndex();
    Line(Text(1012, (pair == -1 ? unknown : config.GetShelterConfigName(pair)).c_str()));

    CString inputs = InputPart("A", control.GetInputState(1)) + ", " + InputPart("B", control.GetInputState(2));
    if ((config.GetUsedFlags() & kUsesSpeed) != 0 && control.GetSpeed().IsSet())
        inputs += ", " + Text(1050, SpeedText(control.GetSpeed().GetLow()).c_str(),
                              SpeedText(control.GetSpeed().GetHigh()).c_str());
    else
        inputs += ", " + InputPart("C", control.GetInputState(3)) + ", " + InputPart("D", control.GetInputState(4));
    Line(Text(1034, inputs.c_str()));

    if (control.GetOutputA() != 0 || control.GetOutputB() != 0) {
        const BYTE outputs = BYTE((control.GetOutputA() != 0 ? 1 : 0) | (control.GetOutputB() != 0 ? 2 : 0));
        Line(Text(1035, JoinedLetters(outputs, {{1, "A"}, {2, "B"}}).c_str()));
    }
    const int scans = control.GetScanCount();
    Line(Text(1017, scans, 40 * scans + 110));
    switch (control.GetFollowCount()) {
    case 0: Line(Text(1061)); break;
    case 1: Line(Text(1062, control.GetFollow1() + 1)); break;
    case 2: Line(Text(1063, control.GetFollow1() + 1, control.GetFollow2() + 1)); break;
    default: Line(CString()); break;
    }
}
