// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

// Writes iCalendar files (RFC 5545) that calendar programs import: one all-day event per date
// that is due. UTF-8 throughout, every line ending with CR LF.
class CICalendar
{
public:
    struct Event {
        QString uid;
        QDate date;
        QString summary;
        QString description;
    };

    // A published Gregorian calendar with one all-day, free-time event per event. Events without
    // a valid date are left out: no calendar could place them. The stamp is written in UTC.
    static QByteArray write(const QList<Event> &events, const QDateTime &stamp,
                            const QString &productId);
    // One content line, without its line end, folded into physical lines of at most 75 octets
    // (a continuation's leading space included), each ending with CR LF. A UTF-8 character is
    // never split; bytes that are not UTF-8 are cut where the room ends.
    static QByteArray fold(const QByteArray &line);
    // A TEXT value: backslash, semicolon and comma escaped, each line break (LF, CR LF or CR)
    // as \n. Other control characters but tab, which TEXT cannot hold, are left out.
    static QString escape(const QString &text);
};
