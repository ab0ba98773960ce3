#include "app/DocumentFile.h"

#include "framework/core/CArchive.h"
#include "framework/core/CException.h"
#include "model/ArchiveOwnership.h"
#include "model/CKVRConfig.h"
#include "model/CZOKConfig.h"

namespace {

constexpr BYTE kKVRVersionWithoutIdentity = 3;
constexpr BYTE kZOKVersionWithoutIdentity = 3;
constexpr BYTE kZOKVersionInlineConfig = 2;
constexpr BYTE kZOKVersionWithoutSelections = 1;

[[noreturn]] void Refuse(CArchive& ar, int cause)
{
    AfxThrowArchiveException(cause, ar.m_strFileName.c_str());
}

BYTE ReadVersion(CArchive& ar, BYTE oldest)
{
    BYTE version = 0;
    ar >> version;
    if (version < oldest || version > kDocumentFileVersion)
        Refuse(ar, CArchiveException::badSchema);
    return version;
}

void StoreSelections(CArchive& ar, const DocumentFileState& state)
{
    ar << WORD(state.selectedScanner & 0xFFFF) << state.current.GetValue() << state.second.GetValue();
}

void LoadSelections(CArchive& ar, DocumentFileState& state)
{
    short scanner = 0;
    DWORD current = 0;
    DWORD second = 0;
    ar >> scanner >> current >> second;
    state.selectedScanner = scanner;
    state.current.SetValue(current);
    state.second.SetValue(second);
}

void StoreIdentity(CArchive& ar, const DocumentFileState& state)
{
    ar << state.deviceName << state.deviceType << WORD(state.simulatedFile != 0 ? 1 : 0);
}

void LoadIdentity(CArchive& ar, DocumentFileState& state)
{
    WORD simulated = 0;
    ar >> state.deviceName >> state.deviceType >> simulated;
    state.simulatedFile = simulated;
}

void SetNoIdentity(DocumentFileState& state)
{
    state.deviceName.LoadString(IDS_NO_DEVICE_IDENTITY);
    state.deviceType = state.deviceName;
    state.simulatedFile = 0;
}

// The configuration object; a file without one cannot be a document.
template <class Config>
std::unique_ptr<Config> LoadConfigObject(CArchive& ar, const CRuntimeClass* configClass)
{
    std::unique_ptr<Config> config = ReadOwned<Config>(ar, configClass);
    if (config == nullptr)
        Refuse(ar, CArchiveException::badClass);
    return config;
}

void StoreConfigObject(CArchive& ar, const CObject& config)
{
    ar.WriteObject(&config);
}

} // namespace

void StoreDocumentLevel(CArchive& ar, const DocumentFileState& state, const CKVRConfig& config)
{
    ar << kDocumentFileVersion;
    StoreSelections(ar, state);
    StoreConfigObject(ar, config);
    StoreIdentity(ar, state);
}

void LoadDocumentLevel(CArchive& ar, DocumentFileState& state, std::unique_ptr<CKVRConfig>& config)
{
    const BYTE version = ReadVersion(ar, kKVRVersionWithoutIdentity);
    LoadSelections(ar, state);
    std::unique_ptr<CKVRConfig> loaded = LoadConfigObject<CKVRConfig>(ar, RUNTIME_CLASS(CKVRConfig));
    if (version == kKVRVersionWithoutIdentity)
        SetNoIdentity(state);
    else
        LoadIdentity(ar, state);
    config = std::move(loaded);
}

void StoreDocumentLevel(CArchive& ar, const DocumentFileState& state, const CZOKConfig& config)
{
    ar << kDocumentFileVersion;
    StoreConfigObject(ar, config);
    StoreSelections(ar, state);
    StoreIdentity(ar, state);
}

void LoadDocumentLevel(CArchive& ar, DocumentFileState& state, std::unique_ptr<CZOKConfig>& config)
{
    const BYTE version = ReadVersion(ar, kZOKVersionWithoutSelections);
    std::unique_ptr<CZOKConfig> loaded;
    if (version > kZOKVersionInlineConfig) {
        loaded = LoadConfigObject<CZOKConfig>(ar, RUNTIME_CLASS(CZOKConfig));
    } else {
        // Older files hold the configuration's own data without an object reference.
        loaded = std::make_unique<CZOKConfig>();
        loaded->Serialize(ar);
    }
    if (version == kZOKVersionWithoutSelections) {
        WORD dropped = 0;
        ar >> dropped >> dropped;
        state.selectedScanner = 0;
        state.current.SetIndexKind(0, kProtectiveField);
        state.second.Clear();
    } else {
        LoadSelections(ar, state);
    }
    if (version <= kZOKVersionWithoutIdentity)
        SetNoIdentity(state);
    else
        LoadIdentity(ar, state);
    config = std::move(loaded);
}
