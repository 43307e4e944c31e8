// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/comport.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>

// A temporary ports folder for the serial layer. Dangling COM1..COM128 entries hide the
// machine's own serial ports, so a device search sees only the testers a test links in.
class TestPortsFolder
{
public:
    TestPortsFolder()
    {
        for (int n = 1; n <= 128; ++n)
            QFile::link(dir.filePath(QStringLiteral("absent")), entry(n));
        CCOMPort::setPortsFolder(dir.path());
    }
    ~TestPortsFolder() { CCOMPort::setPortsFolder(QString()); }

    QString path() const { return dir.path(); }
    QString entry(int n) const { return dir.filePath(QStringLiteral("COM%1").arg(n)); }

private:
    QTemporaryDir dir;
};
