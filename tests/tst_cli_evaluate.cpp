// SPDX-License-Identifier: GPL-3.0-or-later
// collatrix-cli evaluate, archive limits, design, review and report --field on both backends:
// three surveys of one object a year apart (a leap day in the first year) evaluated against
// figures worked out by hand, the middle one evaluated while the archive holds a newer one, the
// latest of two limit settings applying; five surveys with a grown reading, a halved one and two
// surveys weeks apart, reviewed and decided; and the particulars of the test on the report's page
// one.
#include "archive/archive.h"
#include "archivetesting.h"
#include "pdftools.h"
#include "services/keptfolder.h"
#include "testfiles.h"

#include <QtTest>

namespace
{

QStringList lines(const QByteArray &out)
{
    return QString::fromUtf8(out).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

const QString kHeader =
    QStringLiteral("Group;Cell;Result;Unit;Status;Loss %;Initial;Initial date;Previous;"
                   "Previous date;LT rate;ST rate;Rate;Remaining life;Next inspection;Check;"
                   "LS rate;LS error;LS upper;Minimum;Rule");

} // namespace

class TestCliEvaluate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The day the surveys are evaluated on, whatever the machine's clock says.
        qputenv("COLLATRIX_TODAY", "2025-06-02");
        qputenv("USER", "inspector");
    }
    void init()
    {
        if (!freshArchive(dir, &location))
            QSKIP("no PostgreSQL server (run through tests/with-postgres.sh)");
        url = urlOf(location);
    }
    void evaluatesAgainstEarlierSurveys_data() { addBackends(); }
    void evaluatesAgainstEarlierSurveys()
    {
        recordSurveys();
        // The first setting is replaced by the second; both stay listed, oldest first.
        const auto limits = [this](const QStringList &values) {
            return runCli(QStringList{"archive", "limits", "3"} + values +
                          QStringList{"--archive", url});
        };
        QCOMPARE(limits({"--nominal", "13", "--minimum", "7"}).status, 0);
        QCOMPARE(limits({"--nominal", "12", "--minimum", "8", "--warning", "1"}).status, 0);
        QCOMPARE(limits({"--nominal", "7", "--minimum", "8"}).status, 2);
        CliRun r = limits({});
        const QStringList settings = QString::fromUtf8(r.out).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(settings.size(), 2);
        QVERIFY2(settings.at(0).endsWith(";13;7;0") && settings.at(1).endsWith(";12;8;1"),
                 r.out.constData());

        // The newest survey against the two before it. Years: 731 / 365.25 = 2.0014 from the first
        // (2024 has 29 February), 365 / 365.25 = 0.9993 from the second. Cell 1: LT 0.90 / 2.0014,
        // ST 0.50 / 0.9993 governs, life 3.00 / 0.5003 = 5.996, next in 2.998 years. Cell 2 is in
        // warning (8.50 < 8 + 1). Cell 3 is below its minimum: LT governs, life -0.10 / 0.1499, due
        // now. Cell 4 grew within the tolerance: no measurable loss, no life, next after the 10
        // years' maximum. Least squares over the three surveys, x = 0, 1.0021, 2.0014 years:
        // cell 1 slope -0.44967, error 0.02920, upper 0.44967 + 6.3138 * 0.02920 = 0.634.
        r = runCli({"evaluate", "--archive", url, "--decimal-separator", "."});
        QCOMPARE(r.status, 0);
        QCOMPARE(
            lines(r.out),
            (QStringList{kHeader,
                         "3;1;11.00;mm;ok;8.3;11.90;2023-06-01;11.50;2024-06-01;0.450;0.500;"
                         "0.500;6.0;2028-05-31;;0.450;0.029;0.634;8.000;half-life",
                         "3;2;8.50;mm;warning;29.2;9.00;2023-06-01;8.80;2024-06-01;0.250;0.300;"
                         "0.300;1.7;2026-04-01;;0.250;0.029;0.433;8.000;half-life",
                         "3;3;7.90;mm;below minimum;34.2;8.20;2023-06-01;8.00;2024-06-01;0.150;"
                         "0.100;0.150;-0.7;2025-06-01;;0.150;0.029;0.331;8.000;half-life",
                         "3;4;10.20;mm;ok;15.0;10.00;2023-06-01;10.10;2024-06-01;-0.100;-0.100;"
                         "-0.100;;2035-06-01;;-0.100;0.000;-0.099;8.000;half-life"}));

        // The middle survey while the archive holds the newest: only the first one counts, so
        // LT = ST = 0.40 / (366 / 365.25), life 3.50 / 0.3992 = 8.77, next in 4.38 years.
        const QString out =
            dir.filePath(QStringLiteral("middle-%1.csv").arg(QTest::currentDataTag()));
        QCOMPARE(runCli({"evaluate", files.at(1), "--archive", url, "-o", out,
                         "--decimal-separator", ","})
                     .status,
                 0);
        QFile written(out);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(lines(written.readAll()).value(1),
                 QStringLiteral("3;1;11,50;mm;ok;4,2;11,90;2023-06-01;11,90;2023-06-01;0,399;0,399;"
                                "0,399;8,8;2028-10-19;;;;;8,000;half-life"));
    }
    // Survey 5 of group 5 (1 July 2024, 10:00 UTC), limits 12/8; the others on 1 June 2021-2024.
    // Least squares with t(0.95) = 6.3138, 2.9200 and 2.3534 for 3, 4 and 5 readings.
    // Cell 1: June 2024 is 30 days back, under the 180 days: ST from June 2023, 0.30 / 1.08419 =
    // 0.277, LT 0.70 / 3.08282 = 0.227; life 3.30 / 0.2767 = 11.9. Least squares over all five:
    // slope -0.19808, error 0.02757, upper 0.265.
    // Cell 2: June 2023's 10.60 grew 0.70 beyond 9.90: suspect, so LT and ST come from June 2021
    // and 2022 (ST 0.15 / 2.08350 = 0.072); least squares over the four others. Verified, it is
    // the previous reading: ST 0.85 / 1.08419 = 0.784, life 1.75 / 0.78399 = 2.2.
    // Cell 3: June 2024's 4.80 is under 60 % of 9.80: suspect, passed over; ST from June 2023.
    void checkedSurveys_data() { addBackends(); }
    void checkedSurveys()
    {
        recordFiveSurveys();
        QCOMPARE(runCli({"archive", "limits", "5", "--nominal", "12", "--minimum", "8", "--archive",
                         url})
                     .status,
                 0);
        const QString cell1 = "5;1;11.30;mm;ok;5.8;12.00;2021-06-01;11.60;2023-06-01;0.227;0.277;"
                              "0.277;11.9;2030-06-18;;0.198;0.028;0.265;8.000;half-life";
        const QString cell3 = "5;3;9.70;mm;ok;19.2;10.00;2021-06-01;9.80;2023-06-01;0.097;0.092;"
                              "0.097;17.5;2033-03-26;;0.098;0.001;0.102;8.000;half-life";
        QCOMPARE(evaluated(),
                 (QStringList{cell1,
                              "5;2;9.75;mm;ok;18.8;10.00;2021-06-01;9.90;2022-06-01;0.081;0.072;"
                              "0.081;21.6;2034-07-01;;0.071;0.010;0.101;8.000;half-life",
                              cell3}));
        QCOMPARE(evaluated(files.at(3)).value(2),
                 "5;3;4.80;mm;suspect;;10.00;2021-06-01;9.80;2023-06-01;;;;;;suspect: half;;;;"
                 "8.000;half-life");
        // The report says the same: the halved reading is on the fourth survey's action list.
        if (popplerThere()) {
            const QString pdf = dir.filePath("five-" + QString(QTest::currentDataTag()) + ".pdf");
            QCOMPARE(runCli({"report", files.at(3), "-o", pdf, "--archive", url,
                             "--decimal-separator", "."})
                         .status,
                     0);
            const QString actions = pdfText(pdf, pdfPages(pdf));
            QVERIFY2(actions.contains("5 3 4.80 mm to review 10.00 2021-06-01 9.80 2023-06-01"),
                     qPrintable(actions));
        }
        QCOMPARE(review(),
                 (QStringList{"2023-06-01T10:00:00+00:00;5;2;10.60;mm;suspect: thicker;;;",
                              "2024-06-01T10:00:00+00:00;5;3;4.80;mm;suspect: half;;;"}));

        // Decided: the grown reading counts, the halved one never will.
        const QString who = location.isShared() ? "inspector (" + location.user + ")" : "inspector";
        QCOMPARE(runCli({"review", "verify", "5", "2", "2023-06-01T10:00:00+00:00", "--reason",
                         "couplant checked; echo clean", "--archive", url})
                     .status,
                 0);
        QCOMPARE(runCli({"review", "reject", "5", "3", "2024-06-01T10:00:00+00:00", "--reason",
                         "lamination", "--archive", url})
                     .status,
                 0);
        QCOMPARE(runCli({"review", "reject", "5", "3", "2024-06-02T10:00:00+00:00", "--reason",
                         "no such reading", "--archive", url})
                     .status,
                 1);
        QCOMPARE(
            runCli({"review", "verify", "5", "3", "2024-06-01T10:00:00+00:00", "--archive", url})
                .status,
            2);
        QCOMPARE(review(),
                 (QStringList{"2023-06-01T10:00:00+00:00;5;2;10.60;mm;suspect: thicker;verified;" +
                                  who + ";\"couplant checked; echo clean\"",
                              "2024-06-01T10:00:00+00:00;5;3;4.80;mm;suspect: half;rejected;" +
                                  who + ";lamination"}));
        QCOMPARE(evaluated(),
                 (QStringList{cell1,
                              "5;2;9.75;mm;ok;18.8;10.00;2021-06-01;10.60;2023-06-01;0.081;0.784;"
                              "0.784;2.2;2025-08-13;;0.052;0.147;0.397;8.000;half-life",
                              cell3}));
        const QString log =
            QString::fromUtf8(runCli({"archive", "log", "5", "--archive", url}).out);
        QVERIFY2(log.contains(";" + who +
                              ";5;reading 2 2023-06-01T10:00:00+00:00;;verified;"
                              "\"couplant checked; echo clean\""),
                 qPrintable(log));

        // The design minimum, 8.5 structural over a pressure thickness of 2.1 * 168.3 / 277.68 =
        // 1.273, replaces the typed 8 until a minimum is typed again: life 2.80 / 0.2767 = 10.1.
        CliRun design =
            runCli({"archive", "design", "5", "--shape", "pipe", "--pressure", "2.1", "--diameter",
                    "168.3", "--stress", "138", "--structural", "8.5", "--archive", url});
        QCOMPARE(design.out, QByteArray("8.500\n"));
        QCOMPARE(evaluated().value(0),
                 "5;1;11.30;mm;ok;5.8;12.00;2021-06-01;11.60;2023-06-01;0.227;0.277;0.277;10.1;"
                 "2029-07-23;;0.198;0.028;0.265;8.500;half-life");
        QCOMPARE(runCli({"archive", "design", "5", "--shape", "shell", "--pressure", "2",
                         "--diameter", "100", "--stress", "138", "--archive", url})
                     .status,
                 2);
        // A new warning margin keeps the minimum as it was typed before the design; a minimum
        // typed since, as the window sets it, replaces the design's.
        QCOMPARE(runCli({"archive", "limits", "5", "--warning", "0.3", "--archive", url}).status,
                 0);
        QCOMPARE(evaluated().value(0).section(';', 19, 19), QStringLiteral("8.500"));
        {
            CArchive archive(location);
            QString problem;
            QVERIFY2(
                archive.open(&problem) &&
                    archive.setLimits({5, 12, 7.5, 0.3, QDateTime::currentDateTime()}, &problem),
                qPrintable(problem));
        }
        QCOMPARE(evaluated().value(0).section(';', 19, 19), QStringLiteral("7.500"));
        QCOMPARE(runCli({"archive", "limits", "5", "--minimum", "8", "--archive", url}).status, 0);
        QCOMPARE(evaluated().value(0), cell1);

        // On New Year's Day 2026, with no survey since, cell 2 was due on 13 August 2025.
        qputenv("COLLATRIX_TODAY", "2026-01-01");
        const QStringList late = evaluated();
        qputenv("COLLATRIX_TODAY", "2025-06-02");
        QCOMPARE(late.value(0), cell1);
        QCOMPARE(late.value(1).section(';', 4, 4), QStringLiteral("overdue"));
        QCOMPARE(late.value(2), cell3);
    }
    void reportCarriesParticulars_data() { addBackends(); }
    void reportCarriesParticulars()
    {
        if (!popplerThere())
            QSKIP("poppler-utils is not installed");
        recordSurveys();
        QString problem;
        {
            CArchive archive(location);
            QVERIFY2(archive.open(&problem), qPrintable(problem));
            QVERIFY2(archive.setParticulars(3,
                                            {{"client", "Old client"}, {"operator", "I. Petrov"}},
                                            at("2025-01-01T00:00:00Z"), &problem),
                     qPrintable(problem));
            QVERIFY(archive.setParticulars(3, {{"client", "Northern Works"}},
                                           at("2025-02-01T00:00:00Z"), &problem));
        }
        const QString pdf = dir.filePath(QStringLiteral("r-%1.pdf").arg(QTest::currentDataTag()));
        const CliRun r =
            runCli({"report", files.at(2), "-o", pdf, "--archive", url, "--field",
                    "probe=D1771 5 MHz", "--field", "operator=A. Sidorova", "--field", "tank=T-3"});
        QVERIFY2(r.status == 0, r.err.constData());
        const QString page = pdfText(pdf, 1);
        for (const char *line :
             {"Client: Northern Works", "Operator: A. Sidorova", "Probe: D1771 5 MHz", "tank: T-3"})
            QVERIFY2(page.contains(QLatin1String(line)), qPrintable(line + (": " + page)));
        QVERIFY(!page.contains(QLatin1String("I. Petrov")));
        QCOMPARE(runCli({"report", files.at(2), "-o", pdf, "--field", "novalue"}).status, 2);
    }

    // The due list over three objects with limits and one without. Group 3 is the first test's:
    // governed by cell 3, below its minimum, due on its survey's day. Group 5's points were read
    // in different surveys (2023-06-01 to 2024-06-01 is 366 / 365.25 = 1.00205 years):
    // cell 1 from 9.00 to 8.50, rate 0.49898, life 2.50 / 0.49898 = 5.0103, next in 2.5051
    // years: 2026-12-03. Cell 3 from 8.00 to 6.40, rate 1.59672, life 0.2505, next in 0.1253
    // years: 2024-07-17, before today and never read since: overdue, and it governs. Cell 4 grew
    // 0.80: suspect, no date. Cell 5's halved reading of 2025 is rejected, so its newest reading
    // is 8.80 of 2024: rate 0.19959, life 14.03, next in 7.0144 years: 2031-06-07. Group 8:
    // 10.00 to 9.90 in a year, life 38.97, the 10 years' cap: 2035-06-01. Group 9's only point
    // grew 1.00: suspect, so the object has no date and comes last, whatever the days asked.
    void dueList_data() { addBackends(); }
    void dueList()
    {
        // Group, cell and the hundredths read in 2023, 2024 and 2025; 0: not read that year.
        const QList<std::array<int, 5>> table{
            {3, 1, 1190, 1150, 1100}, {3, 2, 900, 880, 850}, {3, 3, 820, 800, 790},
            {3, 4, 1000, 1010, 1020}, {5, 1, 900, 850, 0},   {5, 2, 900, 0, 800},
            {5, 3, 800, 640, 0},      {5, 4, 900, 0, 980},   {5, 5, 900, 880, 400},
            {7, 1, 500, 0, 0},        {8, 1, 0, 1000, 990},  {9, 1, 900, 0, 1000}};
        QList<QList<std::array<int, 5>>> surveys(3);
        for (const auto &row : table) {
            for (size_t year = 0; year < 3; ++year) {
                if (row[2 + year] != 0)
                    surveys[qsizetype(year)].append({row[0], row[1], row[2 + year], 1, 0});
            }
        }
        recordAll(surveys, {"2023-06-01", "2024-06-01", "2025-06-01"});
        const QString names = dir.filePath("points-" + QString(QTest::currentDataTag()) + ".csv");
        writeFile(names, "group;cell;name;location\r\n5;3;ТТ-03;\"север; 12 ч\"\r\n");
        for (const QStringList &args :
             {QStringList{"archive", "limits", "3", "--nominal", "12", "--minimum", "8",
                          "--warning", "1"},
              {"archive", "limits", "5", "--nominal", "10", "--minimum", "6"},
              {"archive", "limits", "8", "--nominal", "10", "--minimum", "6"},
              {"archive", "limits", "9", "--nominal", "10", "--minimum", "6"},
              {"archive", "name", "5", "Линия 5; цех №2"},
              {"archive", "points", "import", names},
              {"review", "reject", "5", "5", "2025-06-01T10:00:00+00:00", "--reason", "slipped"}})
            QCOMPARE(runCli(args + QStringList{"--archive", url}).status, 0);
        const QString ics = dir.filePath("due-" + QString(QTest::currentDataTag()) + ".ics");
        CliRun r = runCli({"due", "--archive", url, "--ics", ics});
        QCOMPARE(r.status, 0);
        const QStringList due{
            "Group;Name;Last survey;Points;Below minimum;Warning;Suspect;Overdue;Cell;Point;"
            "Next inspection",
            "5;\"Линия 5; цех №2\";2025-06-01;5;0;0;1;1;3;ТТ-03;2024-07-17",
            "3;;2025-06-01;4;1;1;0;0;3;;2025-06-01", "8;;2025-06-01;1;0;0;0;0;1;;2035-06-01",
            "9;;2025-06-01;1;0;0;1;0;;;"};
        QCOMPARE(lines(r.out), due);
        // An earlier version of the program records no packed results: the rows are read instead.
        QVERIFY(runSql(location, {"DELETE FROM packed_results WHERE download_id = "
                                  "(SELECT MIN(id) FROM downloads)"}));
        QCOMPARE(lines(runCli({"due", "--within", "30", "--archive", url}).out), due.mid(0, 3)
                                                                                     << due.last());
        // One event an object, each a day long on its date, under a UID the next export keeps.
        const QByteArray calendar = fileBytes(ics);
        const QRegularExpression uid(QStringLiteral("UID:([0-9a-f]{16}-object-[0-9]+@collatrix)"));
        const auto uids = [&uid](const QByteArray &bytes) {
            QStringList found;
            for (const auto &m : uid.globalMatch(QString::fromUtf8(bytes)))
                found << m.captured(1);
            return found;
        };
        QCOMPARE(uids(calendar).size(), 3);
        QVERIFY(calendar.contains("DTSTART;VALUE=DATE:20240717\r\nDTEND;VALUE=DATE:20240718\r\n"));
        QVERIFY(calendar.contains("SUMMARY:Inspection due: 5 – Линия 5\\; цех №2\r\n"));
        QCOMPARE(runCli({"due", "--archive", url, "--ics", ics, "-o", ics + ".csv"}).status, 0);
        QCOMPARE(uids(fileBytes(ics)), uids(calendar));
        QCOMPARE(runCli({"due", "--within", "soon", "--archive", url}).status, 2);
        QCOMPARE(runCli({"due", "--archive", url, "-o", dir.filePath("none/due.csv")}).status, 1);
        QVERIFY(runSql(location, {"UPDATE packed_results SET bytes = substr(bytes, 1, 13)"}));
        r = runCli({"due", "--archive", url});
        QVERIFY2(r.status == 1 && r.err.contains("packed results of download"), r.err.constData());
    }

