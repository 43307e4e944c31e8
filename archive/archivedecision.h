// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

// An engineer's decision on one reading ("verified", "rejected"): the reading is the test
// point's in the download of readingTime. The latest decision on a reading is the one in force.
struct ArchiveDecision {
    int group = 0;
    int cell = 0;
    QDateTime readingTime;
    QString decision;
    QString reason;
    // When it was decided, by whom (the login name, unless the decision already carries one, as
    // one brought across from another archive does) and under which role of a shared archive's
    // server. Initialised so that a brace list may leave them out.
    QDateTime at{};
    QString by{};
    QString role{};
};
