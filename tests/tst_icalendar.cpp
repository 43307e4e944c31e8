// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/icalendar.h"

#include <QStringDecoder>
#include <QtTest>

namespace
{

const QByteArray kZh = "Ж";                    // 2 octets in UTF-8
const QByteArray kWrench = "\xF0\x9F\x94\xA7"; // 4 octets

QDateTime stamp()
{
    return QDateTime(QDate(2024, 1, 2), QTime(5, 4, 5), Qt::OffsetFromUTC, 2 * 3600);
}

// TEXT read back as RFC 5545 says, apart from our escaping.
QString unescaped(const QString &value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i) == QLatin1Char('\\') ? value.at(++i) : value.at(i);
        out += c == QLatin1Char('n') || c == QLatin1Char('N') ? QLatin1Char('\n') : c;
    }
    return out;
}

} // namespace

class TestICalendar : public QObject
{
    Q_OBJECT

private slots:
    void fold_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("folded");
        const QByteArray a73(73, 'a');
        QTest::newRow("75 octets") << "X:" + a73 << "X:" + a73 + "\r\n";
        QTest::newRow("76 octets") << "X:" + a73 + "b"
                                   << "X:" + a73 + "\r\n b\r\n";
        QTest::newRow("continuations of 74 octets and the space")
            << "X:" + a73 + QByteArray(75, 'b')
            << "X:" + a73 + "\r\n " + QByteArray(74, 'b') + "\r\n b\r\n";
        // Octets 75 and 76 are one letter: the first line ends before it, at 74 octets.
        QTest::newRow("Cyrillic") << "SUMMARY:" + kZh.repeated(80)
                                  << "SUMMARY:" + kZh.repeated(33) + "\r\n " + kZh.repeated(37) +
                                         "\r\n " + kZh.repeated(10) + "\r\n";
        QTest::newRow("emoji across octet 75") << "X:" + a73.left(71) + kWrench + "b"
                                               << "X:" + a73.left(71) + "\r\n " + kWrench + "b\r\n";
        QTest::newRow("emoji ending at octet 75") << "X:" + a73.left(69) + kWrench + "b"
                                                  << "X:" + a73.left(69) + kWrench + "\r\n b\r\n";
        QTest::newRow("not UTF-8")
            << QByteArray(80, '\x80')
            << QByteArray(75, '\x80') + "\r\n " + QByteArray(5, '\x80') + "\r\n";
    }
    void fold()
    {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, folded);
        QCOMPARE(CICalendar::fold(line), folded);
    }
    void escape_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("escaped");
        QTest::newRow("specials") << "a;b,c\\d: Ж"
                                  << "a\\;b\\,c\\\\d: Ж";
        QTest::newRow("line breaks") << "1\n2\r\n3\r4\r\n\r\n"
                                     << "1\\n2\\n3\\n4\\n\\n";
        QTest::newRow("controls") << QStringLiteral("tab\t\x01\x7F") << "tab\t";
    }
    void escape()
    {
        QFETCH(QString, text);
        QFETCH(QString, escaped);
        QCOMPARE(CICalendar::escape(text), escaped);
    }
    void writesCalendar()
    {
        const QList<CICalendar::Event> events = {
            {"17@example.org", QDate(2024, 2, 29), "Pipe 3; bends, tees", "Line A\nlast: 2019"},
            {"lost@example.org", QDate(), "no date", ""},
            {"18@example.org", QDate(2024, 12, 31), "Котёл №2", ""}};
        QCOMPARE(CICalendar::write(events, stamp(), "-//Test//Due 1.0//EN"),
                 QByteArray("BEGIN:VCALENDAR\r\n"
                            "VERSION:2.0\r\n"
                            "PRODID:-//Test//Due 1.0//EN\r\n"
                            "CALSCALE:GREGORIAN\r\n"
                            "METHOD:PUBLISH\r\n"
                            "BEGIN:VEVENT\r\n"
                            "UID:17@example.org\r\n"
                            "DTSTAMP:20240102T030405Z\r\n"
                            "DTSTART;VALUE=DATE:20240229\r\n"
                            "DTEND;VALUE=DATE:20240301\r\n"
                            "SUMMARY:Pipe 3\\; bends\\, tees\r\n"
                            "DESCRIPTION:Line A\\nlast: 2019\r\n"
                            "TRANSP:TRANSPARENT\r\n"
                            "END:VEVENT\r\n"
                            "BEGIN:VEVENT\r\n"
                            "UID:18@example.org\r\n"
                            "DTSTAMP:20240102T030405Z\r\n"
                            "DTSTART;VALUE=DATE:20241231\r\n"
                            "DTEND;VALUE=DATE:20250101\r\n"
                            "SUMMARY:Котёл №2\r\n"
                            "DESCRIPTION:\r\n"
                            "TRANSP:TRANSPARENT\r\n"
                            "END:VEVENT\r\n"
                            "END:VCALENDAR\r\n"));
    }
    // Reads the calendar back by RFC 5545's rules: physical lines, unfolding, components.
    void readsBack()
    {
        const QString name =
            QStringLiteral("Паропровод высокого давления; от котла №3, опоры 12–48 ").repeated(3) +
            QStringLiteral("\nосмотр ") + QString::fromUtf8(kWrench);
        const QByteArray out = CICalendar::write(
            {{"a@example.org", QDate(2025, 5, 5), name, name}, {"b", QDate(2025, 6, 1), "s", ""}},
            stamp(), "-//Test//Due 1.0//EN");
        QList<QByteArray> physical = out.split('\n');
        QCOMPARE(physical.takeLast(), QByteArray()); // the last line ends too
        QStringList logical;
        for (QByteArray line : std::as_const(physical)) {
            QVERIFY(line.endsWith('\r'));
            line.chop(1);
            QVERIFY(!line.contains('\r') && line.size() <= 75);
            QStringDecoder utf8(QStringDecoder::Utf8); // each line on its own
            const QString text = utf8(line);
            QVERIFY2(!utf8.hasError(), line);
            if (text.startsWith(QLatin1Char(' ')) || text.startsWith(QLatin1Char('\t')))
                logical.last() += text.mid(1);
            else
                logical.append(text);
        }
        QCOMPARE(logical.first(), QStringLiteral("BEGIN:VCALENDAR"));
        QStringList open, texts;
        QList<QStringList> events;
        for (const QString &line : std::as_const(logical)) {
            const QString property = line.section(QRegularExpression(QStringLiteral("[;:]")), 0, 0);
            const QString value = line.section(QLatin1Char(':'), 1);
            if (property == QLatin1String("BEGIN")) {
                open << value;
                if (value == QLatin1String("VEVENT"))
                    events << QStringList();
            } else if (property == QLatin1String("END")) {
                QVERIFY(!open.isEmpty());
                QCOMPARE(open.takeLast(), value);
            } else if (!open.isEmpty() && open.last() == QLatin1String("VEVENT")) {
                events.last() << property;
            }
            if (property == QLatin1String("SUMMARY") || property == QLatin1String("DESCRIPTION"))
                texts << unescaped(value);
        }
        QVERIFY(open.isEmpty());
        QCOMPARE(events.size(), 2);
        for (const QStringList &properties : std::as_const(events)) {
            for (const char *wanted : {"UID", "DTSTAMP", "DTSTART"})
                QVERIFY2(properties.contains(QLatin1String(wanted)), wanted);
        }
        QCOMPARE(texts.mid(0, 2), QStringList({name, name}));
    }
};

QTEST_APPLESS_MAIN(TestICalendar)
#include "tst_icalendar.moc"
