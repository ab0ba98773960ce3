#pragma once
// The texts and prompts every device procedure shares: the status text in the main
// window's message bar, the Retry or Cancel prompt, the warning and the yes/no question,
// and the retry patterns that run one device operation until it succeeds or the user
// cancels. All texts are string ids of the language library.
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"

#include <functional>
#include <type_traits>

// Status and prompt texts of the procedures.
namespace ProcedureText {
constexpr UINT kIdentifyStatus = 342;
constexpr UINT kIdentifyRetry = 345;
constexpr UINT kTestStatus = 346;
constexpr UINT kTestRetry = 347;
constexpr UINT kMode0Status = 348;
constexpr UINT kMode0Retry = 349;
constexpr UINT kReadFieldStatus = 350;
constexpr UINT kReadFieldRetry = 351;
constexpr UINT kWriteFieldStatus = 352;
constexpr UINT kWriteFieldRetry = 353;
constexpr UINT kReadWarningFieldStatus = 354;
constexpr UINT kReadWarningFieldRetry = 355;
constexpr UINT kContourStatus = 356;
constexpr UINT kContourRetry = 357;
constexpr UINT kScanStatus = 358;
constexpr UINT kScanRetry = 359;
constexpr UINT kTeachStartStatus = 360;
constexpr UINT kTeachStartRetry = 361;
constexpr UINT kTeachEndStatus = 362;
constexpr UINT kTeachEndRetry = 363;
constexpr UINT kTeachAcceptStatus = 364;
constexpr UINT kTeachAcceptWarning = 365;
constexpr UINT kPreviewStatus = 366;
constexpr UINT kPreviewRetry = 367;
constexpr UINT kDiscardStatus = 368;
constexpr UINT kDiscardRetry = 369;
constexpr UINT kStoreStatus = 370;
constexpr UINT kStoreWarning = 371;
constexpr UINT kContourReadStatus = 372;
constexpr UINT kContourReadRetry = 373;
constexpr UINT kLockedContourStatus = 374;
constexpr UINT kLockedContourRetry = 375;
constexpr UINT kNormalModeStatus = 376;
constexpr UINT kNormalModeRetry = 377;
constexpr UINT kMode2CodeStatus = 378;
constexpr UINT kMode2CodeRetry = 379;
constexpr UINT kPasswordStatus = 380;
constexpr UINT kPasswordRetry = 381;
constexpr UINT kMode16Retry = 384;
constexpr UINT kParameterStatus = 385;
constexpr UINT kMode16Status = 386;
constexpr UINT kParameterRetry = 387;
constexpr UINT kLoadStatus = 390;
constexpr UINT kConfirmPendingField = 391;
constexpr UINT kPreviewRefusedRetry = 392;
constexpr UINT kLoadRetry = 393;
constexpr UINT kFreeStatus = 394;
constexpr UINT kFreeRetry = 395;
constexpr UINT kOpenStatus = 396;
constexpr UINT kOpenRetry = 397;
constexpr UINT kCloseStatus = 398;
constexpr UINT kCloseRetry = 399;
constexpr UINT kIdentificationStatus = 400;
constexpr UINT kIdentificationRetry = 401;
constexpr UINT kErrorListStatus = 402;
constexpr UINT kErrorListRetry = 403;
constexpr UINT kTypeStatus = 404;
constexpr UINT kTypeRetry = 405;
constexpr UINT kFieldRefusedNote = 408;
constexpr UINT kConfirm67 = 409;
constexpr UINT kConfirm60On = 410;
constexpr UINT kConfirmMode0 = 411;
constexpr UINT kConfirmScans = 412;
constexpr UINT kConfirm60Off = 413;
constexpr UINT kConfirmMode2 = 414;
constexpr UINT kConfirmMode1 = 415;
constexpr UINT kConfirmVariant1 = 416;
constexpr UINT kConfirmVariant0 = 417;
constexpr UINT kReadConfigStatus = 418;
constexpr UINT kReadConfigRetry = 419;
constexpr UINT kWriteConfigStatus = 420;
constexpr UINT kWriteConfigRetry = 421;
constexpr UINT kModeRefusedNote = 424;
constexpr UINT kDeviceMismatch = 427;
constexpr UINT kScannerSessionRetry = 429;
constexpr UINT kScannerSessionStatus = 430;
constexpr UINT kIndexedValueStatus = 433;
constexpr UINT kIndexedValueRetry = 434;
constexpr UINT kCommitConfigStatus = 476;
constexpr UINT kCommitConfigRetry = 477;
// Mode 1 with a delay longer than the command carries: %1 the record's, %2 the sent one.
constexpr UINT kConfirmMode1Limited = 489;
// The framework's idle text of the message bar.
constexpr UINT kIdleText = 57345;
} // namespace ProcedureText

