#pragma once
// The document of a KVR device: its configuration, read from the device when the
// application opens it as connected, or a new default configuration.
#include "app/CCommonDoc.h"
#include "model/CKVRConfig.h"

#include <memory>

class CKVRDoc : public CCommonDoc {
    DECLARE_DYNCREATE(CKVRDoc)
public:
    CKVRDoc();
    ~CKVRDoc() override;

    CKVRConfig* GetConfiguration() const { return m_pConfig.get(); }

    WORD GetSensorCount() override;
    BOOL OnNewDocument() override;
    void DeleteContents() override;
    void Serialize(CArchive& ar) override;

private:
    std::unique_ptr<CKVRConfig> m_pConfig;
};
