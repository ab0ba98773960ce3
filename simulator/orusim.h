#pragma once
// Exported interface of the simulator library (C linkage).
