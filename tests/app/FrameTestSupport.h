#pragma once
// The program's frames with a device document in miniature: a main frame from the
// English language library, a template whose documents count what the frames ask of
// them, and helpers to open document windows and read the layout back.
#include "app/CCommonDoc.h"
#include "app/CSelectorComboBox.h"
#include "app/CTalisoMDIChildWnd.h"
#include "app/CTalisoMDIFrameWnd.h"
#include "device/ProcedureTestSupport.h"
#include "framework/core/TickCount.h"
#include "framework/gdi/CDC.h"
#include "framework/gdi/CGdiObject.h"
#include "framework/ui/CDocTemplate.h"
#include "framework/ui/CView.h"
#include "framework/ui/CWinApp.h"
#include "framework/ui/WindowHandle.h"

#include <QCoreApplication>
#include <QEvent>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

namespace frames {

class CountingDoc : public CCommonDoc {
    DECLARE_DYNCREATE(CountingDoc)
public:
    WORD GetSensorCount() override { return sensorCount; }
    void FillSelectorCombo(CSelectorComboBox*) override { ++fills[IDC_BAR_SELECTOR]; }
    void FillFirstObjectCombo(CSelectorComboBox*) override { ++fills[IDC_BAR_FIRST_OBJECT]; }
    void FillSecondObjectCombo(CSelectorComboBox*) override { ++fills[IDC_BAR_SECOND_OBJECT]; }
    void FillSimulationControl(UINT nID, CComboBox*) override { ++fills[nID]; }
    void OnSelectorChange(CSelectorComboBox* combo) override { changes.push_back({IDC_BAR_SELECTOR, combo}); }
    void OnFirstObjectChange(CSelectorComboBox* combo) override { changes.push_back({IDC_BAR_FIRST_OBJECT, combo}); }
    void OnSecondObjectChange(CSelectorComboBox* combo) override { changes.push_back({IDC_BAR_SECOND_OBJECT, combo}); }
    void OnSimulationControlChange(UINT nID, CComboBox* combo) override { changes.push_back({nID, combo}); }

    // Every mode starts (and re-arms the cycle at once); ticks are counted.
    int RunMode1(int action) override { return Run(1, action); }
    int RunMode2(int action) override { return Run(2, action); }
    int RunMode3(int action) override { return Run(3, action); }
    int RunMode4(int action) override { return Run(4, action); }
    int RunMode5(int action) override { return Run(5, action); }
    int ReplayProtocol(int action) override { return Run(6, action); }

    struct Change {
        UINT id;
        CComboBox* combo;
    };
    WORD sensorCount = 1;
    int ticks = 0;
    std::map<UINT, int> fills;
    std::vector<Change> changes;
    // Runs inside a tick, as a message box or device prompt dispatching messages would.
    std::function<void()> duringTick;

private:
    int Run(int, int action)
    {
        if (action == kModeActionStart)
            SetCycle(1);
        if (action == kModeActionTick) {
            ++ticks;
            if (duringTick)
                duringTick();
            SetCycle(1);
        }
        return 1;
    }
};

class PlainView : public CView {
    DECLARE_DYNCREATE(PlainView)
public:
    void OnDraw(CDC* pDC) override
    {
        CRect client;
        GetClientRect(&client);
        pDC->FillSolidRect(&client, RGB(255, 255, 255));
    }
};

class FrameApp : public CWinApp {};

// Waits until the tick counter passed the documents' deadlines of 1 ms.
inline void LetTheCycleComeDue()
{
    Sleep(3);
}

inline void PumpFrames()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

class FrameTestBase : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxEnsureGuiApplication());
        ASSERT_TRUE(texts.Loaded()) << "the English language library is needed";
        docTemplate = app.AddDocTemplate(std::make_unique<CMultiDocTemplate>(
            4, RUNTIME_CLASS(CountingDoc), RUNTIME_CLASS(CTalisoMDIChildWnd), RUNTIME_CLASS(PlainView)));
        mainFrame = new CTalisoMDIFrameWnd;
        ASSERT_TRUE(mainFrame->LoadFrame(IDR_MAINFRAME));
        app.m_pMainWnd = mainFrame;
        mainFrame->MoveWindow(0, 0, 1000, 720);
        mainFrame->ShowWindow(SW_SHOW);
    }

    void TearDown() override
    {
        app.CloseAllDocuments(TRUE);
        app.m_pMainWnd = nullptr;
        if (mainFrame != nullptr && mainFrame->m_hWnd != nullptr)
            mainFrame->DestroyWindow();
        PumpFrames();
        // The frame's widgets go now, not in some later test's modal loop.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    CountingDoc* OpenDocument()
    {
        return dynamic_cast<CountingDoc*>(docTemplate->OpenDocumentFile(nullptr));
    }

    static CTalisoMDIChildWnd* FrameOf(CDocument* doc)
    {
        POSITION pos = doc->GetFirstViewPosition();
        return pos != nullptr ? dynamic_cast<CTalisoMDIChildWnd*>(doc->GetNextView(pos)->GetParentFrame()) : nullptr;
    }

    EnglishTexts texts;
    FrameApp app;
    CTalisoMDIFrameWnd* mainFrame = nullptr;
    CDocTemplate* docTemplate = nullptr;
};

} // namespace frames
