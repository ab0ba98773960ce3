#pragma once
// The user levels 1 to 5 (0 only before start-up) with their five bytes of right bits and
// the password the current user logged in with, held by the one instance theLoginDialog
// for the whole run; the same object is the login dialog (template 104) where the user
// picks a level and, where the level needs one, enters a password the device must accept.
#include "device/LoginApplication.h"
#include "dialogs/controls/CPasswordEdit.h"
#include "dialogs/controls/CPictureButton.h"
#include "framework/ui/CDialog.h"

#include <array>
#include <memory>

class CSensor;

class CLoginDialog : public CDialog {
    DECLARE_DYNAMIC(CLoginDialog)
public:
    static constexpr int kStandardLevel = 4;
    static constexpr int kLevelCount = 6;
    // Dialog results besides IDCANCEL: the buttons that ended it.
    static constexpr int IDC_LOGIN = 2081;
    static constexpr int IDC_STANDARD_LEVEL = 2083;
    // Accepted for levels 2 and 3 and refused for level 5 without asking the device.
    static constexpr const char* kFactoryPassword = "MIRTOVAL";

    CLoginDialog();
    ~CLoginDialog() override;

    // Where the dialog saves and closes documents; none means no documents. The device
    // of the password check is connected as every device procedure connects it.
    void SetApplication(LoginApplication* application) { m_pApplication = application; }

    // Level 4; the application calls it at start-up.
    void SetStartLevel() { SetLevel(kStandardLevel); }
    // Runs the dialog modally; the result is IDC_LOGIN, IDC_STANDARD_LEVEL or IDCANCEL.
    INT_PTR RunLogin() { return DoModal(); }

    // Empties the password and the level name and clears the rights, then sets the level
    // 0 to 5 with its name, rights and password-needed flag. Level 0 keeps the flag; any
    // other number keeps the level number with no rights at all.
    void SetLevel(int level);
    int GetLevel() const { return m_nLevel; }
    CString GetLevelName() const { return m_strLevelName; }
    CString GetPassword() const { return m_strPassword; }
    void SetPassword(const CString& password) { m_strPassword = password; }
    void ClearPassword() { m_strPassword.Empty(); }
    int IsPasswordNeeded() const { return m_bPasswordNeeded; }
    BYTE GetRightByte(int index) const { return m_rights.at(std::size_t(index)); }

    // Right bits of the current level, each 0 or 1.
    int CanCreateDocument() const { return Right(0, 0); }
    int GetRight0Bit1() const { return Right(0, 1); }
    int GetRight0Bit2() const { return Right(0, 2); }
    int CanSaveDocument() const { return Right(0, 3); }
    int GetRight0Bit4() const { return Right(0, 4); }
    int GetRight0Bit5() const { return Right(0, 5); }
    int GetRight0Bit6() const { return Right(0, 6); }
    int GetRight0Bit7() const { return Right(0, 7); }
    int CanUseMode1() const { return Right(1, 0); }
    int CanUseMode2() const { return Right(1, 1); }
    int GetRight1Bit2() const { return Right(1, 2); }
    int CanUseMode3() const { return Right(1, 3); }
    int CanUseMode4() const { return Right(1, 4); }
    int CanRunFieldSession() const { return Right(1, 5); }
    int CanReadField() const { return Right(1, 6); }
    int CanTestConnection() const { return Right(1, 7); }
    int CanEditZOKParameters() const { return Right(2, 0); }
    int CanWriteSystem() const { return Right(2, 1); }
    int CanChangePassword1() const { return Right(2, 2); }
    int CanChangePassword2() const { return Right(2, 3); }
    int CanChangePassword3() const { return Right(2, 4); }
    int CanShowDiagnosisResults() const { return Right(2, 5); }
    int CanRunDiagnosis() const { return Right(2, 6); }
    int CanRunAlignment() const { return Right(2, 7); }
    int CanRecordProtocol() const { return Right(3, 0); }
    int CanRunDeviceSession() const { return Right(3, 1); }
    int CanUseMonitorDialog() const { return Right(3, 2); }
    int CanEditConfiguration() const { return Right(3, 3); }
    int CanSendConfiguration() const { return Right(3, 4); }
    int CanReadConfiguration() const { return Right(3, 5); }
    int CanPrintPreview() const { return Right(3, 6); }
    int CanUseMode5() const { return Right(3, 7); }
    int CanSetupDriver() const { return Right(4, 0); }
    int CanChangeSettings() const { return Right(4, 1); }
    int GetRight4Bit2() const { return Right(4, 2); }
    int CanReplayProtocol() const { return Right(4, 3); }
    int UsesWizards() const { return Right(4, 4); }

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnCancel() override;

    afx_msg void OnSelchangeLevel();
    afx_msg void OnLogin();
    afx_msg void OnStandardLevel();

    // The device object for the password check: family unknown.
    virtual std::unique_ptr<CSensor> CreateSensor();

private:
    // What the device made of the password.
    enum class DeviceCheck {
        Accepted,
        Refused,    // by the device, or by the level's rule for the factory password
        Unanswered, // a login telegram went unanswered
        NotReached, // connecting or identifying was given up in its prompt
    };

    int Right(int byteIndex, int bit) const { return (m_rights[std::size_t(byteIndex)] >> bit) & 1; }
    void AddLevelItem(UINT nIDName, int level);
    void ShowPasswordEntry();
    // Connects and identifies the device through the device procedures, with their
    // status texts and prompts, checks the password by the level's rule and disconnects.
    DeviceCheck CheckPasswordWithDevice();
    DeviceCheck LoginByLevel(CSensor& sensor);
    DeviceCheck SendLogin(CSensor& sensor, char code);
    // Documents are saved and closed before the rights shrink; FALSE when the user keeps them.
    BOOL SaveAndCloseDocuments();

    int m_nLevel = 0;
    int m_nPrevLevel = 0;
    CString m_strLevelName;
    CString m_strPassword;
    CString m_strPrevPassword;
    CPasswordEdit m_editPassword;
    CPictureButton m_pictureButton;
    int m_bPasswordNeeded = 0;
    std::array<BYTE, 5> m_rights{};
    LoginApplication* m_pApplication = nullptr;

    DECLARE_MESSAGE_MAP()
};

extern CLoginDialog theLoginDialog;
