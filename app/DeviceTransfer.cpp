#include "app/DeviceTransfer.h"

#include "app/CCommonDoc.h"
#include "app/CDeviceDocState.h"
#include "app/CSelectorComboBox.h"
#include "app/CTalisoView.h"
#include "app/DeviceDocCommands.h"
#include "device/dialogs/CLoginDialog.h"
#include "device/CSensor.h"
#include "device/DeviceProcedures.h"
#include "dialogs/CShelterSelectDialog.h"
#include "framework/ui/CCmdUI.h"
#include "framework/ui/MessageBox.h"
#include "framework/ui/MessagePump.h"
#include "model/CPolyShelter.h"
#include "model/CShelter.h"

namespace {

constexpr BYTE kModeLogout = kModeNormal;
// The level whose field transfer follows a commit at once.
constexpr int kHighestLevel = 5;

} // namespace

// ------------------------------------------------------------ session

CTransferSession::~CTransferSession()
{
    Logout();
    if (m_bConnected)
        DisconnectSensor(m_sensor, TRUE);
}

BOOL CTransferSession::Open()
{
    m_bConnected = ConnectSensor(m_sensor, TRUE);
    return m_bConnected && IdentifySensor(m_sensor, TRUE);
}

BOOL CTransferSession::Login()
{
    if (!m_bConnected)
        return FALSE;
    m_bLoggedIn = TRUE;
    return SetOperatingMode(m_sensor, kModeConfiguration, theLoginDialog.GetPassword().c_str(), TRUE);
}

void CTransferSession::Logout()
{
    if (!m_bLoggedIn || !m_bConnected)
        return;
    m_bLoggedIn = FALSE;
    SetOperatingMode(m_sensor, kModeLogout, nullptr, TRUE);
}

// ------------------------------------------------------------ configuration

BOOL CanGoOnWithFieldTransfer(CCommonDoc& doc)
{
    if (theLoginDialog.GetLevel() == kHighestLevel)
        return TRUE;
    return IsCommandEnabled(doc, ID_FIELD_TRANSFER) && doc.GetFirstViewPosition() != nullptr;
}

void GoOnWithFieldTransfer(CCommonDoc& doc, const std::function<void()>& runNow)
{
    if (theLoginDialog.GetLevel() == kHighestLevel)
        runNow();
    else
        doc.RequestFollowUp(ID_FIELD_TRANSFER, TRUE);
}

// ------------------------------------------------------------ beam marking

BOOL IsEveryBeamMarked(const CPolyShelter& contour)
{
    const int count = contour.GetBeamCount();
    return count > 0 && contour.GetMarkedBeamCount() == count ? TRUE : FALSE;
}

BeamMarkingEnd RunBeamMarkingLoop(const std::function<std::unique_ptr<CPolyShelter>()>& read,
                                  const std::function<void(std::unique_ptr<CPolyShelter>)>& show)
{
    CMessagePump pump;
    pump.ClearEscape();
    for (;;) {
        std::unique_ptr<CPolyShelter> contour = read();
        if (contour == nullptr)
            return BeamMarkingEnd::NoContour;
        const BOOL complete = IsEveryBeamMarked(*contour);
        show(std::move(contour));
        if (complete)
            return BeamMarkingEnd::Complete;
        if (!pump.Pump())
            return BeamMarkingEnd::Stopped;
        if (pump.EscapePressed()) {
            if (AfxMessageBox(IDP_STOP_BEAM_MARKING, MB_YESNO | MB_ICONQUESTION) == IDYES)
                return BeamMarkingEnd::Stopped;
            pump.ClearEscape();
        }
    }
}

BOOL IsCommandEnabled(CCmdTarget& target, UINT nID)
{
    CTestCmdUI probe;
    probe.m_nID = nID;
    probe.DoUpdate(&target, TRUE);
    return probe.m_bEnabled;
}

// ------------------------------------------------------------ field transfer

void AppendFieldItem(CShelterSelectItemList& items, int number, const CString& name, int kind, const CShelter* field)
{
    if (field == nullptr)
        return;
    auto item = std::make_unique<CShelterSelectItem>();
    item->m_nNumber = number;
    item->m_strName = name;
    item->m_bProtective = kind == kProtectiveField ? 1 : 0;
    item->m_bInDevice = kind == kProtectiveField ? field->IsProtectiveInDevice() : field->IsWarningInDevice();
    item->m_bLocked = field->IsLocked();
    items.AddTail(item.release());
}

CFieldTransfer::CFieldTransfer(CCommonDoc& doc, CDeviceDocState& state, CSelectorComboBox* firstObjectCombo,
                               BOOL warningsFirst)
    : m_doc(doc), m_state(state), m_pFirstObjectCombo(firstObjectCombo), m_bWarningsFirst(warningsFirst)
{
}

