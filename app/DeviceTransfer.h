#pragma once
// What the transfers of both device documents share: a device session that ends
// disconnected and, once the device was logged in, logged out on every road; the
// device's corrected configuration shown until the user accepts or rejects it; and the
// field transfer (command 32790): the selection dialog, the chosen fields sent one by one,
// a protective field verified by a beam-marking loop that polls the device until the
// contour is complete or the user confirms Escape, then the list dialog. The family
// documents supply the device steps through the hooks of CFieldTransfer.
#include "app/CDeviceDoc.h"
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"
#include "framework/ui/MessageBox.h"

#include <functional>
#include <memory>

class CCmdTarget;
class CCommonDoc;
class CPolyShelter;
class CSelectorComboBox;
class CSensor;
class CShelter;
class CShelterSelectItem;
class CShelterSelectItemList;

// Prompts of the transfers.
constexpr UINT IDP_FIELD_LOCKED_SKIPPED = 317;    // a locked field is not sent
constexpr UINT IDP_ACCEPT_VERIFIED_FIELD = 319;   // Yes/No: store the verified field?
constexpr UINT IDP_FIELD_SENT = 332;
constexpr UINT IDP_TRANSFER_FAILED = 422;
constexpr UINT IDP_GO_ON_WITH_FIELDS = 423;       // Yes/No: transfer the fields now?
constexpr UINT IDP_STOP_BEAM_MARKING = 426;       // Yes/No after Escape
constexpr UINT IDP_VARIANT_NEEDS_FIRMWARE = 435;
constexpr UINT IDP_FIELD_HAS_TOO_MANY_BEAMS = 436;

// Whether the command is enabled now by the target's update rule.
BOOL IsCommandEnabled(CCmdTarget& target, UINT nID);

// One device session of a transfer. Open and Login start it; the destructor logs out
// when the device is logged in (a login was tried, or the device was left logged in by an
// earlier session) and disconnects when connected, so no road leaves the device logged in
// unless KeepLoggedIn says so on purpose.
class CTransferSession {
public:
    explicit CTransferSession(CSensor& sensor) : m_sensor(sensor) {}
    ~CTransferSession();
    CTransferSession(const CTransferSession&) = delete;
    CTransferSession& operator=(const CTransferSession&) = delete;

    // ConnectSensor and IdentifySensor, with prompts; FALSE when either failed.
    BOOL Open();
    // Login (mode 0) with the user's password. A refused login still counts as logged
    // in for the logout: its answer may have been lost after the device took it.
    BOOL Login();
    // The device is logged in from an earlier session (a check before its commit).
    void AssumeLoggedIn() { m_bLoggedIn = m_bConnected; }
    // This session's end leaves the device logged in, for the session that follows.
    void KeepLoggedIn() { m_bLoggedIn = FALSE; }
    // Logout (mode 33) now, when logged in.
    void Logout();

    CSensor& Sensor() { return m_sensor; }

private:
    CSensor& m_sensor;
    BOOL m_bConnected = FALSE;
    BOOL m_bLoggedIn = FALSE;
};

// ------------------------------------------------------------ configuration shown

// A configuration of the device shown in place of the document's own, with the device's
// name and type text; the own selections and identity wait in their copies.
template <class Config>
void ShowDeviceConfiguration(CDeviceDoc<Config>& doc, std::unique_ptr<Config> config, const CString& name,
                             const CString& type)
{
    doc.SetConfiguration(std::move(config), TRUE);
    doc.GetState().ShowIdentity(name, type);
}

// The device's identification and configuration read in one session and shown (for a
// print of the device's configuration); FALSE when either could not be read.
template <class Sensor, class Identity, class Config>
int ShowConfigurationOfDevice(CDeviceDoc<Config>& doc, BOOL (*readIdentity)(Sensor&, Identity&, BOOL),
                              std::unique_ptr<Config> (*readConfig)(Sensor&, BOOL))
{
    Identity identity;
    std::unique_ptr<Config> config;
    RunIdentifiedSession<Sensor>([&](Sensor& sensor) {
        if (readIdentity(sensor, identity, TRUE))
            config = readConfig(sensor, TRUE);
        return config != nullptr;
    });
    if (config == nullptr)
        return FALSE;
    ShowDeviceConfiguration(doc, std::move(config), identity.GetName(), identity.GetIdentification());
    return TRUE;
}

