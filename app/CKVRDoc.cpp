#include "app/CKVRDoc.h"

#include "app/CKVRReport.h"
#include "app/CKVRDocWizards.h"
#include "app/CSelectorComboBox.h"
#include "app/CTalisoApp.h"
#include "app/settings/CTalisoSetup.h"
#include "app/DeviceConfigurationRead.h"
#include "app/DeviceDocCombos.h"
#include "device/CKVRSensor.h"
#include "device/dialogs/CLoginDialog.h"
#include "device/KVRProcedures.h"
#include "dialogs/CKVRConfigSheet.h"
#include "dialogs/CKVRConfigWizard.h"
#include "dialogs/CMonitorDialog.h"
#include "framework/core/CArchive.h"
#include "framework/core/CException.h"
#include "framework/ui/CCmdUI.h"
#include "framework/ui/CComboBox.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/MessageBox.h"
#include "model/CPolyShelter.h"
#include "model/CScan.h"
#include "model/ConfigLimits.h"

#include <array>

IMPLEMENT_SERIAL(CKVRDoc, CCommonDoc, 1)

// The commands of both families are routed by CDeviceDoc.
BEGIN_MESSAGE_MAP(CKVRDoc, CDeviceDoc<CKVRConfig>)
    ON_COMMAND(ID_CONFIGURATION_WIZARD, OnEditConfiguration)
    ON_UPDATE_COMMAND_UI(ID_CONFIGURATION_WIZARD, OnUpdateEditConfiguration)
    ON_COMMAND(ID_MONITOR, OnMonitor)
    ON_UPDATE_COMMAND_UI(ID_MONITOR, OnUpdateMonitor)
    ON_COMMAND(ID_MODE_SIMULATION, OnModeSimulation)
    ON_UPDATE_COMMAND_UI(ID_MODE_SIMULATION, OnUpdateModeSimulation)
END_MESSAGE_MAP()

namespace {

constexpr std::array<UINT, 4> kInputControls = {IDC_SIMULATION_1, IDC_SIMULATION_2, IDC_SIMULATION_3,
                                                IDC_SIMULATION_4};
constexpr BYTE kSpeedControlFlag = 0x10;

// The input control's number 0 to 3, or -1 for the speed control and any other.
int InputOf(UINT nID)
{
    for (std::size_t i = 0; i < kInputControls.size(); ++i) {
        if (kInputControls[i] == nID)
            return int(i);
    }
    return -1;
}

void FillInputControl(CComboBox& combo, int state)
{
    const int low = combo.AddString("0");
    combo.SetItemData(low, DWORD_PTR(kInputLow));
    const int high = combo.AddString("1");
    combo.SetItemData(high, DWORD_PTR(kInputHigh));
    combo.SetCurSel(state == kInputHigh ? high : low);
}

void FillSpeedControl(CComboBox& combo, int maxSpeed, int speed)
{
    int zero = -1;
    for (int step : CKVRDoc::SpeedSteps(maxSpeed)) {
        CString text;
        text.Format("%+d cm/s", step);
        const int item = combo.AddString(text.c_str());
        combo.SetItemData(item, DWORD_PTR(DWORD(step)));
        if (step == speed)
            combo.SetCurSel(item);
        if (step == 0)
            zero = item;
    }
    if (combo.GetCurSel() < 0)
        combo.SetCurSel(zero);
}

} // namespace

CKVRDoc::CKVRDoc() : CDeviceDoc(-1, 0) {}
CKVRDoc::~CKVRDoc() = default;

// ------------------------------------------------------------ configuration access

void CKVRDoc::CheckSelections()
{
    const CKVRConfig* config = m_pConfig.get();
    const int scanners = config != nullptr ? config->GetSensorConfigCount() : 0;
    const int pairs = config != nullptr ? config->GetShelterConfigCount() : 0;
    m_state.CheckSelections(-1, scanners - 1, pairs);
}

// ------------------------------------------------------------ simulation and cases

void CKVRDoc::EvaluateSimulation(int in1, int in2, int in3, int in4, int speed)
{
    const CKVRConfig* config = GetConfiguration();
    if (config == nullptr) {
        m_simulation.Reset();
        return;
    }
    m_simulation.Evaluate(*config, {in1, in2, in3, in4}, speed);
}

std::vector<int> CKVRDoc::SpeedSteps(int maxSpeed)
{
    int top = maxSpeed > 0 ? maxSpeed : 1;
    int step = 1;
    if (top > 100) {
        step = (top + 99) / 100;
        top = (top + step - 1) / step * step;
    }
    std::vector<int> steps;
    for (int speed = top; speed >= -top; speed -= step)
        steps.push_back(speed);
    return steps;
}

