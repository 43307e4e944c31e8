// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

// The plant's name of a test point ("CML-07") and where it is on the object ("12 o'clock, 300 mm
// downstream of weld W3"), as set at a time; the latest applies.
struct ArchivePointName {
    int group = 0;
    int cell = 0;
    QString name;
    QString location{};
    QDateTime from{};
    // Who set it (the login name) and under which role of a shared archive's server: filled by
    // the archive on read.
    QString by{};
    QString role{};
    QString reason{};
};
