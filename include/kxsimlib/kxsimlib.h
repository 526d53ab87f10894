#pragma once
// Umbrella header of the Kestrix SIM Lib.

#include "kxsimlib/cdialogs.h"
#include "kxsimlib/picture.h"
#include "kxsimlib/status.h"
