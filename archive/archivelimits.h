// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

// The limits of one object (group) as set at a time, in the unit of its thickness readings.
struct ArchiveLimits {
    int group = 0;
    double nominal = 0.0;
    double minimum = 0.0;
    double warning = 0.0;
    QDateTime from;
    // Who set them (the login name) and under which role of a shared archive's server: filled
    // by the archive on write. Initialised so that a brace list may leave them out.
    QString by{};
    QString role{};
    QString reason{};
};
