// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/archivedecision.h"
#include "evaluation/pointreading.h"
#include "evaluation/readingchecks.h"
#include "format/ascanentry.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

class CArchive;
class CArchiveSet;

// One reading the checks doubt or an engineer decided on.
struct ReviewLine {
    int group = 0;
    int cell = 0;
    PointReading reading;
    // What the checks found before any decision: Counted when it was never suspect.
    ReadingCheck finding = ReadingCheck::Counted;
    // The decision in force; its decision text is empty when there is none.
    ArchiveDecision decision;
};

// The review of doubtful readings, for the window and the command line: which readings need an
// engineer's eye, their echoes, and the decisions, which the archive keeps with who made them.
class CReviewService
{
    Q_DECLARE_TR_FUNCTIONS(CReviewService)

public:
    // Every reading that is suspect or decided, oldest first.
    static QList<ReviewLine> list(CArchive &archive, QString *problem);
    // Verifies or rejects a reading the archive holds; an unknown one is refused.
    static bool decide(CArchiveSet &set, const ArchiveDecision &decision, QString *problem);
    // The A-scan of the point's reading in the download of the given time; false when it was
    // not fetched or the kept file cannot be read, with the reason in *problem.
    static bool aScanOf(CArchive &archive, const QDateTime &time, int group, int cell,
                        AScanEntry *entry, QString *problem);
};
