// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

// One setting of an object (group) from a time on ("rule" = "vessel"); the latest applies.
struct ArchiveSetting {
    int group = 0;
    QString what;
    QString value;
    QDateTime from;
    // Who set it (the login name) and under which role of a shared archive's server.
    QString by;
    QString role;
    QString reason;
};
