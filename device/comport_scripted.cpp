// The platform half of CCOMPort for tests and fuzzing: the port talks to CScriptedLine, and a
// wait moves the line's virtual clock instead of the real one.
#include "comport.h"
#include "scriptedline.h"

bool sleepMs(int ms)
{
    CScriptedLine::instance().advance(ms);
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
    if (!line.opens(portNumber()))
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

bool CCOMPort::write(const void *data, int length)
{
    if (fd >= 0)
        CScriptedLine::instance().written(fd, data, length);
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
