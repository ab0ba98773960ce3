#pragma once
// A minimal serialisable field for the configuration tests: a radius and nothing else, so
// that the records can be tested without the real shapes.
#include "model/CShelter.h"

class KVRFieldStub : public CShelter {
    DECLARE_SERIAL(KVRFieldStub)
public:
    KVRFieldStub() = default;
    KVRFieldStub(const CSensorType& type, int kind, WORD radius) : m_radius(radius) { SetSensorType(type, kind); }
    KVRFieldStub(const KVRFieldStub& other) : CShelter(other), m_radius(other.m_radius) {}

    void Serialize(CArchive& ar) override;
    std::unique_ptr<CSensorObject> Clone() const override { return std::make_unique<KVRFieldStub>(*this); }

    void DrawOutline(CDC*) const override {}
    void DrawFilled(CDC*) const override {}
    void DrawHandles(CDC*) const override {}
    WORD GetMinExtent() const override { return m_radius; }
    WORD GetMaxExtent() const override { return m_radius; }
    BOOL IsInSensorRange(const CSensorPoint&) const override { return TRUE; }
    BOOL IsSelectedVertex(const CSensorPoint&) const override { return FALSE; }
    BOOL HitsVertex(const CSensorPoint&) const override { return FALSE; }
    BOOL SetPoint(const CSensorPoint&) override { return FALSE; }
    BOOL RemovePoint(const CSensorPoint&) override { return FALSE; }
    BOOL HasSelection() const override { return FALSE; }
    BOOL Select(int, const CSensorPoint&) override { return FALSE; }
    BOOL DeleteSelection() override { return FALSE; }
    BOOL Edit(CWnd*, int, BOOL, CObject*) override { return FALSE; }
    void ResetToDefaults() override {}

    WORD m_radius = 0;
};
