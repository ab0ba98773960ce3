#pragma once
// The document of a KVR interface unit (see CDeviceDoc for what both families share): the
// selected scanner counts from 0 (-1 none), the current and second field are fields of a
// field pair, and the unit's case switching is simulated from four inputs and a speed.
#include "app/CDeviceDoc.h"
#include "app/CFieldTeachRecord.h"
#include "app/CKVRSimulationState.h"
#include "model/CKVRConfig.h"

#include <functional>
#include <vector>

class CKVRSensor;
class CPolyShelter;
class CScan;

class CKVRDoc : public CDeviceDoc<CKVRConfig> {
    DECLARE_SERIAL(CKVRDoc)
public:
    CKVRDoc();
    ~CKVRDoc() override;

    // Simulation of the unit's case switching.
    CKVRSimulationState& GetSimulation() { return m_simulation; }
    void EvaluateSimulation(int in1, int in2, int in3, int in4, int speed);
    // The speeds the simulation offers, from +m down to -m (m the configuration's highest
    // speed, at least 1), in steps of 1, or of ceil(m / 100) with m rounded up to a
    // multiple of it when m exceeds 100.
    static std::vector<int> SpeedSteps(int maxSpeed);

    // The case of output 1 or 2 (any other output: 0, empty or null).
    int GetCaseScannerNumber(int output) const;
    CString GetCaseName(int output) const;
    CScan* GetCaseScan(int output) const;
    CShelter* GetCaseField(int output, int kind) const;
    CString GetCaseScannerName(int output) const;
    CString GetCaseShelterName(int output) const;
    // Response time of a monitoring case in ms; 0 for no such case.
    int GetCaseResponseTime(int caseIndex) const;

    // The current field of the selected pair and kind; the second object is only shown.
    void SetCurrentObject(CSensorObject* pObject) override;
    COLORREF GetCurrentObjectColor() override;
    void SetSecondObject(CSensorObject* pObject) override;
    COLORREF GetSecondObjectColor() override;
    WORD GetSensorCount() override;

    // The printed report of the configuration shown (CKVRReport).
    int BuildReport(CObList* pPrintObjects, int nKind) override;

    // Modes (CKVRDocModes.cpp): edit, live monitoring, teach-in, verification, case
    // simulation; the scan of the selected scanner.
    int RunMode1(int nAction) override;
    int RunMode2(int nAction) override;
    int RunMode3(int nAction) override;
    int RunMode4(int nAction) override;
    int RunMode5(int nAction) override;
    std::unique_ptr<CSensorObject> FetchScan(WORD wDivisor) override;
    // The contours of mode 3 and of mode 4 or the field transfer (null when none).
    CPolyShelter* GetTeachContour() const;
    CPolyShelter* GetVerifyContour() const;
    // Scanner, field and contour of the teach-in and of the verification or field transfer.
    CFieldTeachRecord& GetTeachRecord() { return m_teachRecord; }
    CFieldTeachRecord& GetVerifyRecord() { return m_verifyRecord; }

    // Two-step write with its confirmation (CKVRDocTransfer.cpp).
    int TransferToDevice() override;
    int ConfirmTransfer(int nAccepted) override;

    void FillSelectorCombo(CSelectorComboBox* pCombo) override;
    void FillSimulationControl(UINT nID, CComboBox* pCombo) override;
    void OnSimulationControlChange(UINT nID, CComboBox* pCombo) override;

protected:
    CShelter* FieldOf(CShelterSelection selection) const override;
    void CheckSelections() override;
    // Per field pair its protective field, then its warning field, under the pair's name.
    std::vector<FieldItem> GetFieldItems() const override;
    std::unique_ptr<CKVRConfig> RunNewWizard() override;
    std::unique_ptr<CKVRConfig> EditConfiguration(const CKVRConfig* pOwn) override;
    std::unique_ptr<CShelter> ReadDeviceField(CShelterSelection selection) override;
    // CKVRDocTransfer.cpp.
    void RunFieldTransfer() override;

private:
    const CKVRCaseState* CaseOf(int output) const;

    CKVRSimulationState m_simulation;

    // Modes (CKVRDocModes.cpp).
    afx_msg void OnModeSimulation();
    afx_msg void OnUpdateModeSimulation(CCmdUI* pCmdUI);
    // A mode-2 tick: the cases the unit reports and the scans of both outputs.
    BOOL MonitorTick();
    // Reads the scan of the unit's output into the output's case state.
    void ReadCaseScan(int output, int count, BOOL sameScannerAsOutput1, CKVRCaseState& state);
    // The start checks of teach-in and verification (the device's capability, a scanner,
    // a protective field, the save question); the field goes into the record, which is
    // reset when a check fails.
    BOOL PrepareFieldRecord(int capability, UINT nIDRefusal, CFieldTeachRecord& record);
    // Modes 3 and 4 on their record. The start: the start checks, then the step in a
    // logged-in session (BeginLoggedInMode); a failed start leaves no cycle and an empty
    // record. The end: no cycle, the step in the session the start left logged in, an
    // empty record. Both return the mode's result.
    int StartFieldMode(int capability, UINT nIDRefusal, CFieldTeachRecord& record,
                       const std::function<BOOL(CKVRSensor&)>& step);
    int EndFieldMode(CFieldTeachRecord& record, const std::function<void(CKVRSensor&)>& step);

    CFieldTeachRecord m_teachRecord;
    CFieldTeachRecord m_verifyRecord;
    // Live monitoring keeps its device between ticks.
    std::unique_ptr<CKVRSensor> m_pMonitor;

    // The unit's monitor dialog.
    afx_msg void OnMonitor();
    afx_msg void OnUpdateMonitor(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()
};
