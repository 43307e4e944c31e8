#include "devicewatcher.h"

#include <QDir>
#include <QFileSystemWatcher>
#include <QSocketNotifier>

#include <libudev.h>

CDeviceWatcher::CDeviceWatcher(const QString &portsFolder, QObject *parent)
    : QObject(parent), portsFolder(portsFolder), folderWatcher(new QFileSystemWatcher(this))
{
    watchPortsFolder();
    connect(folderWatcher, &QFileSystemWatcher::directoryChanged, this, [this](const QString &) {
        watchPortsFolder(); // the ports folder may have been made or removed meanwhile
        emit devicesChanged();
    });
    startUdevMonitor();
}

CDeviceWatcher::~CDeviceWatcher()
{
    delete notifier;
    if (monitor != nullptr)
        udev_monitor_unref(monitor);
    if (udevContext != nullptr)
        udev_unref(udevContext);
}

void CDeviceWatcher::watchPortsFolder()
{
    const QString parent = QFileInfo(portsFolder).absolutePath();
    for (const QString &folder : {parent, portsFolder}) {
        if (QFileInfo(folder).isDir() && !folderWatcher->directories().contains(folder))
            folderWatcher->addPath(folder);
    }
}

void CDeviceWatcher::startUdevMonitor()
{
    udevContext = udev_new();
    if (udevContext == nullptr)
        return;
    monitor = udev_monitor_new_from_netlink(udevContext, "udev");
    if (monitor == nullptr || udev_monitor_filter_add_match_subsystem_devtype(monitor, "tty", nullptr) < 0 ||
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
