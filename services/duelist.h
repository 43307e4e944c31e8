// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "evaluation/dueline.h"

#include <QCoreApplication>
#include <QList>

class CArchive;

// What falls due across every object with limits, for the window, the command line and the
// calendar: one line per object, the soonest first.
class CDueList
{
    Q_DECLARE_TR_FUNCTIONS(CDueList)

public:
    // Every object with limits, sorted by next inspection, soonest first; an object without a
    // date (every point waits for a review) comes last. False with the reason in *problem when
    // the archive cannot be read.
    static bool build(CArchive &archive, QList<DueLine> *lines, QString *problem);
    // The lines due within the days from today, overdue ones included. A line without a date is
    // kept: its points need a review before any date can be given.
    static QList<DueLine> within(const QList<DueLine> &lines, int days, const QDate &today);
    // The list as CSV: Group;Name;Last survey;Points;Below minimum;Warning;Suspect;Overdue;Cell;
    // Point;Next inspection, dates as yyyy-MM-dd, CR LF line ends.
    static QByteArray csv(const QList<DueLine> &lines);
    // The list as an iCalendar file: one all-day event per object with a date, whose UID stays
    // the same from one export to the next for the same archive (archiveKey tells archives
    // apart). stamp is the DTSTAMP.
    static QByteArray calendar(const QList<DueLine> &lines, const QString &archiveKey,
                               const QDateTime &stamp);
    // The object as the lists show it: "3 – Tank 3 shell", or "3" without a name.
    static QString objectLabel(const DueLine &line);
    // The governing point as the lists show it: "7 CML-07"; empty when there is none.
    static QString pointLabel(const DueLine &line);
};
