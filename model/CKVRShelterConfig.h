#pragma once
// A field pair of a KVR configuration: one protective field (kind 1) and one warning
// field (kind 2), both owned; either may be missing.
#include "framework/core/CObject.h"
#include "model/CShelter.h"

#include <memory>

class CSensorType;

class CKVRShelterConfig : public CObject {
    DECLARE_SERIAL(CKVRShelterConfig)
public:
    CKVRShelterConfig() = default;
    // Copies hold clones of the source's fields.
    CKVRShelterConfig(const CKVRShelterConfig& other);
    CKVRShelterConfig& operator=(const CKVRShelterConfig& other);
    ~CKVRShelterConfig() override = default;

    // Version 1, the protective field, the warning field (each by pointer, null allowed).
    void Serialize(CArchive& ar) override;

    // Kind 1 or 2: the old field of that kind is deleted and the pair takes the new one
    // (which may be null). Another kind changes nothing, returns FALSE and leaves the
    // field with the caller.
    BOOL SetShelter(int kind, std::unique_ptr<CShelter>&& field);
    // The field of kind 1 or 2, else null.
    CShelter* GetShelter(int kind) const;
    // Hands the field of kind 1 or 2 to the caller; the pair no longer holds it.
    std::unique_ptr<CShelter> DetachShelter(int kind);

    // Copies the type into both fields' sensor-object part; nothing else of them changes.
    void CopySensorTypeToFields(const CSensorType& type);

private:
    std::unique_ptr<CShelter>* Slot(int kind);

    std::unique_ptr<CShelter> m_pProtective;
    std::unique_ptr<CShelter> m_pWarning;
};
