// SPDX-License-Identifier: GPL-3.0-or-later
// The native part of a port that a descriptor number identifies, shared by the POSIX port and
// the scripted line.
#include "device/comportdescriptor.h"

CCOMPort::Native *CCOMPort::newNative()
{
    return new Native;
}

void CCOMPort::NativeDeleter::operator()(Native *native) const
{
    delete native;
}

bool CCOMPort::isOpen() const
{
    return native->fd >= 0;
}
