#pragma once
// A device exchange inside a poll may dispatch further timer messages; a poll of the same
// dialog class must not start inside another one.
#include "framework/core/WinTypes.h"

// Runs poll unless one guarded by the same flag is running; returns whether polling goes
// on (TRUE when the poll was skipped). The flag is cleared however the poll ends.
template <typename Poll>
BOOL RunGuardedPoll(BOOL& pollingFlag, Poll poll)
{
    if (pollingFlag)
        return TRUE;
    pollingFlag = TRUE;
    struct ClearOnExit {
        BOOL& flag;
        ~ClearOnExit() { flag = FALSE; }
    } clear{pollingFlag};
    return poll();
}
