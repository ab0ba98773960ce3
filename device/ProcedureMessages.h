#pragma once
// The texts and prompts every device procedure shares: the status text in the main
// window's message bar, the Retry or Cancel prompt, the warning and the yes/no question,
// and the three retry patterns that run one device operation until it succeeds or the
// user cancels. All texts are string ids of the language library.
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"

#include <functional>
#include <memory>

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
constexpr UINT kCommand50Retry = 429;
constexpr UINT kCommand50Status = 430;
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
// The single pattern (one attempt per prompt) and the triple one (three per prompt),
// prompting with RetryMessageBox(retryId).
BOOL RetrySingle(const std::function<BOOL()>& attempt, UINT retryId, BOOL prompt);
BOOL RetryTriple(const std::function<BOOL()>& attempt, UINT retryId, BOOL prompt);
// One attempt; a failure shows WarningMessageBox(warningId) when prompt is set.
BOOL RunOnce(const std::function<BOOL()>& attempt, UINT warningId, BOOL prompt);

// The object-returning forms: the operation's object, or null after the last failure.
template <class T>
std::unique_ptr<T> RetryForObject(const std::function<std::unique_ptr<T>()>& operation, int triesPerRound,
                                  UINT retryId, BOOL prompt)
{
    std::unique_ptr<T> result;
    RetryRounds(
        [&] {
            result = operation();
            return result != nullptr;
        },
        triesPerRound, prompt, [retryId] { return RetryMessageBox(retryId); });
    return result;
}
