#pragma once
// What the exported functions of orudrv.h share with the driver's classes.
#include "framework/core/WinTypes.h"

// Last-error texts of the exports themselves (the port's and the exchange's are in
// DriverLastError.h).
enum : UINT {
    IDS_DRV_NOT_AVAILABLE = 519,     // a function this driver does not offer yet
    IDS_DRV_SETUP_UNAVAILABLE = 521, // the set-up dialog cannot be shown
};