const CKVRCaseState* CKVRDoc::CaseOf(int output) const
{
    const CKVRCaseState* state = m_simulation.GetCase(output);
    return state != nullptr && state->HasCase() ? state : nullptr;
}

int CKVRDoc::GetCaseScannerNumber(int output) const
{
    const CKVRCaseState* state = CaseOf(output);
    return state != nullptr && state->sensorIndex >= 0 ? state->sensorIndex + 1 : 0;
}

CString CKVRDoc::GetCaseName(int output) const
{
    const CKVRCaseState* state = CaseOf(output);
    const CKVRConfig* config = GetConfiguration();
    return state != nullptr && config != nullptr ? config->GetControlConfigName(state->caseIndex) : CString();
}

CScan* CKVRDoc::GetCaseScan(int output) const
{
    const CKVRCaseState* state = m_simulation.GetCase(output);
    return state != nullptr ? state->scan.get() : nullptr;
}

CShelter* CKVRDoc::GetCaseField(int output, int kind) const
{
    const CKVRCaseState* state = CaseOf(output);
    const CKVRConfig* config = GetConfiguration();
    if (state == nullptr || config == nullptr)
        return nullptr;
    const CKVRShelterConfig* pair = config->GetShelterConfig(state->shelterIndex);
    return pair != nullptr ? pair->GetShelter(kind) : nullptr;
}

CString CKVRDoc::GetCaseScannerName(int output) const
{
    const CKVRCaseState* state = CaseOf(output);
    const CKVRConfig* config = GetConfiguration();
    return state != nullptr && config != nullptr ? config->GetSensorConfigName(state->sensorIndex) : CString();
}

CString CKVRDoc::GetCaseShelterName(int output) const
{
    const CKVRCaseState* state = CaseOf(output);
    const CKVRConfig* config = GetConfiguration();
    return state != nullptr && config != nullptr ? config->GetShelterConfigName(state->shelterIndex) : CString();
}

int CKVRDoc::GetCaseResponseTime(int caseIndex) const
{
    const CKVRConfig* config = GetConfiguration();
    const CKVRControlConfig* control = config != nullptr ? config->GetControlConfig(caseIndex) : nullptr;
    return control != nullptr ? KVRResponseTime(control->GetScanCount()) : 0;
}

// ------------------------------------------------------------ objects of the views

CShelter* CKVRDoc::FieldOf(CShelterSelection selection) const
{
    const CKVRConfig* config = GetConfiguration();
    if (config == nullptr || selection.GetIndex() == -1)
        return nullptr;
    const CKVRShelterConfig* pair = config->GetShelterConfig(selection.GetIndex());
    return pair != nullptr ? pair->GetShelter(selection.GetKind()) : nullptr;
}

void CKVRDoc::SetCurrentObject(CSensorObject* pObject)
{
    CKVRConfig* config = GetConfiguration();
    const CShelterSelection current = m_state.m_current;
    if (pObject == nullptr || config == nullptr || current.GetIndex() == -1)
        return;
    CKVRShelterConfig* pair = config->GetShelterConfig(current.GetIndex());
    std::unique_ptr<CSensorObject> clone = pObject->Clone();
    auto* field = dynamic_cast<CShelter*>(clone.get());
    if (pair == nullptr || field == nullptr)
        return;
    clone.release();
    // A kind the pair does not hold leaves the clone here, which deletes it.
    std::unique_ptr<CShelter> owned(field);
    pair->SetShelter(current.GetKind(), std::move(owned));
}

COLORREF CKVRDoc::GetCurrentObjectColor()
{
    if (m_state.m_current.GetIndex() == -1)
        return CCommonDoc::GetCurrentObjectColor();
    return GetTalisoSetup().GetFieldColor(m_state.m_current.GetKind());
}

void CKVRDoc::SetSecondObject(CSensorObject*) {}

COLORREF CKVRDoc::GetSecondObjectColor()
{
    if (m_state.m_second.GetIndex() == -1)
        return CCommonDoc::GetSecondObjectColor();
    return GetTalisoSetup().GetFieldColor(m_state.m_second.GetKind());
}

WORD CKVRDoc::GetSensorCount()
{
    const CKVRConfig* config = GetConfiguration();
    return config != nullptr ? WORD(config->GetSensorConfigCount()) : WORD(0);
}

// ------------------------------------------------------------ bar controls

void CKVRDoc::FillSelectorCombo(CSelectorComboBox* pCombo)
{
    std::vector<CString> names;
    if (const CKVRConfig* config = GetConfiguration()) {
        for (int i = 0; i < config->GetSensorConfigCount(); ++i)
            names.push_back(config->GetSensorConfigName(i));
    }
    ::FillScannerCombo(*pCombo, names, -1, 0, m_state.m_nSelectedScanner);
}

