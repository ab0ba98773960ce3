#pragma once
// The family level of a device document file, below the common level: a version byte,
// the selected scanner (16 bits, sign-extended on reading), the two field selections
// (32 bits each), the configuration as an object of its class, the device's name and
// type text and the simulated-file flag (16 bits). The KVR document writes the
// configuration after the selections, the ZOK document before them. Version 4 is
// written; KVR reads 4 and 3, ZOK 4 to 1 (see the implementation for what older
// versions lack).
//
// Loading fills only what the caller passes in and throws the archive's exception on
// any fault (unknown version: badSchema; another class or no configuration: badClass;
// a short file: endOfFile), so a caller that commits only after a load returned is
// never left half-loaded.
#include "framework/core/CString.h"
#include "model/CShelterSelection.h"

#include <memory>

class CArchive;
class CKVRConfig;
class CZOKConfig;

// The text of a device name and type text that no device gave.
constexpr UINT IDS_NO_DEVICE_IDENTITY = 1067;
constexpr BYTE kDocumentFileVersion = 4;

struct DocumentFileState {
    int selectedScanner = 0;
    CShelterSelection current;
    CShelterSelection second;
    CString deviceName;
    CString deviceType;
    int simulatedFile = 0;
};

// One pair per family; a load sets config only when it returns.
void StoreDocumentLevel(CArchive& ar, const DocumentFileState& state, const CKVRConfig& config);
void LoadDocumentLevel(CArchive& ar, DocumentFileState& state, std::unique_ptr<CKVRConfig>& config);

void StoreDocumentLevel(CArchive& ar, const DocumentFileState& state, const CZOKConfig& config);
void LoadDocumentLevel(CArchive& ar, DocumentFileState& state, std::unique_ptr<CZOKConfig>& config);