CFieldTransfer::~CFieldTransfer() = default;

void CFieldTransfer::Run()
{
    CTransferSession session(Sensor());
    const BOOL opened = session.Open();
    // The device may still be logged in from the configuration's commit; whatever road
    // this takes, it ends logged out.
    session.AssumeLoggedIn();
    if (!opened || !CheckDevice())
        return;

    CShelterSelectDialog selection(AfxGetMainWnd());
    AddItems(selection.m_items);
    if (selection.DoModal() != IDOK)
        return;
    m_doc.UpdateAllViews(nullptr, kHintBackToScanner);
    if (!session.Login())
        return;

    auto sendChosen = [&](auto&& wanted) {
        for (POSITION pos = selection.m_items.GetHeadPosition(); pos != nullptr;) {
            const CShelterSelectItem* item = selection.m_items.GetNext(pos);
            if (item != nullptr && item->m_bChosen && wanted(*item))
                SendItem(*item);
        }
    };
    if (m_bWarningsFirst) {
        sendChosen([](const CShelterSelectItem& item) { return !item.m_bProtective; });
        sendChosen([](const CShelterSelectItem& item) { return item.m_bProtective != 0; });
    } else {
        sendChosen([](const CShelterSelectItem&) { return true; });
    }

    if (ShowFieldList())
        m_doc.RequestFollowUp(ID_SEND_CONFIGURATION, TRUE);
    m_doc.UpdateAllViews(nullptr, kHintCurrentObjectChanged);
}

void CFieldTransfer::SendItem(const CShelterSelectItem& item)
{
    if (item.m_bLocked) {
        AfxMessageBox(IDP_FIELD_LOCKED_SKIPPED, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const CShelter* field = SelectField(item);
    if (field == nullptr)
        return;
    if (item.m_bProtective)
        SendProtectiveField(item, *field);
    else
        SendWarningField(item, *field);
}

void CFieldTransfer::SendProtectiveField(const CShelterSelectItem& item, const CShelter& field)
{
    std::unique_ptr<CShelter> stored = WriteProtectiveField(item, field);
    if (stored == nullptr)
        return;
    ReplaceCurrentField(*stored);
    if (StartVerification(item))
        VerifyProtectiveField(item);
}

void CFieldTransfer::SendWarningField(const CShelterSelectItem& item, const CShelter& field)
{
    std::unique_ptr<CPolyShelter> contour = SendWarningContour(item, field);
    if (contour == nullptr)
        return;
    ReplaceCurrentField(*contour);
    AfxMessageBox(IDP_FIELD_SENT, MB_OK | MB_ICONINFORMATION);
}

void CFieldTransfer::VerifyProtectiveField(const CShelterSelectItem& item)
{
    const BeamMarkingEnd end = RunBeamMarkingLoop([this] { return ReadVerifyContour(); },
                                                  [&](std::unique_ptr<CPolyShelter> contour) {
                                                      ShowVerifyContour(item, std::move(contour));
                                                      m_doc.UpdateAllViews(nullptr, kHintCurrentObjectChanged);
                                                  });
    if (end == BeamMarkingEnd::Complete) {
        if (AfxMessageBox(IDP_ACCEPT_VERIFIED_FIELD, MB_YESNO | MB_ICONQUESTION) == IDYES) {
            if (AcceptVerification(item)) {
                AfxMessageBox(IDP_FIELD_SENT, MB_OK | MB_ICONINFORMATION);
                if (CShelter* current = m_doc.GetCurrentObject())
                    current->SetProtectiveInDevice(1);
            }
        } else {
            CancelVerification(item);
        }
    }
    DropVerifyContour();
    m_doc.UpdateAllViews(nullptr, kHintCurrentObjectChanged);
}

CShelter* CFieldTransfer::SelectField(const CShelterSelectItem& item)
{
    m_doc.ClearUndo();
    m_state.m_current.SetIndexKind(item.m_nNumber - 1, item.m_bProtective ? kProtectiveField : kWarningField);
    if (m_pFirstObjectCombo != nullptr)
        m_pFirstObjectCombo->SelectBySelection(m_state.m_current);
    return m_doc.GetCurrentObject();
}

void CFieldTransfer::ReplaceCurrentField(CShelter& field)
{
    m_doc.SetCurrentObject(&field);
    // The device's copy replaced the user's field: the document holds something new.
    m_doc.SetModifiedFlag();
    m_doc.UpdateAllViews(nullptr, kHintCurrentObjectChanged);
}

BOOL CFieldTransfer::ShowFieldList()
{
    CShelterListDialog list(AfxGetMainWnd());
    AddItems(list.m_items);
    return list.DoModal() == IDOK;
}
