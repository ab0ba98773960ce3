#include "app/CZOKDoc.h"

#include "app/CTalisoApp.h"
#include "app/DeviceConfigurationRead.h"
#include "device/CZOKSensor.h"

IMPLEMENT_DYNCREATE(CZOKDoc, CCommonDoc)

CZOKDoc::CZOKDoc() = default;
CZOKDoc::~CZOKDoc() = default;

BOOL CZOKDoc::OnNewDocument()
{
    if (!CCommonDoc::OnNewDocument())
        return FALSE;
    const CTalisoApp* app = GetTalisoApp();
    if (app != nullptr && app->IsConnectOnNew())
        m_pConfig = ReadConfigurationFromDevice(ReadZOKConfiguration);
    else
        m_pConfig = std::make_unique<CZOKConfig>();
    return m_pConfig != nullptr;
}

void CZOKDoc::DeleteContents()
{
    m_pConfig.reset();
    CCommonDoc::DeleteContents();
}

void CZOKDoc::Serialize(CArchive& ar)
{
    CCommonDoc::Serialize(ar);
    SerializeConfiguration(ar, m_pConfig, RUNTIME_CLASS(CZOKConfig));
}
