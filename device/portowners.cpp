// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/portowners.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/sysmacros.h>

namespace
{

CPortOwners::Roots &settableRoots()
{
    static CPortOwners::Roots roots;
    return roots;
}

std::weak_ptr<const CPortHolders> &keptSurvey()
{
    static std::weak_ptr<const CPortHolders> survey;
    return survey;
}

QByteArray readSmallFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(4096) : QByteArray();
}

// Field 7 of /proc/PID/stat; the name in field 2 may hold blanks and parentheses, so the fields
// are counted from its closing parenthesis.
dev_t controllingTerminal(const QByteArray &stat)
{
    const int end = stat.lastIndexOf(')');
    if (end < 0)
        return 0;
    const QList<QByteArray> fields = stat.mid(end + 1).simplified().split(' ');
    if (fields.size() < 5)
        return 0;
    const unsigned ttyNr = fields.at(4).toUInt();
    return makedev((ttyNr >> 8) & 0xfff, (ttyNr & 0xff) | ((ttyNr >> 12) & 0xfff00));
}

} // namespace

void CPortOwners::setRoots(const Roots &roots)
{
    settableRoots() = roots;
    keptSurvey().reset(); // it looked at the other tree
}

const CPortOwners::Roots &CPortOwners::roots()
{
    return settableRoots();
}

QString CPortOwners::foreignUse(const QString &device)
{
    const dev_t number = CPortHolders::characterDevice(device);
    if (number == 0)
        return QString();
    QString use = consoleUse(number);
    if (use.isEmpty())
        use = lockUse(device);
    if (use.isEmpty())
        use = sessionUse(number);
    if (use.isEmpty())
        use = holderUse(number);
    return use;
}

// The console file lists names below /dev, such as "tty0 ttyS0".
QString CPortOwners::consoleUse(dev_t device)
{
    const QByteArray active =
        readSmallFile(roots().sysfs + QStringLiteral("/class/tty/console/active"));
    for (const QByteArray &name : active.simplified().split(' ')) {
        if (!name.isEmpty() && CPortHolders::characterDevice(
                                   roots().dev + '/' + QString::fromLocal8Bit(name)) == device)
            return QStringLiteral("kernel console");
    }
    return QString();
}

QString CPortOwners::sessionUse(dev_t device)
{
    const QStringList entries = QDir(roots().proc).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool isPid = false;
        const pid_t pid = entry.toInt(&isPid);
        if (isPid &&
            controllingTerminal(readSmallFile(roots().proc + '/' + entry + "/stat")) == device)
            return inUseBy(pid);
    }
    return QString();
}

QString CPortOwners::holderUse(dev_t device)
{
    const pid_t holder = survey()->holder(device);
    return holder == 0 ? QString() : inUseBy(holder);
}

QString CPortOwners::inUseBy(pid_t pid)
{
    return QStringLiteral("in use by PID %1 (%2)").arg(pid).arg(processName(pid));
}

std::shared_ptr<const CPortHolders> CPortOwners::survey()
{
    std::shared_ptr<const CPortHolders> survey = keptSurvey().lock();
    if (!survey) {
        survey = std::make_shared<const CPortHolders>(roots().proc, roots().dev);
        keptSurvey() = survey;
    }
    return survey;
}

QString CPortOwners::lockUse(const QString &device)
{
    for (const QString &folder : roots().lockFolders) {
        const pid_t holder = lockHolder(folder + '/' + lockName(device));
        if (holder != 0)
            return QStringLiteral("locked by %1, PID %2").arg(processName(holder)).arg(holder);
    }
    return QString();
}

QString CPortOwners::lockName(const QString &device)
{
    QString name = QFileInfo(device).absoluteFilePath();
    const QString dev = QStringLiteral("/dev/");
    if (name.startsWith(dev))
        name.remove(0, dev.size());
    else
        name = QFileInfo(device).fileName();
    return QStringLiteral("LCK..") + name.replace('/', '_');
}

// Lock files hold the PID as ten ASCII characters and a newline; older ones as a binary int.
pid_t CPortOwners::lockHolder(const QString &lockFile)
{
    const QByteArray text = readSmallFile(lockFile);
    bool ascii = false;
    pid_t pid = text.trimmed().toInt(&ascii);
    if (!ascii && text.size() == int(sizeof(int)))
        pid = *reinterpret_cast<const int *>(text.constData());
    if (pid <= 0)
        return 0;
    return QFileInfo(roots().proc + '/' + QString::number(pid)).isDir() ? pid : 0;
}

QString CPortOwners::processName(pid_t pid)
{
    const QByteArray comm =
        readSmallFile(roots().proc + '/' + QString::number(pid) + QStringLiteral("/comm"));
    return comm.isEmpty() ? QStringLiteral("an unknown program")
                          : QString::fromLocal8Bit(comm.trimmed());
}