// The own configuration, selections and identity back; nothing when none is shown.
template <class Config>
void RestoreOwnConfiguration(CDeviceDoc<Config>& doc, BOOL notifyFrames)
{
    doc.ReleaseConfiguration(TRUE);
    doc.GetState().RestoreIdentity();
    doc.UpdateAllViews(nullptr, 0);
    if (notifyFrames)
        doc.NotifyFrames(kNotifyRefillCombos);
}

// The configuration shown (as the device stored it) becomes the document's own, and the
// device's name and type text stay.
template <class Config>
void AdoptShownConfiguration(CDeviceDoc<Config>& doc)
{
    auto copy = std::make_unique<Config>();
    *copy = *doc.GetConfiguration();
    doc.ReleaseConfiguration(TRUE);
    doc.SetConfiguration(std::move(copy), FALSE);
    doc.GetState().AdoptIdentity();
    doc.NotifyFrames(kNotifyRefillCombos);
    doc.SetModifiedFlag();
    doc.UpdateAllViews(nullptr, 0);
}

// A checked configuration waits for the user's decision: shown in idle mode (live
// monitoring shows the device's configuration too, but never waits for one).
template <class Config>
BOOL IsTransferWaiting(const CDeviceDoc<Config>& doc)
{
    return doc.IsDeviceConfigurationShown() && doc.GetMode() == kModeNone;
}

// What the second steps of a write came to; Refused: refused with a message of its own.
enum class CommitResult { Committed, Failed, Refused };

// Whether the field transfer can follow a commit: at user level 5 it runs at once (that
// level has no field-transfer command of its own), at other levels it follows after the
// current message, which needs the command enabled and a view to post through.
BOOL CanGoOnWithFieldTransfer(CCommonDoc& doc);
// Runs the field transfer after a committed configuration, without the save question:
// runNow at user level 5, else the command after the current message.
void GoOnWithFieldTransfer(CCommonDoc& doc, const std::function<void()>& runNow);

// The user's decision on the configuration shown since TransferToDevice, in a session of
// its own with the device that is still logged in since the check. Accepted: commit runs
// the second steps; once committed, message 423 asks whether the fields follow, the shown
// configuration becomes the own one, and the device stays logged in only when the field
// transfer (runFieldTransfer at level 5) follows. A failure shows 422 (a refusal its own message), restores the own
// configuration and returns FALSE. Rejected: logout and the own configuration back.
// Without a configuration waiting nothing is sent (FALSE when accepted, TRUE when not).
template <class Config>
int DecideOnShownConfiguration(CDeviceDoc<Config>& doc, CSensor& sensor, int accepted,
                               const std::function<CommitResult()>& commit,
                               const std::function<void()>& runFieldTransfer)
{
    if (!IsTransferWaiting(doc))
        return accepted ? FALSE : TRUE;
    CommitResult result = CommitResult::Failed;
    BOOL goOn = FALSE;
    {
        CTransferSession session(sensor);
        const BOOL opened = session.Open();
        session.AssumeLoggedIn();
        if (accepted && opened) {
            result = commit();
            if (result == CommitResult::Committed) {
                const BOOL fieldsWanted = AfxMessageBox(IDP_GO_ON_WITH_FIELDS, MB_YESNO | MB_ICONQUESTION) == IDYES;
                AdoptShownConfiguration(doc);
                goOn = fieldsWanted && CanGoOnWithFieldTransfer(doc);
                if (goOn)
                    session.KeepLoggedIn();
            }
        }
    }
    if (!accepted) {
        RestoreOwnConfiguration(doc, TRUE);
        return TRUE;
    }
    if (result != CommitResult::Committed) {
        if (result == CommitResult::Failed)
            AfxMessageBox(IDP_TRANSFER_FAILED, MB_OK | MB_ICONEXCLAMATION);
        RestoreOwnConfiguration(doc, TRUE);
        return FALSE;
    }
    if (goOn)
        GoOnWithFieldTransfer(doc, runFieldTransfer);
    return TRUE;
}

