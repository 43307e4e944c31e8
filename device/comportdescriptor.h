// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/comport.h"

// A port that a descriptor number identifies: the POSIX port and the scripted line.
struct CCOMPort::Native {
    int fd = -1;
    bool overlapped = false;
};
