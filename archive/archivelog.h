// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/archivedecision.h"
#include "archive/archivelimits.h"
#include "archive/archivelogentry.h"
#include "archive/archivepointname.h"
#include "archive/archivesetting.h"

#include <QList>

// The log of what decides an object's figures, merged from the archive's tables: one entry per
// value that changed, with the value before it. Each table is added with its rows oldest first.
class CArchiveLog
{
public:
    // Each limit that differs from the group's limits before (all three the first time).
    void add(const QList<ArchiveLimits> &limits);
    // Names or settings, their what the key: each value that differs from the one before.
    void add(const QList<ArchiveSetting> &settings);
    // Each name or location of a point that differs from the one before, what "point CELL name"
    // or "point CELL location"; a point first named without a location logs its name only.
    void add(const QList<ArchivePointName> &points);
    // Every decision, also one that repeats the one before: it is a judgement of its own.
    void add(const QList<ArchiveDecision> &decisions);

    // Oldest first, rows of one time in the order their tables were added; group 0: all.
    QList<ArchiveLogEntry> entries(int group) const;

private:
    void add(const QList<ArchiveSetting> &settings, bool everyOne);

    QList<ArchiveLogEntry> list;
};
