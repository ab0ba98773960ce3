#pragma once
// The common base of the device documents: the mode machine (modes 0 to 6, started,
// stopped and aborted by toggling), the cycle that ticks the active mode at its own
// period, the current result the views draw, and the hooks through which the child
// frame fills and reads its bar controls. Family documents override the virtual hooks.
// It also records the results it reads into a protocol file and replays such files.
#include "app/CTalisoDoc.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class CCmdUI;
class CComboBox;
class CObList;
class CSelectorComboBox;
class CSensorObject;

// Document modes.
constexpr int kModeNone = 0;
constexpr int kModeEdit = 1;
constexpr int kModeMonitor = 2;
constexpr int kModeTeachIn = 3;
constexpr int kModeVerify = 4;
constexpr int kModeSimulation = 5;
constexpr int kModeReplay = 6;

// Actions on a mode's operation.
constexpr int kModeActionStart = 0;
constexpr int kModeActionStop = 1;
constexpr int kModeActionAbort = 2;
constexpr int kModeActionTick = 3;

// The private message a document sends to its own frames (wParam: the flags below).
// Kept clear of the control-private message range so no bar control mistakes it.
constexpr UINT WM_DOCUMENT_FRAMES_NOTIFY = 0x8000 + 1; // WM_APP + 1
constexpr int kNotifyRefillCombos = 1;  // refill the three selector combo boxes
constexpr int kNotifyModeLayout = 2;    // bars and timer by the document's mode
// A follow-up a document posts to its first view, run after the current message
// (wParam: the command or the mode; lParam: the flags below).
constexpr UINT WM_DOCUMENT_FOLLOW_UP = 0x8000 + 2; // WM_APP + 2
constexpr LPARAM kFollowUpNoPrompt = 1;  // the command runs without the save question
constexpr LPARAM kFollowUpModeStop = 2;  // wParam is a mode to stop, if it still runs

// Controls of the child frame's bars that the document fills and reads.
constexpr UINT IDC_BAR_FIRST_OBJECT = 2141;
constexpr UINT IDC_BAR_SECOND_OBJECT = 2058;
constexpr UINT IDC_BAR_SELECTOR = 2143;
constexpr UINT IDC_SIMULATION_1 = 2075;
constexpr UINT IDC_SIMULATION_2 = 2076;
constexpr UINT IDC_SIMULATION_3 = 2077;
constexpr UINT IDC_SIMULATION_4 = 2079;
constexpr UINT IDC_SIMULATION_5 = 2080;
constexpr UINT kSimulationControlIds[] = {IDC_SIMULATION_1, IDC_SIMULATION_2, IDC_SIMULATION_3, IDC_SIMULATION_4,
                                          IDC_SIMULATION_5};

// Stops the active mode.
constexpr UINT ID_STOP_MODE = 32911;

// Protocol recording and replay.
constexpr UINT ID_TOGGLE_RECORDING = 32807;
constexpr UINT ID_REPLAY_LAST = 32812;
constexpr UINT ID_REPLAY_PREVIOUS = 32813;
constexpr UINT ID_REPLAY_NEXT = 32816;
constexpr UINT ID_REPLAY_FIRST = 32817;
constexpr UINT ID_REPLAY_PAUSE = 32818;
constexpr UINT ID_REPLAY_PLAY = 32819;
constexpr UINT IDP_RECORDING_NOTE = 341;
constexpr UINT IDS_STOP_RECORDING = 971;
constexpr UINT IDS_START_RECORDING = 972;
constexpr UINT IDS_PROTOCOL_FILES = 1117; // default extension "\n" filter
constexpr UINT IDS_RECORDING_PANE = 58;
constexpr UINT IDS_RECORDING_STOPPED = 1811;
constexpr int kHelpProtocolReplay = 115;
constexpr int kHelpProtocolRecording = 116;
// Automatic replay shows one entry per period.
constexpr DWORD kReplayStepPeriod = 1000;

class CCommonDoc : public CTalisoDoc {
    DECLARE_SERIAL(CCommonDoc)
public:
    CCommonDoc();
    ~CCommonDoc() override;

    // Mode machine. SetMode toggles: the active mode's number stops it, another number
    // aborts the active mode and starts the new one; a refused start leaves mode 0.
    int GetMode() const { return m_nMode; }
    void SetMode(int nMode);
    void StartMode(int nMode);
    void StopMode(int nMode);
    void AbortMode(int nMode);
    void TickMode(int nMode);
    // Aborts whatever mode runs and redraws the views (before saving or closing).
    void AbortActiveMode();

