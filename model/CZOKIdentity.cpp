#include "model/CZOKIdentity.h"

CZOKIdentity::CZOKIdentity() { SetByteAt(19, 0xFF); }
