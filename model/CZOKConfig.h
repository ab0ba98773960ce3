#pragma once
// The whole configuration of one ZOK scanner: its device type, a protective and a warning
// field (owned) with their names, a mode/delay pair, the number of scans and five option
// bytes.
#include "framework/core/CObject.h"
#include "framework/core/CString.h"
#include "model/CModeDelay.h"
#include "model/CSensorType.h"
#include "model/CShelter.h"

#include <memory>

class CZOKConfig : public CObject {
    DECLARE_SERIAL(CZOKConfig)
public:
    // Type code 4, the field names of the language library (strings 1180 and 1181), no
    // fields, options 0, 1, 1, 0, 0, two scans and the pair (0, 2).
    CZOKConfig();
    // Copies hold clones of the source's fields.
    CZOKConfig(const CZOKConfig& other);
    CZOKConfig& operator=(const CZOKConfig& other);
    ~CZOKConfig() override = default;
    void Copy(const CZOKConfig& other);

    // Version 4 written; versions 4 to 1 read (see the implementation). Older versions
    // carry the type's variant apart, which the type and both fields then take over.
    void Serialize(CArchive& ar) override;

    const CSensorType& GetSensorType() const { return m_sensorType; }
    void SetSensorType(const CSensorType& type) { m_sensorType = type; }

    // Names of the protective (kind 1) and the warning field (kind 2).
    const CString& GetProtectiveName() const { return m_strProtectiveName; }
    void SetProtectiveName(const CString& name) { m_strProtectiveName = name; }
    const CString& GetWarningName() const { return m_strWarningName; }
    void SetWarningName(const CString& name) { m_strWarningName = name; }

    // Option byte 1: 0 off, else 1 to 127.
    BYTE GetOption1() const { return m_byOption1; }
    void SetOption1(BYTE value) { m_byOption1 = value; }
    BYTE GetScanCount() const { return m_byScanCount; }
    void SetScanCount(BYTE scans) { m_byScanCount = scans; }
    BYTE GetOption3() const { return m_byOption3; }
    void SetOption3(BYTE value) { m_byOption3 = value; }
    BYTE GetOption4() const { return m_byOption4; }
    void SetOption4(BYTE value) { m_byOption4 = value; }
    BYTE GetOption5() const { return m_byOption5; }
    void SetOption5(BYTE value) { m_byOption5 = value; }
    BYTE GetOption6() const { return m_byOption6; }
    void SetOption6(BYTE value) { m_byOption6 = value; }
    CModeDelay& GetModeDelay() { return m_modeDelay; }
    const CModeDelay& GetModeDelay() const { return m_modeDelay; }

    // Kind 1 or 2: the old field of that kind is deleted and the configuration takes the
    // new one (which may be null). Another kind changes nothing, returns FALSE and leaves
    // the field with the caller.
    BOOL SetShelter(int kind, std::unique_ptr<CShelter>&& field);
    // The field of kind 1 or 2, else null.
    CShelter* GetShelter(int kind) const;
    // Hands the field of kind 1 or 2 to the caller; the configuration no longer holds it.
    std::unique_ptr<CShelter> DetachShelter(int kind);

private:
    std::unique_ptr<CShelter>* Slot(int kind);
    void Store(CArchive& ar);
    void Load(CArchive& ar);

    CSensorType m_sensorType;
    CString m_strProtectiveName;
    CString m_strWarningName;
    BYTE m_byOption1 = 0;
    BYTE m_byScanCount = 2;
    BYTE m_byOption3 = 1;
    BYTE m_byOption4 = 1;
    BYTE m_byOption5 = 0;
    BYTE m_byOption6 = 0;
    CModeDelay m_modeDelay{0, CModeDelay::kFixedDelay};
    std::unique_ptr<CShelter> m_pProtective;
    std::unique_ptr<CShelter> m_pWarning;
};
