// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/comport.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <algorithm>
#include <cstdio>

namespace
{

QString &portsFolderSetting()
{
    static QString folder;
    return folder;
}

} // namespace

void CCOMPort::setPortsFolder(const QString &folder)
{
    portsFolderSetting() = folder;
}

// Windows names its ports itself; elsewhere the folder "ports" beside the program may map them.
QString CCOMPort::portsFolder()
{
#ifdef _WIN32
    return QString();
#else
    const QString &set = portsFolderSetting();
    if (!set.isEmpty())
        return set;
    const QString programFolder = QCoreApplication::instance()
                                      ? QCoreApplication::applicationDirPath()
                                      : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    return programFolder + QStringLiteral("/ports");
#endif
}

QString CCOMPort::runtimePortsFolder()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    return runtime.isEmpty() ? QString()
                             : QFile::decodeName(runtime) + QStringLiteral("/collatrix/ports");
}

QStringList CCOMPort::portsFolders()
{
#ifdef _WIN32
    return {};
#else
    QStringList folders{portsFolder()};
    if (portsFolderSetting().isEmpty() && !runtimePortsFolder().isEmpty())
        folders.append(runtimePortsFolder());
    return folders;
#endif
}

CCOMPort::CCOMPort() : native(newNative())
{
    setPortNumber(1);
}

CCOMPort::~CCOMPort()
{
    close();
}

void CCOMPort::setPortNumber(int n)
{
    std::snprintf(name, sizeof name, "\\\\.\\COM%i", n);
    tester = false;
}

int CCOMPort::portNumber() const
{
    int n = 0;
    return std::sscanf(name, "\\\\.\\COM%d", &n) == 1 ? n : 0;
}

int CCOMPort::read(void *buffer, int maxBytes, int minBytes)
{
    const int n = std::min(maxBytes, queuedBytes());
    return n > minBytes ? readQueued(buffer, n) : 0;
}

bool CCOMPort::waitForInput(int timeoutMs)
{
    if (timeoutMs < 1)
        return false;
    for (int elapsed = 0;;) {
        if (queuedBytes() > 0)
            return true;
        sleepMs(kPollStepMs);
        elapsed += kPollStepMs;
        if (elapsed >= timeoutMs)
            return false;
    }
}

// Drops what the line held before this program spoke to it.
void CCOMPort::flushInput()
{
    char scratch[256];
    read(scratch, sizeof scratch, 0);
}
