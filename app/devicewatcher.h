// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class QFileSystemWatcher;
class QSocketNotifier;
struct udev;
struct udev_monitor;

// Tells when serial devices may have come or gone: a udev monitor on the tty subsystem, and a
// watch on each ports folder (and on its parent, for a ports folder made or removed later).
class CDeviceWatcher : public QObject
{
    Q_OBJECT

public:
    explicit CDeviceWatcher(const QStringList &portsFolders, QObject *parent = nullptr);
    ~CDeviceWatcher() override;

signals:
    void devicesChanged();

private:
    void startUdevMonitor();
    void drainUdevEvents();
    void folderChanged(const QString &folder);
    QList<bool> watchPortsFolders();

    QStringList portsFolders;
    QList<bool> portsFoldersSeen;
    QFileSystemWatcher *folderWatcher = nullptr;
    udev *udevContext = nullptr;
    udev_monitor *monitor = nullptr;
    QSocketNotifier *notifier = nullptr;
};
