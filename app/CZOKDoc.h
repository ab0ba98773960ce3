#pragma once
// The document of a ZOK device: its configuration, read from the device when the
// application opens it as connected, or a new default configuration.
#include "app/CCommonDoc.h"
#include "model/CZOKConfig.h"

#include <memory>

class CZOKDoc : public CCommonDoc {
    DECLARE_DYNCREATE(CZOKDoc)
public:
    CZOKDoc();
    ~CZOKDoc() override;

    CZOKConfig* GetConfiguration() const { return m_pConfig.get(); }

    WORD GetSensorCount() override { return 1; }
    BOOL OnNewDocument() override;
    void DeleteContents() override;
    void Serialize(CArchive& ar) override;

private:
    std::unique_ptr<CZOKConfig> m_pConfig;
};