private:
    // The lines of the newest download's evaluation, or the file's.
    QStringList evaluated(const QString &file = QString())
    {
        QStringList args{"evaluate", "--archive", url, "--decimal-separator", "."};
        if (!file.isEmpty())
            args.prepend(file), args.swapItemsAt(0, 1);
        return lines(runCli(args).out).mid(1);
    }
    QStringList review()
    {
        return QString::fromUtf8(runCli({"review", "--archive", url}).out)
            .split('\n', Qt::SkipEmptyParts);
    }
    // Five surveys of group 5, cells 1-3: on 1 June 2021 to 2024 and on 1 July 2024.
    void recordFiveSurveys()
    {
        const QList<QList<std::array<int, 5>>> surveys{
            {{5, 1, 1200, 1, 0}, {5, 2, 1000, 1, 0}, {5, 3, 1000, 1, 0}},
            {{5, 1, 1180, 1, 0}, {5, 2, 990, 1, 0}, {5, 3, 990, 1, 0}},
            {{5, 1, 1160, 1, 0}, {5, 2, 1060, 1, 0}, {5, 3, 980, 1, 0}},
            {{5, 1, 1150, 1, 0}, {5, 2, 980, 1, 0}, {5, 3, 480, 1, 0}},
            {{5, 1, 1130, 1, 0}, {5, 2, 975, 1, 0}, {5, 3, 970, 1, 0}}};
        recordAll(surveys, {"2021-06-01", "2022-06-01", "2023-06-01", "2024-06-01", "2024-07-01"});
    }
    // Three surveys of group 3, cells 1-4, on 1 June 2023, 2024 and 2025, in the archive.
    void recordSurveys()
    {
        const QList<QList<std::array<int, 5>>> surveys{
            {{3, 1, 1190, 1, 0}, {3, 2, 900, 1, 0}, {3, 3, 820, 1, 0}, {3, 4, 1000, 1, 0}},
            {{3, 1, 1150, 1, 0}, {3, 2, 880, 1, 0}, {3, 3, 800, 1, 0}, {3, 4, 1010, 1, 0}},
            {{3, 1, 1100, 1, 0}, {3, 2, 850, 1, 0}, {3, 3, 790, 1, 0}, {3, 4, 1020, 1, 0}}};
        recordAll(surveys, {"2023-06-01", "2024-06-01", "2025-06-01"});
    }
    // Keeps the surveys, each at 10:00 UTC of its day, and imports them into the archive.
    void recordAll(const QList<QList<std::array<int, 5>>> &surveys, const QStringList &days)
    {
        const CKeptFolder folder(
            dir.filePath(QStringLiteral("kept-%1-%2")
                             .arg(QTest::currentTestFunction(), QTest::currentDataTag())));
        files.clear();
        QString problem;
        for (int i = 0; i < surveys.size(); ++i)
            files << folder.keep(
                keptAt(days.at(i) + QStringLiteral("T10:00:00+00:00"), surveys.at(i)), &problem);
        QVERIFY2(!files.contains(QString()), qPrintable(problem));
        QCOMPARE(runCli({"archive", "import", folder.path, "--archive", url}).status, 0);
    }

    QTemporaryDir dir;
    CArchiveLocation location;
    QString url;
    QStringList files;
};

QTEST_GUILESS_MAIN(TestCliEvaluate)
#include "tst_cli_evaluate.moc"
