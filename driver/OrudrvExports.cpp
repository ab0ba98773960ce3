#include "driver/orudrv.h"
