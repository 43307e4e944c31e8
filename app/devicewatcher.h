#pragma once

#include <QObject>
#include <QString>

class QFileSystemWatcher;
class QSocketNotifier;
struct udev;
struct udev_monitor;

// Tells when serial devices may have come or gone: a udev monitor on the tty subsystem, and a
// watch on the ports folder (and its parent, so a ports folder made later is seen too).
class CDeviceWatcher : public QObject
{
    Q_OBJECT

public:
    explicit CDeviceWatcher(const QString &portsFolder, QObject *parent = nullptr);
    ~CDeviceWatcher() override;

signals:
    void devicesChanged();

private:
    void startUdevMonitor();
    void drainUdevEvents();
    void watchPortsFolder();

    QString portsFolder;
    QFileSystemWatcher *folderWatcher = nullptr;
    udev *udevContext = nullptr;
    udev_monitor *monitor = nullptr;
    QSocketNotifier *notifier = nullptr;
};