std::vector<FieldItem> CKVRDoc::GetFieldItems() const
{
    std::vector<FieldItem> items;
    const CKVRConfig* config = GetConfiguration();
    if (config == nullptr)
        return items;
    for (int i = 0; i < config->GetShelterConfigCount(); ++i) {
        const CKVRShelterConfig* pair = config->GetShelterConfig(i);
        if (pair == nullptr)
            continue;
        for (int kind : {kProtectiveField, kWarningField}) {
            if (pair->GetShelter(kind) == nullptr)
                continue;
            FieldItem item{config->GetShelterConfigName(i), CShelterSelection()};
            item.selection.SetIndexKind(i, kind);
            items.push_back(item);
        }
    }
    return items;
}

void CKVRDoc::FillSimulationControl(UINT nID, CComboBox* pCombo)
{
    const CKVRConfig* config = GetConfiguration();
    const BYTE flags = config != nullptr ? config->GetUsedFlags() : 0;
    const int input = InputOf(nID);
    if (input < 0 && nID != IDC_SIMULATION_5)
        return;
    pCombo->SetRedraw(FALSE);
    pCombo->ResetContent();
    if (input >= 0)
        FillInputControl(*pCombo, m_simulation.GetInput(input));
    else
        FillSpeedControl(*pCombo, config != nullptr ? config->GetMaxSpeed() : 0, m_simulation.GetSpeed());
    pCombo->SetRedraw(TRUE);
    const BYTE bit = input >= 0 ? BYTE(1u << input) : kSpeedControlFlag;
    pCombo->EnableWindow((flags & bit) != 0);
}

void CKVRDoc::OnSimulationControlChange(UINT nID, CComboBox* pCombo)
{
    const int item = pCombo->GetCurSel();
    const int input = InputOf(nID);
    if (item < 0 || (input < 0 && nID != IDC_SIMULATION_5))
        return;
    const int value = int(DWORD(pCombo->GetItemData(item)));
    std::array<int, 4> inputs = m_simulation.GetInputs();
    int speed = m_simulation.GetSpeed();
    if (input >= 0)
        inputs[std::size_t(input)] = value;
    else
        speed = value;
    EvaluateSimulation(inputs[0], inputs[1], inputs[2], inputs[3], speed);
    UpdateAllViews(nullptr, kHintSimulationChanged);
}

// ------------------------------------------------------------ device sessions and dialogs

std::unique_ptr<CKVRConfig> CKVRDoc::RunNewWizard()
{
    CKVRDocWizards helpers;
    CNewKVRConfigWizard wizard(AfxGetMainWnd(), &helpers);
    return wizard.Run();
}

std::unique_ptr<CKVRConfig> CKVRDoc::EditConfiguration(const CKVRConfig* pOwn)
{
    CKVRDocWizards helpers;
    if (theLoginDialog.UsesWizards()) {
        CEditKVRConfigWizard wizard(AfxGetMainWnd(), &helpers);
        return wizard.RunWizard(pOwn);
    }
    CKVRConfigSheet sheet(AfxGetMainWnd());
    sheet.SetEntryWizards(&helpers);
    return sheet.Edit(pOwn);
}

std::unique_ptr<CShelter> CKVRDoc::ReadDeviceField(CShelterSelection selection)
{
    std::unique_ptr<CShelter> field;
    RunIdentifiedSession<CKVRSensor>([&](CKVRSensor& sensor) {
        const int number = selection.GetIndex() + 1;
        CString name;
        if (selection.GetKind() == kProtectiveField)
            field = ReadKVRField(sensor, number, name, TRUE);
        else
            field = ReadKVRFieldSub1(sensor, number, name, TRUE);
        return field != nullptr;
    });
    return field;
}

int CKVRDoc::BuildReport(CObList* pPrintObjects, int nKind)
{
    const CKVRConfig* config = GetConfiguration();
    if (pPrintObjects == nullptr || config == nullptr)
        return 0;
    return CKVRReport(*pPrintObjects, ReportUnits::FromSettings()).Build(*config, nKind, GetDeviceName(), GetDeviceTypeText());
}

// ------------------------------------------------------------ monitor dialog

void CKVRDoc::OnMonitor()
{
    RunDeviceDialog<CKVRMonitorDialog>();
}

void CKVRDoc::OnUpdateMonitor(CCmdUI* pCmdUI)
{
    EnableIdleCommand(pCmdUI, *this, theLoginDialog.CanUseMonitorDialog());
}
