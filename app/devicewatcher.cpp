// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/devicewatcher.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSocketNotifier>

#ifdef COLLATRIX_UDEV
#include <libudev.h>
#endif

CDeviceWatcher::CDeviceWatcher(const QString &portsFolder, QObject *parent)
    : QObject(parent), portsFolder(portsFolder), folderWatcher(new QFileSystemWatcher(this))
{
    folderWatcher->addPath(QFileInfo(portsFolder).absolutePath());
    portsFolderSeen = watchPortsFolder();
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

// Changes beside the ports folder (the program folder may be busy) count only when they make
// or remove the ports folder itself.
void CDeviceWatcher::folderChanged(const QString &folder)
{
    const bool seen = watchPortsFolder();
    if (folder == portsFolder || seen != portsFolderSeen)
        emit devicesChanged();
    portsFolderSeen = seen;
}

// Watches the ports folder when it exists; tells whether it does.
bool CDeviceWatcher::watchPortsFolder()
{
    if (!QFileInfo(portsFolder).isDir())
        return false;
    if (!folderWatcher->directories().contains(portsFolder))
        folderWatcher->addPath(portsFolder);
    return true;
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
