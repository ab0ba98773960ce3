#pragma once
// A small application with two document types for the document/view tests: documents,
// views, child and main frames that log what happens to them, and a fixture that loads
// DocViewTest.rc, creates the main frame and registers both templates.
#include "framework/core/CArchive.h"
#include "framework/core/Library.h"
#include "framework/core/Resources.h"
#include "framework/gdi/CDC.h"
#include "framework/gdi/CGdiObject.h"
#include "framework/ui/CDocTemplate.h"
#include "framework/ui/CDocument.h"
#include "framework/ui/CMDIChildWnd.h"
#include "framework/ui/CMDIFrameWnd.h"
#include "framework/ui/CView.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/ScriptedUi.h"
#include "framework/ui/WindowHandle.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace docview {

constexpr UINT IDR_MAINFRAME = 1;
constexpr UINT IDR_ALPHA = 10;
constexpr UINT IDR_BETA = 11;
constexpr UINT ID_TOGGLE = 33001;
constexpr UINT ID_MARK = 33002;
constexpr UINT ID_NOBODY = 33003;
constexpr UINT ID_ROUTE = 33010;    // every level logs it and lets it go on
constexpr UINT ID_LOCKED = 33011;   // disabled by the document
constexpr UINT ID_UNLOCKED = 33012; // enabled by the document

inline std::vector<std::string>& Log()
{
    static std::vector<std::string> log;
    return log;
}

class AlphaDoc : public CDocument {
    DECLARE_DYNCREATE(AlphaDoc)
public:
    AlphaDoc() { Log().push_back("document"); }
    BOOL OnNewDocument() override
    {
        Log().push_back("new");
        return s_refuseNew ? FALSE : CDocument::OnNewDocument();
    }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            if (s_failStore)
                AfxThrowArchiveException(CArchiveException::genericException);
            ar << value << text;
        } else {
            ar >> value >> text;
        }
    }
    void DeleteContents() override
    {
        value = 0;
        text.Empty();
    }

    static inline bool s_refuseNew = false;
    static inline bool s_failStore = false;
    int value = 0;
    CString text;
    bool toggled = false;
    std::vector<UINT> ran;

protected:
    BOOL OnRoute(UINT) { Log().push_back("doc"); return FALSE; }
    void OnToggle() { toggled = !toggled; }
    void OnUpdateToggle(CCmdUI* ui) { ui->Enable(TRUE); ui->SetCheck(toggled ? 1 : 0); }
    void OnLocked() { ran.push_back(ID_LOCKED); }
    void OnUnlocked() { ran.push_back(ID_UNLOCKED); }
    void OnUpdateLocked(CCmdUI* ui) { ui->Enable(ui->m_nID == ID_UNLOCKED); }
    DECLARE_MESSAGE_MAP()
};

class AlphaView : public CView {
    DECLARE_DYNCREATE(AlphaView)
public:
    void OnDraw(CDC* pDC) override
    {
        CRect client;
        GetClientRect(&client);
        CBrush brush(RGB(0, 128, 255));
        pDC->FillRect(&client, &brush);
    }
    void OnInitialUpdate() override
    {
        Log().push_back("initial update");
        CView::OnInitialUpdate();
    }
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override
    {
        hints.push_back(lHint);
        CView::OnUpdate(pSender, lHint, pHint);
    }
    std::vector<LPARAM> hints;

protected:
    int OnCreate(LPCREATESTRUCT cs) override
    {
        Log().push_back("view");
        return CView::OnCreate(cs);
    }
    BOOL OnRoute(UINT) { Log().push_back("view"); return FALSE; }
    DECLARE_MESSAGE_MAP()
};

class BetaDoc : public CDocument {
    DECLARE_DYNCREATE(BetaDoc)
};

class ChildFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(ChildFrame)
protected:
    int OnCreate(LPCREATESTRUCT cs) override
    {
        Log().push_back("frame");
        return CMDIChildWnd::OnCreate(cs);
    }
    BOOL OnRoute(UINT) { Log().push_back("child frame"); return FALSE; }
    DECLARE_MESSAGE_MAP()
};

class MainFrame : public CMDIFrameWnd {
    DECLARE_DYNCREATE(MainFrame)
protected:
    BOOL OnRoute(UINT) { Log().push_back("main frame"); return FALSE; }
    DECLARE_MESSAGE_MAP()
};

class TestApp : public CWinApp {
public:
    BOOL OnRoute(UINT) { Log().push_back("application"); return FALSE; }
    DECLARE_MESSAGE_MAP()
};

// Runs the posted messages.
inline void Pump()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

class DocViewTestBase : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        const char* source = std::getenv("TALISO_SOURCE_DIR");
        const std::string path = std::string(source ? source : ".") + "/tests/framework/ui/DocViewTest.rc";
        std::ifstream file(path);
        ASSERT_TRUE(file) << "cannot read " << path;
        std::stringstream text;
        text << file.rdbuf();
        std::string error;
        m_module = CreateResourceModule("DocViewTest.rc", text.str(), nullptr, error);
        ASSERT_NE(m_module, nullptr) << error;
        m_previous = AfxGetResourceHandle();
        AfxSetResourceHandle(m_module);

        Log().clear();
        AlphaDoc::s_refuseNew = false;
        AlphaDoc::s_failStore = false;
        alpha = app.AddDocTemplate(std::make_unique<CMultiDocTemplate>(IDR_ALPHA, RUNTIME_CLASS(AlphaDoc),
                                                                       RUNTIME_CLASS(ChildFrame), RUNTIME_CLASS(AlphaView)));
        beta = app.AddDocTemplate(std::make_unique<CMultiDocTemplate>(IDR_BETA, RUNTIME_CLASS(BetaDoc),
                                                                      RUNTIME_CLASS(ChildFrame), RUNTIME_CLASS(AlphaView)));
        mainFrame = new MainFrame; // deletes itself with its window
        ASSERT_TRUE(mainFrame->LoadFrame(IDR_MAINFRAME));
        app.m_pMainWnd = mainFrame;
        mainFrame->MoveWindow(0, 0, 640, 480);
        mainFrame->ShowWindow(SW_SHOW);
    }

    void TearDown() override
    {
        app.CloseAllDocuments(TRUE);
        app.m_pMainWnd = nullptr;
        if (mainFrame != nullptr && mainFrame->m_hWnd != nullptr)
            mainFrame->DestroyWindow();
        Pump();
        AfxSetResourceHandle(m_previous);
        if (m_module)
            FreeLibrary(m_module);
    }

    TestApp app;
    MainFrame* mainFrame = nullptr;
    CDocTemplate* alpha = nullptr;
    CDocTemplate* beta = nullptr;

private:
    HINSTANCE m_module = nullptr;
    HINSTANCE m_previous = nullptr;
};

} // namespace docview
