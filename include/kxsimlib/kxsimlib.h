// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Umbrella header of the Kestrix SIM Lib.

#include "kxsimlib/ccb.h"
#include "kxsimlib/cdialogs.h"
#include "kxsimlib/commons.h"
#include "kxsimlib/component.h"
#include "kxsimlib/picture.h"
#include "kxsimlib/status.h"
#include "kxsimlib/variant.h"
