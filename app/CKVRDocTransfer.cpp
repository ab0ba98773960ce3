#include "app/CKVRDoc.h"

#include "app/DeviceTransfer.h"
#include "device/CKVRSensor.h"
#include "device/ConfigurationProcedures.h"
#include "device/KVRProcedures.h"
#include "dialogs/CShelterSelectDialog.h"
#include "model/CKVRIdentity.h"
#include "model/CPolyShelter.h"

namespace {

// The field transfer verifies its protective fields on the unit's first scanner.
constexpr int kVerifyScanner = 1;

class CKVRFieldTransfer final : public CFieldTransfer {
public:
    explicit CKVRFieldTransfer(CKVRDoc& doc)
        : CFieldTransfer(doc, doc.GetState(), doc.GetFirstObjectCombo(), FALSE), m_doc(doc)
    {
    }

protected:
    CSensor& Sensor() override { return m_sensor; }

    BOOL CheckDevice() override
    {
        const CKVRConfig* config = m_doc.GetConfiguration();
        return config != nullptr && CheckKVRDeviceType(m_sensor, config->GetValueV2(), TRUE);
    }

    // Per field pair its protective field, then its warning field.
    void AddItems(CShelterSelectItemList& items) override
    {
        const CKVRConfig* config = m_doc.GetConfiguration();
        for (int i = 0; config != nullptr && i < config->GetShelterConfigCount(); ++i) {
            const CKVRShelterConfig* pair = config->GetShelterConfig(i);
            for (int kind : {kProtectiveField, kWarningField})
                AppendFieldItem(items, i + 1, config->GetShelterConfigName(i), kind,
                                pair != nullptr ? pair->GetShelter(kind) : nullptr);
        }
    }

    std::unique_ptr<CShelter> WriteProtectiveField(const CShelterSelectItem& item, const CShelter& field) override
    {
        return WriteKVRField(m_sensor, item.m_nNumber, item.m_strName, &field, TRUE);
    }

    std::unique_ptr<CPolyShelter> SendWarningContour(const CShelterSelectItem& item, const CShelter& field) override
    {
        return RunKVRCommand43(m_sensor, item.m_nNumber, &field, TRUE);
    }

    BOOL StartVerification(const CShelterSelectItem& item) override
    {
        return RunKVRCommand41Sub1(m_sensor, kVerifyScanner, item.m_nNumber, TRUE);
    }

    std::unique_ptr<CPolyShelter> ReadVerifyContour() override
    {
        return ReadKVRScanSub4(m_sensor, kVerifyScanner, TRUE);
    }

    BOOL AcceptVerification(const CShelterSelectItem& item) override
    {
        return RunKVRCommand41Sub2(m_sensor, kVerifyScanner, item.m_nNumber, TRUE);
    }

    void CancelVerification(const CShelterSelectItem& item) override
    {
        RunKVRCommand41Sub0(m_sensor, kVerifyScanner, item.m_nNumber, TRUE);
    }

    void ShowVerifyContour(const CShelterSelectItem& item, std::unique_ptr<CPolyShelter> contour) override
    {
        CFieldTeachRecord& record = m_doc.GetVerifyRecord();
        if (record.GetFieldNumber() != item.m_nNumber)
            record.SetField(kVerifyScanner, item.m_nNumber, item.m_strName);
        record.SetContour(std::move(contour));
    }

    void DropVerifyContour() override { m_doc.GetVerifyRecord().Reset(); }

private:
    CKVRDoc& m_doc;
    CKVRSensor m_sensor;
};

} // namespace

// The first steps of the write: the unit checks the configuration and hands back its
// corrected copy, which is shown until the user decides; the unit stays logged in for
// the commit. Any failure leaves the own configuration as it was and the unit logged out.
int CKVRDoc::TransferToDevice()
{
    const CKVRConfig* config = GetConfiguration();
    BOOL shown = FALSE;
    if (config != nullptr) {
        CKVRSensor sensor;
        CTransferSession session(sensor);
        CKVRIdentity identity;
        if (session.Open() && session.Login() && ReadKVRIdentification(sensor, identity, TRUE)) {
            if (std::unique_ptr<CKVRConfig> corrected = CheckKVRConfiguration(sensor, *config, TRUE)) {
                ShowDeviceConfiguration(*this, std::move(corrected), identity.GetName(), identity.GetIdentification());
                NotifyFrames(kNotifyRefillCombos);
                session.KeepLoggedIn();
                shown = TRUE;
            }
        }
    }
    if (!shown)
        AfxMessageBox(IDP_TRANSFER_FAILED, MB_OK | MB_ICONEXCLAMATION);
    return shown;
}

int CKVRDoc::ConfirmTransfer(int nAccepted)
{
    CKVRSensor sensor;
    return DecideOnShownConfiguration(*this, sensor, nAccepted, [&] {
        return CommitKVRConfiguration(sensor, *GetConfiguration(), FALSE, TRUE) ? CommitResult::Committed
                                                                                : CommitResult::Failed;
    }, [this] {
        // Right after the commit: no save question.
        RunFieldTransfer();
    });
}

void CKVRDoc::RunFieldTransfer()
{
    CKVRFieldTransfer transfer(*this);
    transfer.Run();
}