    // Follow-ups run after the current message, through the document's first view, and
    // are dropped when it has no view by then. A command runs only when its update rule
    // enables it at that time; noPrompt skips the save question while that command runs,
    // and only then, so a refused follow-up can never skip a later question.
    void RequestFollowUp(UINT nCommand, BOOL bNoPrompt);
    // Stops the mode after the current message, only when it is still the active mode.
    void RequestModeStop(int nMode);
    // A posted follow-up, through the view (whose command routing reaches the document).
    void RunFollowUp(CCmdTarget* pRouter, WPARAM wParam, LPARAM lParam);
    // Runs the command at once (it must be enabled now); noPrompt as for a follow-up.
    BOOL RunCommand(CCmdTarget* pRouter, UINT nCommand, BOOL bNoPrompt);
    BOOL IsSavePromptSkipped() const { return m_bSavePromptSkipped; }

    // Sends WM_DOCUMENT_FRAMES_NOTIFY with the flags to each frame that shows this
    // document, and to no other window.
    void NotifyFrames(int nFlags);

    // Cycle: a tick of the active mode at most once per period, driven by the active
    // child frame's timer. A period of 0 disarms it. The deadlines are read from the tick
    // source, the system's tick counter unless one is set (tests drive their own clock).
    using TickSource = std::function<DWORD()>;
    void SetTickSource(TickSource source);
    int SetCycle(DWORD dwPeriod);
    void StopCycle();
    void OnCycle();
    BOOL IsCycleArmed() const { return m_bCycleArmed; }
    // Whether a tick at 'now' is due for the deadline; right across the counter's wrap.
    static BOOL IsCycleDue(DWORD now, DWORD deadline) { return std::int32_t(now - deadline) >= 0; }
    DWORD GetCyclePeriod() const { return m_dwCyclePeriod; }
    DWORD GetCycleDeadline() const { return m_dwCycleDeadline; }

    // The current result (the last scan read or replayed), owned by the document.
    void SetResult(const CSensorObject* pResult);
    CSensorObject* GetResult() const { return m_pResult.get(); }
    void DeleteResult();
    // Asks the device for a result by the settings' scan mode; 1 when a new one came
    // (it is then the current result and recorded).
    int FetchResult();

    // Protocol recording: while on, a copy of every result handed here is appended to the
    // protocol file, which always holds every result recorded since recording began.
    void RecordResult(const CSensorObject* pResult);
    BOOL IsRecording() const { return m_bRecording; }
    const CString& GetProtocolPath() const { return m_strProtocolPath; }
    // Replay (mode 6) keeps the entries of the file it loaded in a list of its own.
    BOOL IsProtocolLoaded() const { return m_bProtocolLoaded; }
    BOOL IsPlaying() const { return m_bPlaying; }
    // Shows a copy of the replayed entry; nothing for an index outside or already shown.
    void ShowEntry(int nIndex);
    // position: 1-based index of the entry shown, 0 for none; returns the entry count.
    int GetProtocolPosition(int* pPosition, int* pCount) const;

    // The child frame's bar controls, by control id: fills the control, or hands its new
    // selection to the document. Clears the undo store before the first-object combo is
    // filled or changed (and the current selection on a change), and drops the result
    // before a selector change. Unknown ids do nothing.
    void FillBarControl(UINT nID, CComboBox* pCombo);
    void OnBarControlChange(UINT nID, CComboBox* pCombo);

    // Scanners shown side by side in the live modes.
    virtual WORD GetSensorCount();

    // Bar hooks of the family documents.
    virtual void FillSelectorCombo(CSelectorComboBox* pCombo);
    virtual void OnSelectorChange(CSelectorComboBox* pCombo);
    virtual void FillFirstObjectCombo(CSelectorComboBox* pCombo);
    virtual void OnFirstObjectChange(CSelectorComboBox* pCombo);
    virtual void FillSecondObjectCombo(CSelectorComboBox* pCombo);
    virtual void OnSecondObjectChange(CSelectorComboBox* pCombo);
    // nID is one of kSimulationControlIds.
    virtual void FillSimulationControl(UINT nID, CComboBox* pCombo);
    virtual void OnSimulationControlChange(UINT nID, CComboBox* pCombo);