// Loads the string into the message bar of the installed application (see
// ProcedureApplication.h); repaintNow repaints the bar at once.
void SetStatusText(UINT id, BOOL repaintNow);
// Retry or Cancel with an exclamation icon, help context = id; IDRETRY or IDCANCEL.
int RetryMessageBox(UINT id);
// The same with the text of id, a blank and the text of appendedId.
int RetryMessageBox(UINT id, UINT appendedId);
// OK with an exclamation icon.
int WarningMessageBox(UINT id);
// The string of id with %1 = text1 and %2 = text2 (null reads as empty), Yes and No with
// a question icon, help context = id; IDYES or IDNO.
int ConfirmMessageBox(UINT id, LPCTSTR text1, LPCTSTR text2 = nullptr);

// Runs rounds of up to triesPerRound attempts, stopping at the first success. After a
// failed round: without prompt the result is FALSE; with it, ask() decides: IDRETRY runs
// another round, anything else ends with FALSE. The number of rounds is not bounded.
BOOL RetryRounds(const std::function<BOOL()>& attempt, int triesPerRound, BOOL prompt,
                 const std::function<int()>& ask);
// The single pattern: one attempt per RetryMessageBox(retryId).
BOOL RetrySingle(const std::function<BOOL()>& attempt, UINT retryId, BOOL prompt);

// How a procedure runs its operation: single, one attempt per Retry prompt; triple, up to
// three; once, one attempt whose failure shows a warning.
enum class RetryPattern { Single, Triple, Once };

// A procedure's status text, the text of its Retry prompt (of its warning for the once
// pattern) and its pattern.
struct ProcedureStep {
    UINT statusId;
    UINT promptId;
    RetryPattern pattern;
};

