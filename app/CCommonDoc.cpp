#include "app/CCommonDoc.h"

#include "app/CSelectorComboBox.h"
#include "app/CTalisoSetup.h"
#include "framework/core/CArchive.h"
#include "framework/core/TickCount.h"
#include "framework/ui/CFrameWnd.h"
#include "framework/ui/CView.h"
#include "model/CSensorObject.h"
#include "model/CSensorPoint.h"
#include "model/CShelter.h"

#include <algorithm>
#include <cstdint>
#include <vector>

IMPLEMENT_SERIAL(CCommonDoc, CTalisoDoc, 1)

BEGIN_MESSAGE_MAP(CCommonDoc, CTalisoDoc)
    ON_COMMAND(ID_STOP_MODE, OnStopMode)
    ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
END_MESSAGE_MAP()

CCommonDoc::CCommonDoc() = default;

CCommonDoc::~CCommonDoc()
{
    StopCycle();
}

void CCommonDoc::SetMode(int nMode)
{
    const int old = m_nMode;
    if (old == kModeNone) {
        StartMode(nMode);
    } else if (nMode == old) {
        StopMode(old);
    } else {
        AbortMode(old);
        StartMode(nMode);
    }
    if (m_nMode != old) {
        OnModeChanged(old, m_nMode);
        UpdateAllViews(nullptr, 0);
    }
}

int CCommonDoc::RunModeAction(int nMode, int nAction)
{
    switch (nMode) {
    case kModeEdit: return RunMode1(nAction);
    case kModeMonitor: return RunMode2(nAction);
    case kModeTeachIn: return RunMode3(nAction);
    case kModeVerify: return RunMode4(nAction);
    case kModeSimulation: return RunMode5(nAction);
    case kModeReplay: return ReplayProtocol(nAction);
    default: return 0;
    }
}

void CCommonDoc::StartMode(int nMode)
{
    if (RunModeAction(nMode, kModeActionStart) != 1)
        return;
    m_nMode = nMode;
    NotifyFrames(kNotifyModeLayout);
}

void CCommonDoc::StopMode(int nMode)
{
    RunModeAction(nMode, kModeActionStop);
    m_nMode = kModeNone;
    NotifyFrames(kNotifyModeLayout);
}

void CCommonDoc::AbortMode(int nMode)
{
    RunModeAction(nMode, kModeActionAbort);
    m_nMode = kModeNone;
    NotifyFrames(kNotifyModeLayout);
}

void CCommonDoc::TickMode(int nMode)
{
    if (RunModeAction(nMode, kModeActionTick) == 0) {
        StopCycle();
        AbortMode(nMode);
    }
    UpdateAllViews(nullptr, 0);
}

void CCommonDoc::AbortActiveMode()
{
    AbortMode(m_nMode);
    UpdateAllViews(nullptr, 0);
}

void CCommonDoc::NotifyFrames(int nFlags)
{
    // Each frame once, though it may show the document in several panes.
    std::vector<CFrameWnd*> frames;
    for (POSITION pos = GetFirstViewPosition(); pos != nullptr;) {
        CView* view = GetNextView(pos);
        CFrameWnd* frame = view != nullptr ? view->GetParentFrame() : nullptr;
        if (frame != nullptr && std::find(frames.begin(), frames.end(), frame) == frames.end())
            frames.push_back(frame);
    }
    for (CFrameWnd* frame : frames) {
        if (frame->m_hWnd != nullptr)
            frame->SendMessage(WM_DOCUMENT_FRAMES_NOTIFY, WPARAM(nFlags), 0);
    }
}

int CCommonDoc::SetCycle(DWORD dwPeriod)
{
    m_dwCyclePeriod = dwPeriod;
    m_dwCycleDeadline = GetTickCount() + dwPeriod;
    m_bCycleArmed = dwPeriod != 0;
    return m_bCycleArmed ? 1 : 0;
}

void CCommonDoc::StopCycle()
{
    m_dwCyclePeriod = 0;
    m_dwCycleDeadline = 0;
    m_bCycleArmed = FALSE;
}

void CCommonDoc::OnCycle()
{
    if (!m_bCycleArmed)
        return;
    const DWORD now = GetTickCount();
    if (!IsCycleDue(now, m_dwCycleDeadline))
        return;
    OnCycleTick(now + m_dwCyclePeriod - m_dwCycleDeadline);
    if (m_bCycleArmed)
        m_dwCycleDeadline = GetTickCount() + m_dwCyclePeriod;
}

void CCommonDoc::OnCycleTick(DWORD)
{
    if (m_nMode != kModeNone)
        TickMode(m_nMode);
}

void CCommonDoc::SetResult(const CSensorObject* pResult)
{
    m_pResult = pResult != nullptr ? pResult->Clone() : nullptr;
}

void CCommonDoc::DeleteResult()
{
    m_pResult.reset();
}

int CCommonDoc::FetchResult()
{
    const CTalisoSetup& setup = GetTalisoSetup();
    std::unique_ptr<CSensorObject> result;
    switch (setup.m_nScanMode) {
    case 0: result = FetchScan(WORD(setup.m_nScanDivisor)); break;
    case 1: result = FetchResultByIndex(setup.m_nScanAverage); break;
    case 2: result = FetchResultByRange(setup.m_nScanPartFrom, setup.m_nScanPartTo); break;
    default: break;
    }
    if (result == nullptr)
        return 0;
    m_pResult = std::move(result);
    UpdateAllViews(nullptr, 0);
    return 1;
}