    // A change of mode; the default drops the current result.
    virtual void OnModeChanged(int nOldMode, int nNewMode);
    // Mode operations: a start returning exactly 1 enters the mode; a tick returning 0
    // ends it. Stop and abort results are not used.
    virtual int RunMode1(int nAction);
    virtual int RunMode2(int nAction);
    virtual int RunMode3(int nAction);
    virtual int RunMode4(int nAction);
    virtual int RunMode5(int nAction);
    virtual int ReplayProtocol(int nAction);

    // Device transfer and printing hooks the views call.
    virtual int TransferToDevice();
    virtual int ConfirmTransfer(int nAccepted);
    virtual int PreparePrint(int nKind);
    virtual int BuildReport(CObList* pPrintObjects, int nKind);
    virtual void EndPrint(int nKind);

    // Result sources; each returns a new object owned by the caller, or null.
    virtual std::unique_ptr<CSensorObject> FetchScan(WORD wDivisor);
    virtual std::unique_ptr<CSensorObject> FetchResultByIndex(int nIndex);
    virtual std::unique_ptr<CSensorObject> FetchResultByRange(int nFrom, int nTo);

    BOOL CanCloseFrame(CFrameWnd* pFrame) override;
    void DeleteContents() override;
    // The common level of the document file: its version byte.
    void Serialize(CArchive& ar) override;
    // Asks to save a modified document; FALSE (keep it open) on Cancel and whenever the
    // answer Yes does not end in a saved file.
    BOOL SaveModified() override;

    afx_msg void OnStopMode();
    afx_msg void OnFileClose();
    afx_msg void OnFileSave();
    afx_msg void OnFileSaveAs();

    afx_msg void OnToggleRecording();
    afx_msg void OnReplayPlay();
    afx_msg void OnReplayPause();
    afx_msg void OnReplayFirst();
    afx_msg void OnReplayPrevious();
    afx_msg void OnReplayNext();
    afx_msg void OnReplayLast();
    afx_msg void OnUpdateToggleRecording(CCmdUI* pCmdUI);
    afx_msg void OnUpdateRecordingPane(CCmdUI* pCmdUI);
    afx_msg void OnUpdateReplayPlay(CCmdUI* pCmdUI);
    afx_msg void OnUpdateReplayPause(CCmdUI* pCmdUI);
    afx_msg void OnUpdateReplayBackwards(CCmdUI* pCmdUI);
    afx_msg void OnUpdateReplayForwards(CCmdUI* pCmdUI);

protected:
    // One tick of the active mode (elapsed: ms since the cycle was last armed).
    virtual void OnCycleTick(DWORD dwElapsed);
    // The operation of mode m with the action; 0 for a mode without one.
    int RunModeAction(int nMode, int nAction);

private:
    class ProtocolWriter;
    using ResultList = std::vector<std::unique_ptr<CSensorObject>>;

    DWORD Now() const;
    // The save prompt for a new name; FALSE when the user cancels it.
    BOOL PromptSavePath(CString& path);
    BOOL SaveUnderNewName();
    // Writes the recorded list out; FALSE (reported) when the file could not be written.
    BOOL WriteProtocol();
    void ReportRecordingStopped(const CException& e) const;
    void StopRecording();
    // Reads the protocol file into the replay list; TRUE when it yielded an entry.
    BOOL LoadProtocol(const CString& path);
    void UnloadProtocol();
    // The copy of the entry shown, when something dropped the current result.
    void ShowEntryAgain();

    int m_nMode = kModeNone;
    BOOL m_bSavePromptSkipped = FALSE;
    DWORD m_dwCyclePeriod = 0;
    DWORD m_dwCycleDeadline = 0;
    // Separate from the period and deadline: a deadline of 0 is a valid tick count.
    BOOL m_bCycleArmed = FALSE;
    TickSource m_tickSource;
    std::unique_ptr<CSensorObject> m_pResult;

    CString m_strProtocolPath;
    BOOL m_bRecording = FALSE;
    BOOL m_bProtocolLoaded = FALSE;
    BOOL m_bPlaying = FALSE;
    // Recording and replay never share entries: stopping a replay leaves the recording
    // (and its file) as it was.
    ResultList m_recorded;
    ResultList m_replay;
    int m_nShown = -1;
    std::unique_ptr<ProtocolWriter> m_pProtocolWriter;

    DECLARE_MESSAGE_MAP()
};
