#pragma once
// The common base of everything drawn in a scanner's plane and stored with a device
// type: the field shapes and the measured scan. It holds the device type, the time the
// object was made or last copied, and a modified mark.
#include "framework/core/CObject.h"
#include "framework/core/CTime.h"
#include "model/CSensorType.h"

#include <memory>

class CDC;

class CSensorObject : public CObject {
    DECLARE_DYNAMIC(CSensorObject)
public:
    ~CSensorObject() override = default;

    // Version 2: the sensor type, the time stamp plus 32400 seconds (32 bits) and the low
    // 16 bits of the mark. Version 1 has no mark and reads as mark 0.
    void Serialize(CArchive& ar) override;

    // A new heap copy of the same concrete class.
    virtual std::unique_ptr<CSensorObject> Clone() const = 0;
    virtual void SetModified(int mark) { m_nModified = mark; }
    int GetModified() const { return m_nModified; }

    virtual void DrawOutline(CDC* pDC) const = 0;
    virtual void DrawFilled(CDC* pDC) const = 0;
    virtual void DrawHandles(CDC* pDC) const = 0;
    virtual void DrawBeams(CDC* pDC) const;

    // Draw only when the layer is the sensor type's layer.
    void DrawOutlineOnLayer(CDC* pDC, int layer) const;
    void DrawFilledOnLayer(CDC* pDC, int layer) const;
    void DrawHandlesOnLayer(CDC* pDC, int layer) const;
    void DrawBeamsOnLayer(CDC* pDC, int layer) const;

    // Takes the type and time stamp over and marks this object as modified (1).
    void CopyFrom(const CSensorObject& other);

    CSensorType GetSensorType() const { return m_sensorType; }
    CTime GetTime() const { return m_time; }
    void SetTime(CTime time) { m_time = time; }
    void SetTimeNow() { m_time = CTime::GetCurrentTime(); }

    // Distances are kept in cm; the type takes no other unit.
    int GetUnit() const { return m_sensorType.GetUnit(); }
    void SetUnit(int unit) { m_sensorType.SetUnit(unit); }
    CString GetUnitText() const { return m_sensorType.GetUnitText(); }

protected:
    // Type code 4 variant 0, the current time, mark 0.
    CSensorObject();
    CSensorObject(const CSensorObject& other);
    CSensorObject& operator=(const CSensorObject&) = delete;

    CSensorType m_sensorType;

private:
    CTime m_time;
    int m_nModified = 0;
};
