// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <termios.h>

// What this program does to a serial device while it holds it, and undoes when it lets go: a
// UUCP lock file for the programs that look for one, exclusive mode, the flock, and the line
// settings and modem lines as they were found.
class CPortClaim
{
public:
    // Checks the device just opened (nothing set yet) and takes it. False, with the reason,
    // when it is in another program's hands; then nothing has been changed.
    bool take(int fd, const QString &device, QString *reason);
    // keepSettings: the port turned out to be the tester, whose line stays as it was set.
    void release(int fd, bool keepSettings);

private:
    bool takeLockFile(const QString &device, QString *reason);

    QString lockFile;
    termios saved{};
    int modemLines = 0;
    bool settingsSaved = false;
    bool modemSaved = false;
};
