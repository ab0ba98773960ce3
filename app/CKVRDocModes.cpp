#include "app/CKVRDoc.h"

#include "model/CPolyShelter.h"
#include "model/CSensorObject.h"

int CKVRDoc::RunMode1(int nAction) { return CCommonDoc::RunMode1(nAction); }
int CKVRDoc::RunMode2(int nAction) { return CCommonDoc::RunMode2(nAction); }
int CKVRDoc::RunMode3(int nAction) { return CCommonDoc::RunMode3(nAction); }
int CKVRDoc::RunMode4(int nAction) { return CCommonDoc::RunMode4(nAction); }
int CKVRDoc::RunMode5(int nAction) { return CCommonDoc::RunMode5(nAction); }

std::unique_ptr<CSensorObject> CKVRDoc::FetchScan(WORD wDivisor) { return CCommonDoc::FetchScan(wDivisor); }

CPolyShelter* CKVRDoc::GetTeachContour() const { return m_teachRecord.GetContour(); }
CPolyShelter* CKVRDoc::GetVerifyContour() const { return m_verifyRecord.GetContour(); }
