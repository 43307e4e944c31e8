// SPDX-License-Identifier: GPL-3.0-or-later
// The platform half of CCOMPort for tests and fuzzing: the port talks to CScriptedLine, and a
// wait moves the line's virtual clock instead of the real one.
#include "device/comport.h"
#include "device/comportdescriptor.h"
#include "device/scriptedline.h"

bool sleepMs(int ms)
{
    CScriptedLine::instance().advance(ms);
    return true;
}

std::int64_t clockMs()
{
    return CScriptedLine::instance().now() / 1000;
}

bool CCOMPort::waitReadable(int timeoutMs)
{
    return native->fd >= 0 && CScriptedLine::instance().waitForInput(timeoutMs);
}

// The scripted line belongs to no other program.
std::shared_ptr<const void> CCOMPort::surveyOwners()
{
    return nullptr;
}

bool CCOMPort::open(bool overlappedMode)
{
    close();
    CScriptedLine &line = CScriptedLine::instance();
    if (!line.opens(portNumber()))
        return false;
    native->fd = portNumber();
    native->overlapped = overlappedMode;
    ++line.portsOpen;
    sleepMs(line.settleMs);
    flushInput();
    return true;
}

void CCOMPort::close()
{
    if (native->fd < 0)
        return;
    native->fd = -1;
    native->overlapped = false;
    --CScriptedLine::instance().portsOpen;
}

bool CCOMPort::write(const void *data, int length)
{
    if (native->fd >= 0)
        CScriptedLine::instance().written(native->fd, data, length);
    return native->overlapped || native->fd >= 0;
}

int CCOMPort::queuedBytes() const
{
    return native->fd < 0 ? 0 : CScriptedLine::instance().queued();
}

int CCOMPort::readQueued(void *buffer, int n)
{
    return CScriptedLine::instance().take(buffer, n);
}
