#pragma once

#include "comport.h"

// A port that a descriptor number identifies: the POSIX port and the scripted line.
struct CCOMPort::Native {
    int fd = -1;
    bool overlapped = false;
};
