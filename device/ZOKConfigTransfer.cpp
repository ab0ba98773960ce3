// The whole-configuration transfers of CZOKSensor: read, write, check and commit of a
// CZOKConfig through the identification, parameter and field commands.
#include "device/CZOKSensor.h"

#include "model/CPolyShelter.h"
#include "model/CSensorType.h"
#include "model/CZOKConfig.h"

#include <exception>

namespace {

// Identification byte 25 holds the number of scans minus 1; 255 would need 256 scans.
constexpr BYTE kMaxScansMinusOne = 254;

template <typename Result, typename Operation>
Result Guarded(Operation operation)
{
    try {
        return operation();
    } catch (const std::exception&) {
        return Result{};
    }
}

// Reads the identification to learn whether the scanner knows the variant commands.
// FALSE when the identification cannot be read: the variant step cannot be decided then.
BOOL ReadFirmwareWindow(CZOKSensor& sensor, BOOL& inWindow)
{
    CZOKIdentity identity;
    if (!sensor.ReadIdentity(identity))
        return FALSE;
    inWindow = IsInFirmwareWindow(identity.GetFirmwareVersion());
    return TRUE;
}

// The variant is bit 0 of what the scanner carries.
BYTE VariantByte(const CZOKConfig& config)
{
    return VariantBit(config.GetSensorType().GetVariant());
}

// The values of the identification in the configuration. FALSE for a scan count that
// no byte can hold.
BOOL ApplyIdentity(const CZOKIdentity& identity, CZOKConfig& config)
{
    if (identity.GetByteAt(25) > kMaxScansMinusOne)
        return FALSE;
    config.SetOption1(identity.GetByte29());
    config.SetOption3(identity.GetByte23());
    config.GetModeDelay().Set(identity.GetByte20(), ClampDelay(identity.GetScaledValue()));
    config.SetScanCount(BYTE(identity.GetScanCount()));
    config.SetOption6(identity.GetByte28());
    config.SetOption4(identity.GetByte19());
    config.SetOption5(identity.GetByte24());
    return TRUE;
}

} // namespace

std::unique_ptr<CZOKConfig> CZOKSensor::ReadConfiguration()
{
    return Guarded<std::unique_ptr<CZOKConfig>>([&]() -> std::unique_ptr<CZOKConfig> {
        // A new configuration carries the field names of the language library.
        auto config = std::make_unique<CZOKConfig>();
        CSensorType type;
        if (!ReadSensorType(type))
            return nullptr;
        config->SetSensorType(type);

        CZOKIdentity identity;
        if (!ReadIdentity(identity) || !ApplyIdentity(identity, *config))
            return nullptr;

        std::unique_ptr<CShelter> protective = ReadProtectiveField();
        if (!protective)
            return nullptr;
        config->SetShelter(kProtectiveField, std::move(protective));
        std::unique_ptr<CShelter> warning = ReadWarningField();
        if (!warning)
            return nullptr;
        config->SetShelter(kWarningField, std::move(warning));
        return config;
    });
}

BOOL CZOKSensor::WriteConfiguration(const CZOKConfig& config)
{
    return Guarded<BOOL>([&]() -> BOOL {
        const CModeDelay& pair = config.GetModeDelay();
        BOOL inWindow = FALSE;
        return SendCommand67(config.GetOption1()) && WriteCommand60(config.GetOption3()) &&
               ReadFirmwareWindow(*this, inWindow) && (!inWindow || WriteCommand69(VariantByte(config))) &&
               WriteCommand44(pair.GetMode(), pair.GetDelay()) && WriteCommand63(config.GetScanCount()) &&
               SendCommand65(config.GetOption4()) && SendCommand62(config.GetOption5());
    });
}

std::unique_ptr<CZOKConfig> CZOKSensor::CheckConfiguration(const CZOKConfig& config)
{
    return Guarded<std::unique_ptr<CZOKConfig>>([&]() -> std::unique_ptr<CZOKConfig> {
        auto copy = std::make_unique<CZOKConfig>(config);

        BYTE option3 = copy->GetOption3();
        if (!CheckCommand60(option3))
            return nullptr;
        copy->SetOption3(option3);

        // Without an identification the variant step cannot be decided and is left out;
        // the check goes on, while write and commit refuse to leave the variant unsent.
        BOOL inWindow = FALSE;
        if (ReadFirmwareWindow(*this, inWindow) && inWindow) {
            BYTE variant = VariantByte(*copy);
            if (!CheckCommand69(variant))
                return nullptr;
            CSensorType type = copy->GetSensorType();
            type.SetVariant(VariantBit(variant));
            copy->SetSensorType(type);
        }

        BYTE mode = copy->GetModeDelay().GetMode();
        BYTE delay = copy->GetModeDelay().GetDelay();
        if (!CheckCommand44(mode, delay))
            return nullptr;
        copy->GetModeDelay().Set(mode, ClampDelay(delay));

        BYTE scans = copy->GetScanCount();
        if (!CheckCommand63(scans))
            return nullptr;
        copy->SetScanCount(scans);
        return copy;
    });
}

BOOL CZOKSensor::CommitConfiguration(const CZOKConfig& config)
{
    return Guarded<BOOL>([&]() -> BOOL {
        const CModeDelay& pair = config.GetModeDelay();
        BOOL inWindow = FALSE;
        return SendCommand67(config.GetOption1()) && CommitCommand61(config.GetOption3()) &&
               ReadFirmwareWindow(*this, inWindow) && (!inWindow || CommitCommand6A(VariantByte(config))) &&
               CommitCommand47(pair.GetMode(), pair.GetDelay()) && CommitCommand64(config.GetScanCount()) &&
               SendCommand65(config.GetOption4()) && SendCommand62(config.GetOption5());
    });
}
