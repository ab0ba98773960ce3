#include "shared/SensorTelegram.h"
