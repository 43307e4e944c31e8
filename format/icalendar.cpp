// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/icalendar.h"

namespace
{

const char kCrLf[] = "\r\n";
const qsizetype kMaxOctets = 75;

bool isContinuation(char byte)
{
    return (static_cast<uchar>(byte) & 0xC0) == 0x80;
}

// Where a physical line from start with room octets ends: before the character that would not
// fit whole.
qsizetype cutBefore(const QByteArray &line, qsizetype start, qsizetype room)
{
    qsizetype cut = start + room;
    while (cut > start && isContinuation(line.at(cut)))
        --cut;
    return cut > start ? cut : start + room;
}

bool isControl(QChar c)
{
    return (c.unicode() < 0x20 && c != QLatin1Char('\t')) || c.unicode() == 0x7F;
}

QByteArray contentLine(const char *name, const QString &value)
{
    return CICalendar::fold(name + (QLatin1Char(':') + value).toUtf8());
}

QByteArray textLine(const char *name, const QString &value)
{
    return contentLine(name, CICalendar::escape(value));
}

QByteArray dateLine(const char *name, QDate value)
{
    return contentLine(name, value.toString(QStringLiteral("yyyyMMdd")));
}

QByteArray eventLines(const CICalendar::Event &e, const QString &stamp)
{
    return contentLine("BEGIN", QStringLiteral("VEVENT")) + textLine("UID", e.uid) +
           contentLine("DTSTAMP", stamp) + dateLine("DTSTART;VALUE=DATE", e.date) +
           dateLine("DTEND;VALUE=DATE", e.date.addDays(1)) + textLine("SUMMARY", e.summary) +
           textLine("DESCRIPTION", e.description) +
           contentLine("TRANSP", QStringLiteral("TRANSPARENT")) +
           contentLine("END", QStringLiteral("VEVENT"));
}

} // namespace

QByteArray CICalendar::write(const QList<Event> &events, const QDateTime &stamp,
                             const QString &productId)
{
    const QString stampText = stamp.toUTC().toString(QStringLiteral("yyyyMMddTHHmmssZ"));
    QByteArray out = contentLine("BEGIN", QStringLiteral("VCALENDAR")) +
                     contentLine("VERSION", QStringLiteral("2.0")) + textLine("PRODID", productId) +
                     contentLine("CALSCALE", QStringLiteral("GREGORIAN")) +
                     contentLine("METHOD", QStringLiteral("PUBLISH"));
    for (const Event &e : events) {
        if (e.date.isValid())
            out += eventLines(e, stampText);
    }
    return out + contentLine("END", QStringLiteral("VCALENDAR"));
}

QByteArray CICalendar::fold(const QByteArray &line)
{
    QByteArray out;
    qsizetype start = 0;
    qsizetype room = kMaxOctets;
    while (line.size() - start > room) {
        const qsizetype cut = cutBefore(line, start, room);
        out += line.mid(start, cut - start) + kCrLf + ' ';
        start = cut;
        room = kMaxOctets - 1; // the leading space counts
    }
    return out + line.mid(start) + kCrLf;
}

QString CICalendar::escape(const QString &text)
{
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QString out;
    out.reserve(lines.size());
    for (QChar c : std::as_const(lines)) {
        if (c == QLatin1Char('\\') || c == QLatin1Char(';') || c == QLatin1Char(','))
            out += QLatin1Char('\\') + c;
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (!isControl(c))
            out += c;
    }
    return out;
}
