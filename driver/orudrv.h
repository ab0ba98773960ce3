#pragma once
// Exported interface of the driver library (C linkage).
