// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/devicewatcher.h"

#include "device/comport.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSocketNotifier>

#ifdef COLLATRIX_UDEV
#include <libudev.h>
#endif

CDeviceWatcher::CDeviceWatcher(const QStringList &portsFolders, QObject *parent)
    : QObject(parent), portsFolders(portsFolders), folderWatcher(new QFileSystemWatcher(this))
{
    for (const QString &folder : portsFolders) {
        // A folder of the user's runtime folder is ours to make; with its parent there, a
        // simulator that links its port there later is seen.
        if (folder == CCOMPort::runtimePortsFolder())
            QDir().mkpath(QFileInfo(folder).absolutePath());
        folderWatcher->addPath(QFileInfo(folder).absolutePath());
    }
    portsFoldersSeen = watchPortsFolders();
    connect(folderWatcher, &QFileSystemWatcher::directoryChanged, this,
            &CDeviceWatcher::folderChanged);
    startUdevMonitor();
}

CDeviceWatcher::~CDeviceWatcher()
{
    delete notifier;
#ifdef COLLATRIX_UDEV
    if (monitor != nullptr)
        udev_monitor_unref(monitor);
    if (udevContext != nullptr)
        udev_unref(udevContext);
#endif
}

// Changes beside a ports folder (the program folder may be busy) count only when they make
// or remove the ports folder itself.
void CDeviceWatcher::folderChanged(const QString &folder)
{
    const QList<bool> seen = watchPortsFolders();
    if (portsFolders.contains(folder) || seen != portsFoldersSeen)
        emit devicesChanged();
    portsFoldersSeen = seen;
}

// Watches each ports folder that exists; tells which do.
QList<bool> CDeviceWatcher::watchPortsFolders()
{
    QList<bool> seen;
    for (const QString &folder : portsFolders) {
        seen.append(QFileInfo(folder).isDir());
        if (seen.last() && !folderWatcher->directories().contains(folder))
            folderWatcher->addPath(folder);
    }
    return seen;
}

#ifdef COLLATRIX_UDEV
void CDeviceWatcher::startUdevMonitor()
{
    udevContext = udev_new();
    if (udevContext == nullptr)
        return;
    monitor = udev_monitor_new_from_netlink(udevContext, "udev");
    if (monitor == nullptr ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor, "tty", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0)
        return;
    notifier = new QSocketNotifier(udev_monitor_get_fd(monitor), QSocketNotifier::Read);
    connect(notifier, &QSocketNotifier::activated, this, &CDeviceWatcher::drainUdevEvents);
}

void CDeviceWatcher::drainUdevEvents()
{
    bool any = false;
    while (udev_device *device = udev_monitor_receive_device(monitor)) {
        udev_device_unref(device);
        any = true;
    }
    if (any)
        emit devicesChanged();
}
#else
void CDeviceWatcher::startUdevMonitor() {}
void CDeviceWatcher::drainUdevEvents() {}
#endif