// The steps of the device procedures.
namespace ProcedureSteps {
using namespace ProcedureText;
constexpr ProcedureStep kLoad{kLoadStatus, kLoadRetry, RetryPattern::Single};
constexpr ProcedureStep kOpen{kOpenStatus, kOpenRetry, RetryPattern::Single};
constexpr ProcedureStep kClose{kCloseStatus, kCloseRetry, RetryPattern::Single};
constexpr ProcedureStep kFree{kFreeStatus, kFreeRetry, RetryPattern::Single};
constexpr ProcedureStep kIdentify{kIdentifyStatus, kIdentifyRetry, RetryPattern::Single};
constexpr ProcedureStep kTest{kTestStatus, kTestRetry, RetryPattern::Single};
constexpr ProcedureStep kMode2Code{kMode2CodeStatus, kMode2CodeRetry, RetryPattern::Single};
constexpr ProcedureStep kPassword{kPasswordStatus, kPasswordRetry, RetryPattern::Single};
constexpr ProcedureStep kMode0{kMode0Status, kMode0Retry, RetryPattern::Single};
constexpr ProcedureStep kMode16{kMode16Status, kMode16Retry, RetryPattern::Single};
constexpr ProcedureStep kNormalMode{kNormalModeStatus, kNormalModeRetry, RetryPattern::Single};
constexpr ProcedureStep kErrorList{kErrorListStatus, kErrorListRetry, RetryPattern::Triple};
constexpr ProcedureStep kType{kTypeStatus, kTypeRetry, RetryPattern::Triple};
constexpr ProcedureStep kIdentification{kIdentificationStatus, kIdentificationRetry, RetryPattern::Triple};
constexpr ProcedureStep kScan{kScanStatus, kScanRetry, RetryPattern::Triple};
constexpr ProcedureStep kReadField{kReadFieldStatus, kReadFieldRetry, RetryPattern::Single};
constexpr ProcedureStep kReadWarningField{kReadWarningFieldStatus, kReadWarningFieldRetry, RetryPattern::Single};
constexpr ProcedureStep kWriteField{kWriteFieldStatus, kWriteFieldRetry, RetryPattern::Single};
constexpr ProcedureStep kContour{kContourStatus, kContourRetry, RetryPattern::Single};
constexpr ProcedureStep kContourRead{kContourReadStatus, kContourReadRetry, RetryPattern::Single};
constexpr ProcedureStep kLockedContour{kLockedContourStatus, kLockedContourRetry, RetryPattern::Single};
constexpr ProcedureStep kTeachStart{kTeachStartStatus, kTeachStartRetry, RetryPattern::Single};
constexpr ProcedureStep kTeachAccept{kTeachAcceptStatus, kTeachAcceptWarning, RetryPattern::Once};
constexpr ProcedureStep kTeachEnd{kTeachEndStatus, kTeachEndRetry, RetryPattern::Single};
constexpr ProcedureStep kPreview{kPreviewStatus, kPreviewRetry, RetryPattern::Single};
constexpr ProcedureStep kDiscard{kDiscardStatus, kDiscardRetry, RetryPattern::Single};
constexpr ProcedureStep kStore{kStoreStatus, kStoreWarning, RetryPattern::Once};
constexpr ProcedureStep kParameter{kParameterStatus, kParameterRetry, RetryPattern::Single};
constexpr ProcedureStep kScannerSession{kScannerSessionStatus, kScannerSessionRetry, RetryPattern::Single};
constexpr ProcedureStep kIndexedValue{kIndexedValueStatus, kIndexedValueRetry, RetryPattern::Single};
constexpr ProcedureStep kReadConfig{kReadConfigStatus, kReadConfigRetry, RetryPattern::Triple};
constexpr ProcedureStep kCheckConfig{kWriteConfigStatus, kWriteConfigRetry, RetryPattern::Triple};
constexpr ProcedureStep kWriteConfig{kWriteConfigStatus, kWriteConfigRetry, RetryPattern::Single};
constexpr ProcedureStep kCommitConfig{kCommitConfigStatus, kCommitConfigRetry, RetryPattern::Single};
} // namespace ProcedureSteps

// Shows the step's status text (repainted at once) and runs attempt by the step's pattern;
// ask, when set, takes the place of the step's Retry prompt.
BOOL RunProcedureAttempts(const ProcedureStep& step, const std::function<BOOL()>& attempt, BOOL prompt,
                          const std::function<int()>& ask = {});

// A procedure: the step's status text, then its operation by the step's pattern. An
// operation returns BOOL, or a new object that is null on failure; the result is the
// operation's, after the last failure FALSE or null.
template <class Operation>
auto RunProcedureStep(const ProcedureStep& step, Operation operation, BOOL prompt,
                      const std::function<int()>& ask = {})
{
    using Result = std::invoke_result_t<Operation&>;
    if constexpr (std::is_integral_v<Result>) {
        return RunProcedureAttempts(step, [&] { return BOOL(operation()); }, prompt, ask);
    } else {
        Result result;
        RunProcedureAttempts(
            step,
            [&] {
                result = operation();
                return BOOL(result != nullptr);
            },
            prompt, ask);
        return result;
    }
}
