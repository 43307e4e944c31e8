// The platform half of CCOMPort for the fuzz build: the port talks to CScriptedLine, and waits
// take no time, so a fuzz input runs in microseconds.
#include "device/comport.h"
#include "scriptedline.h"

bool sleepMs(int)
{
    return true;
}

CCOMPort::CCOMPort()
{
    setPortNumber(1);
}

bool CCOMPort::isOpen() const
{
    return fd >= 0;
}

bool CCOMPort::open(bool overlappedMode)
{
    close();
    CScriptedLine &line = CScriptedLine::instance();
    if (line.openFails)
        return false;
    fd = portNumber();
    overlapped = overlappedMode;
    ++line.portsOpen;
    flushInput();
    return true;
}

void CCOMPort::close()
{
    if (fd < 0)
        return;
    fd = -1;
    overlapped = false;
    --CScriptedLine::instance().portsOpen;
}

bool CCOMPort::write(const void *, int length)
{
    if (fd >= 0)
        CScriptedLine::instance().written(length);
    return overlapped || fd >= 0;
}

int CCOMPort::queuedBytes() const
{
    return fd < 0 ? 0 : CScriptedLine::instance().queued();
}

int CCOMPort::readQueued(void *buffer, int n)
{
    return CScriptedLine::instance().take(buffer, n);
}
