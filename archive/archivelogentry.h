// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

// One value that changed in what decides an object's figures: a limit ("minimum"), its name, a
// setting (by its key) or the decision on a reading ("reading CELL TIME").
struct ArchiveLogEntry {
    QDateTime at;
    // The login name, with the server's role in brackets when one is known: "anna (survey)".
    QString user;
    int group = 0;
    QString what;
    // Empty the first time.
    QString oldValue;
    QString newValue;
    QString reason;
};
