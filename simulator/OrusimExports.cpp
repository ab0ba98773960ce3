#include "simulator/orusim.h"
