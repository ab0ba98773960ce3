#include "app/CZOKDoc.h"

#include "app/DeviceTransfer.h"
#include "device/CZOKSensor.h"
#include "device/ConfigurationProcedures.h"
#include "device/ZOKProcedures.h"
#include "dialogs/CShelterSelectDialog.h"
#include "model/CPolyShelter.h"
#include "model/CZOKIdentity.h"

namespace {

// Capability 6 of a scanner: the number of its beams.
constexpr int kBeamCountCapability = 6;
constexpr int kFullBeamCount = 360;
// A polygon field of more beams needs a scanner of the full beam count.
constexpr int kHalfResolutionBeams = 181;

enum class Gate { Open, Failed, Refused };

// Reads the identification for the write. A configuration with a type variant goes only
// to a scanner whose firmware knows variants (message 435 otherwise).
Gate PassFirmwareGate(CZOKSensor& sensor, const CZOKConfig& config, CZOKIdentity& identity)
{
    if (!sensor.ReadIdentity(identity))
        return Gate::Failed;
    if (IsInFirmwareWindow(identity.GetFirmwareVersion()) || config.GetSensorType().GetVariant() == 0)
        return Gate::Open;
    AfxMessageBox(IDP_VARIANT_NEEDS_FIRMWARE, MB_OK | MB_ICONEXCLAMATION);
    return Gate::Refused;
}

BOOL HasPolygonBeyond(const CZOKConfig& config, int beams)
{
    for (int kind : {kProtectiveField, kWarningField}) {
        const auto* polygon = dynamic_cast<const CPolyShelter*>(config.GetShelter(kind));
        if (polygon != nullptr && polygon->GetBeamCount() > beams)
            return TRUE;
    }
    return FALSE;
}

class CZOKFieldTransfer final : public CFieldTransfer {
public:
    explicit CZOKFieldTransfer(CZOKDoc& doc)
        : CFieldTransfer(doc, doc.GetState(), doc.GetFirstObjectCombo(), TRUE), m_doc(doc)
    {
    }

protected:
    CSensor& Sensor() override { return m_sensor; }

    BOOL CheckDevice() override
    {
        const CZOKConfig* config = m_doc.GetConfiguration();
        if (config == nullptr)
            return FALSE;
        if (m_sensor.GetCaps(kBeamCountCapability) != kFullBeamCount && HasPolygonBeyond(*config, kHalfResolutionBeams)) {
            AfxMessageBox(IDP_FIELD_HAS_TOO_MANY_BEAMS, MB_OK | MB_ICONEXCLAMATION);
            return FALSE;
        }
        return CheckZOKDeviceType(m_sensor, config->GetOption1(), TRUE);
    }

    void AddItems(CShelterSelectItemList& items) override
    {
        const CZOKConfig* config = m_doc.GetConfiguration();
        if (config == nullptr)
            return;
        for (int kind : {kProtectiveField, kWarningField})
            AppendFieldItem(items, 1, config->GetWarningName(), kind, config->GetShelter(kind));
    }

    std::unique_ptr<CShelter> WriteProtectiveField(const CShelterSelectItem&, const CShelter& field) override
    {
        return WriteZOKField(m_sensor, &field, TRUE);
    }

    std::unique_ptr<CPolyShelter> SendWarningContour(const CShelterSelectItem&, const CShelter& field) override
    {
        return RunZOKCommand43(m_sensor, &field, TRUE);
    }

    BOOL StartVerification(const CShelterSelectItem&) override { return RunZOKCommand41Sub1(m_sensor, TRUE); }
    std::unique_ptr<CPolyShelter> ReadVerifyContour() override { return ReadZOKScanSub4(m_sensor, TRUE); }
    BOOL AcceptVerification(const CShelterSelectItem&) override { return RunZOKCommand41Sub2(m_sensor, TRUE); }
    void CancelVerification(const CShelterSelectItem&) override { RunZOKCommand41Sub0(m_sensor, TRUE); }

    void ShowVerifyContour(const CShelterSelectItem&, std::unique_ptr<CPolyShelter> contour) override
    {
        m_doc.SetVerifyContour(std::move(contour));
    }

    void DropVerifyContour() override { m_doc.SetVerifyContour(nullptr); }

private:
    CZOKDoc& m_doc;
    CZOKSensor m_sensor;
};

} // namespace

// The first steps of the write (see CKVRDoc::TransferToDevice), behind the firmware gate.
int CZOKDoc::TransferToDevice()
{
    const CZOKConfig* config = GetConfiguration();
    BOOL shown = FALSE;
    Gate gate = Gate::Failed;
    if (config != nullptr) {
        CZOKSensor sensor;
        CTransferSession session(sensor);
        CZOKIdentity identity;
        if (session.Open())
            gate = PassFirmwareGate(sensor, *config, identity);
        if (gate == Gate::Open && session.Login()) {
            if (std::unique_ptr<CZOKConfig> corrected = CheckZOKConfiguration(sensor, *config, TRUE)) {
                ShowDeviceConfiguration(*this, std::move(corrected), identity.GetName(), identity.GetIdentification());
                NotifyFrames(kNotifyRefillCombos);
                session.KeepLoggedIn();
                shown = TRUE;
            }
        }
    }
    if (!shown && gate != Gate::Refused)
        AfxMessageBox(IDP_TRANSFER_FAILED, MB_OK | MB_ICONEXCLAMATION);
    return shown;
}

int CZOKDoc::ConfirmTransfer(int nAccepted)
{
    CZOKSensor sensor;
    return DecideOnShownConfiguration(*this, sensor, nAccepted, [&] {
        const CZOKConfig& config = *GetConfiguration();
        CZOKIdentity identity;
        switch (PassFirmwareGate(sensor, config, identity)) {
        case Gate::Refused:
            return CommitResult::Refused;
        case Gate::Failed:
            return CommitResult::Failed;
        case Gate::Open:
            break;
        }
        return CommitZOKConfiguration(sensor, config, TRUE) ? CommitResult::Committed : CommitResult::Failed;
    }, [this] {
        // Right after the commit: no save question.
        RunFieldTransfer();
    });
}

void CZOKDoc::RunFieldTransfer()
{
    CZOKFieldTransfer transfer(*this);
    transfer.Run();
}
