#include "app/CKVRDoc.h"

#include "app/CTalisoApp.h"
#include "app/DeviceConfigurationRead.h"
#include "device/CKVRSensor.h"

IMPLEMENT_DYNCREATE(CKVRDoc, CCommonDoc)

CKVRDoc::CKVRDoc() = default;
CKVRDoc::~CKVRDoc() = default;

WORD CKVRDoc::GetSensorCount()
{
    return m_pConfig != nullptr ? WORD(m_pConfig->GetSensorConfigCount()) : WORD(0);
}

BOOL CKVRDoc::OnNewDocument()
{
    if (!CCommonDoc::OnNewDocument())
        return FALSE;
    const CTalisoApp* app = GetTalisoApp();
    if (app != nullptr && app->IsConnectOnNew())
        m_pConfig = ReadConfigurationFromDevice(ReadKVRConfiguration);
    else
        m_pConfig = std::make_unique<CKVRConfig>();
    return m_pConfig != nullptr;
}

void CKVRDoc::DeleteContents()
{
    m_pConfig.reset();
    CCommonDoc::DeleteContents();
}

void CKVRDoc::Serialize(CArchive& ar)
{
    CCommonDoc::Serialize(ar);
    SerializeConfiguration(ar, m_pConfig, RUNTIME_CLASS(CKVRConfig));
}
