#include "app/CZOKDoc.h"

#include "model/CPolyShelter.h"
#include "model/CSensorObject.h"

int CZOKDoc::RunMode1(int nAction) { return CCommonDoc::RunMode1(nAction); }
int CZOKDoc::RunMode2(int nAction) { return CCommonDoc::RunMode2(nAction); }
int CZOKDoc::RunMode3(int nAction) { return CCommonDoc::RunMode3(nAction); }
int CZOKDoc::RunMode4(int nAction) { return CCommonDoc::RunMode4(nAction); }

std::unique_ptr<CSensorObject> CZOKDoc::FetchScan(WORD wDivisor) { return CCommonDoc::FetchScan(wDivisor); }

CPolyShelter* CZOKDoc::GetTeachContour() const { return m_pTeachContour.get(); }
CPolyShelter* CZOKDoc::GetVerifyContour() const { return m_pVerifyContour.get(); }
void CZOKDoc::SetVerifyContour(std::unique_ptr<CPolyShelter> contour) { m_pVerifyContour = std::move(contour); }