void CCommonDoc::FillBarControl(UINT nID, CComboBox* pCombo)
{
    if (pCombo == nullptr)
        return;
    auto* selector = dynamic_cast<CSelectorComboBox*>(pCombo);
    switch (nID) {
    case IDC_BAR_SELECTOR:
        if (selector != nullptr)
            FillSelectorCombo(selector);
        return;
    case IDC_BAR_FIRST_OBJECT:
        ClearUndo();
        if (selector != nullptr)
            FillFirstObjectCombo(selector);
        return;
    case IDC_BAR_SECOND_OBJECT:
        if (selector != nullptr)
            FillSecondObjectCombo(selector);
        return;
    default:
        if (std::find(std::begin(kSimulationControlIds), std::end(kSimulationControlIds), nID) !=
            std::end(kSimulationControlIds))
            FillSimulationControl(nID, pCombo);
        return;
    }
}

void CCommonDoc::OnBarControlChange(UINT nID, CComboBox* pCombo)
{
    if (pCombo == nullptr)
        return;
    auto* selector = dynamic_cast<CSelectorComboBox*>(pCombo);
    switch (nID) {
    case IDC_BAR_SELECTOR:
        DeleteResult();
        if (selector != nullptr)
            OnSelectorChange(selector);
        return;
    case IDC_BAR_FIRST_OBJECT:
        ClearUndo();
        if (CShelter* current = GetCurrentObject())
            current->Select(0, CSensorPoint());
        if (selector != nullptr)
            OnFirstObjectChange(selector);
        return;
    case IDC_BAR_SECOND_OBJECT:
        if (selector != nullptr)
            OnSecondObjectChange(selector);
        return;
    default:
        if (std::find(std::begin(kSimulationControlIds), std::end(kSimulationControlIds), nID) !=
            std::end(kSimulationControlIds))
            OnSimulationControlChange(nID, pCombo);
        return;
    }
}

WORD CCommonDoc::GetSensorCount()
{
    return 0;
}

void CCommonDoc::FillSelectorCombo(CSelectorComboBox*) {}
void CCommonDoc::OnSelectorChange(CSelectorComboBox*) {}
void CCommonDoc::FillFirstObjectCombo(CSelectorComboBox*) {}
void CCommonDoc::OnFirstObjectChange(CSelectorComboBox*) {}
void CCommonDoc::FillSecondObjectCombo(CSelectorComboBox*) {}
void CCommonDoc::OnSecondObjectChange(CSelectorComboBox*) {}
void CCommonDoc::FillSimulationControl(UINT, CComboBox*) {}
void CCommonDoc::OnSimulationControlChange(UINT, CComboBox*) {}

void CCommonDoc::OnModeChanged(int, int)
{
    DeleteResult();
}

int CCommonDoc::RunMode1(int nAction)
{
    switch (nAction) {
    case kModeActionStart:
        SetEditMode(1);
        // The first tick comes with the frame's next timer message.
        SetCycle(1);
        return 1;
    case kModeActionStop:
    case kModeActionAbort:
        StopCycle();
        SetEditMode(0);
        return 1;
    case kModeActionTick:
        SetCycle(DWORD(std::max(GetTalisoSetup().m_nEditScanInterval, 1)) * 1000);
        FetchResult();
        return 1;
    default: return 0;
    }
}

int CCommonDoc::RunMode2(int) { return 1; }
int CCommonDoc::RunMode3(int) { return 1; }
int CCommonDoc::RunMode4(int) { return 1; }
int CCommonDoc::RunMode5(int) { return 1; }
int CCommonDoc::ReplayProtocol(int) { return 1; }

int CCommonDoc::TransferToDevice() { return 1; }
int CCommonDoc::ConfirmTransfer(int) { return 1; }
int CCommonDoc::PreparePrint(int) { return 1; }
int CCommonDoc::BuildReport(CObList*, int) { return 0; }
void CCommonDoc::EndPrint(int) {}

std::unique_ptr<CSensorObject> CCommonDoc::FetchScan(WORD) { return nullptr; }
std::unique_ptr<CSensorObject> CCommonDoc::FetchResultByIndex(int) { return nullptr; }
std::unique_ptr<CSensorObject> CCommonDoc::FetchResultByRange(int, int) { return nullptr; }

BOOL CCommonDoc::CanCloseFrame(CFrameWnd* pFrame)
{
    if (m_nMode != kModeNone)
        AbortActiveMode();
    return CTalisoDoc::CanCloseFrame(pFrame);
}

void CCommonDoc::DeleteContents()
{
    CTalisoDoc::DeleteContents();
    DeleteResult();
}

void CCommonDoc::Serialize(CArchive& ar)
{
    CTalisoDoc::Serialize(ar);
}

void CCommonDoc::OnStopMode()
{
    if (m_nMode != kModeNone)
        SetMode(m_nMode);
}

void CCommonDoc::OnFileClose()
{
    if (m_nMode != kModeNone)
        AbortActiveMode();
    CDocument::OnFileClose();
}
