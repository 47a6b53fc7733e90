// Text and number rules the program has always followed, in three parts:
// numbers and picture masks (core/vbnumber.h), strings (core/vbstring.h),
// dates (core/vbdate.h). Including this header includes all three.
#pragma once

#include "core/vbdate.h"
#include "core/vbnumber.h"
#include "core/vbstring.h"