// ------------------------------------------------------------ field transfer

// How a beam-marking loop ended.
enum class BeamMarkingEnd { NoContour, Stopped, Complete };

// TRUE when the contour has beams and every one of them is marked.
BOOL IsEveryBeamMarked(const CPolyShelter& contour);

// Clears the Escape state, then reads the contour under verification again and again and
// hands each to show: until none comes back, until every beam is marked, or until Escape
// was pressed and message 426 is answered Yes (or the application quits). The windows
// stay painted meanwhile, and clicks and keys that would start another command are held
// back.
BeamMarkingEnd RunBeamMarkingLoop(const std::function<std::unique_ptr<CPolyShelter>()>& read,
                                  const std::function<void(std::unique_ptr<CPolyShelter>)>& show);


// Appends the selection item of a field (none for a missing field).
void AppendFieldItem(CShelterSelectItemList& items, int number, const CString& name, int kind, const CShelter* field);

// The field transfer of one document. Run is the whole road after the save question:
// one session checks the device; the selection dialog lists the configuration's fields;
// Cancel logs out; OK (views back to the scanner, hint 400) logs in and sends each chosen
// field: a locked one is refused with 317; a protective field is written, becomes the
// current field and is verified by beam marking (319 at completion: Yes stores it, 332,
// in-device flag; No cancels); a warning field's contour is sent and becomes the current
// field (332). The list dialog shows the fields again; its OK sends the configuration
// next (32863, without the save question). The session always ends logged out.
class CFieldTransfer {
public:
    // warningsFirst: every chosen warning field goes before the protective ones, else
    // the fields go in list order.
    CFieldTransfer(CCommonDoc& doc, CDeviceDocState& state, CSelectorComboBox* firstObjectCombo,
                   BOOL warningsFirst);
    virtual ~CFieldTransfer();
    CFieldTransfer(const CFieldTransfer&) = delete;
    CFieldTransfer& operator=(const CFieldTransfer&) = delete;

    void Run();

protected:
    // The family's device object, which lives as long as this transfer.
    virtual CSensor& Sensor() = 0;
    // The device may take the configuration's fields (its own messages when not).
    virtual BOOL CheckDevice() = 0;
    // Appends an item for every field of the configuration.
    virtual void AddItems(CShelterSelectItemList& items) = 0;
    // Device steps for one item (its number names the field pair).
    virtual std::unique_ptr<CShelter> WriteProtectiveField(const CShelterSelectItem& item, const CShelter& field) = 0;
    virtual std::unique_ptr<CPolyShelter> SendWarningContour(const CShelterSelectItem& item, const CShelter& field) = 0;
    virtual BOOL StartVerification(const CShelterSelectItem& item) = 0;
    virtual std::unique_ptr<CPolyShelter> ReadVerifyContour() = 0;
    virtual BOOL AcceptVerification(const CShelterSelectItem& item) = 0;
    virtual void CancelVerification(const CShelterSelectItem& item) = 0;
    // The document's verify contour: shown while the loop runs, dropped after it.
    virtual void ShowVerifyContour(const CShelterSelectItem& item, std::unique_ptr<CPolyShelter> contour) = 0;
    virtual void DropVerifyContour() = 0;

private:
    void SendItem(const CShelterSelectItem& item);
    void SendProtectiveField(const CShelterSelectItem& item, const CShelter& field);
    void SendWarningField(const CShelterSelectItem& item, const CShelter& field);
    void VerifyProtectiveField(const CShelterSelectItem& item);
    // The item's field becomes the current one and the first-object combo shows it.
    CShelter* SelectField(const CShelterSelectItem& item);
    void ReplaceCurrentField(CShelter& field);
    // The list dialog with the fields as they are now; TRUE on OK.
    BOOL ShowFieldList();

    CCommonDoc& m_doc;
    CDeviceDocState& m_state;
    CSelectorComboBox* m_pFirstObjectCombo;
    BOOL m_bWarningsFirst;
};
