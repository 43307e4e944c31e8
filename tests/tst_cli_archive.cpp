// SPDX-License-Identifier: GPL-3.0-or-later
// collatrix-cli archive on both backends: list and history lines written out by hand, one file
// imported twice and by two processes at once recorded once, an import killed half-way and run
// again, group names with quotes, semicolons and non-ASCII letters, and limits and settings set
// in part, refused when bad and logged with who set them, and the plant's names of test points
// imported from a list.
#include "archive/archive.h"
#include "archivetesting.h"
#include "services/keptfolder.h"
#include "testfiles.h"

#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <csignal>

namespace
{

QStringList lines(const QByteArray &out)
{
    return QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Kept downloads of groups 1 to 4 in turn, cells 1 to cells each, one a minute.
bool keepMany(const CKeptFolder &folder, int files, int cells)
{
    QString problem;
    for (int i = 0; i < files; ++i) {
        QList<std::array<int, 5>> records;
        for (int cell = 1; cell <= cells; ++cell)
            records.append({1 + i % 4, cell, 1000 + i, 1, 0});
        const QString time = QString("2026-02-01T10:%1:00+01:00").arg(i, 2, 10, QChar('0'));
        if (folder.keep(keptAt(time, records), &problem).isEmpty())
            return false;
    }
    return true;
}

// The sum of "N recorded" over the import's reports.
int recordedIn(const QList<QByteArray> &reports)
{
    int sum = 0;
    for (const QByteArray &err : reports) {
        const auto m = QRegularExpression("(\\d+) recorded").match(QString::fromUtf8(err));
        sum += m.hasMatch() ? m.captured(1).toInt() : -1000;
    }
    return sum;
}

} // namespace

class TestCliArchive : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        if (!freshArchive(dir, &location))
            QSKIP("no PostgreSQL server (run through tests/with-postgres.sh)");
        // Beside a shared archive the program keeps an embedded one; each case gets its own, so
        // what an earlier run recorded is not "already in the archive".
        static int count = 0;
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data%1").arg(++count)).toLocal8Bit());
    }
    void listsAndShowsHistory_data() { addBackends(); }
    void listsAndShowsHistory()
    {
        const CKeptFolder folder(dir.filePath(QString("kept-%1").arg(QTest::currentDataTag())));
        CKeptDownload first =
            keptAt("2025-05-01T08:00:00+02:00", {{3, 7, 1234, 1, 1}, {3, 8, 50, 0, 0}});
        first.aScans << aScanOf(3, 7);
        CKeptDownload second = keptAt("2026-05-01T07:30:00-03:30", {{3, 7, 1190, 1, 0}});
        second.outcome = QStringLiteral("incomplete");
        const QString a = folder.keep(first, &problem);
        const QString b = folder.keep(second, &problem);
        QVERIFY(!a.isEmpty() && !b.isEmpty());
        const QString url = urlOf(location);

        CliRun r = runCli({"archive", "import", folder.path, "--archive", url});
        QCOMPARE(r.status, 0);
        QVERIFY2(r.err.contains("2 recorded, 0 already in the archive"), r.err.constData());
        r = runCli({"archive", "import", a, "--archive", url});
        QVERIFY2(r.err.contains("0 recorded, 1 already in the archive"), r.err.constData());

        r = runCli({"archive", "list", "--archive", url});
        QCOMPARE(r.status, 0);
        QCOMPARE(lines(r.out), (QStringList{"2026-05-01T07:30:00-03:30;M47xx;1;0;incomplete;" + b,
                                            "2025-05-01T08:00:00+02:00;M47xx;2;1;completed;" + a}));
        r = runCli({"archive", "history", "3", "7", "--archive", url});
        QCOMPARE(r.status, 0);
        QCOMPARE(lines(r.out), (QStringList{"2025-05-01T08:00:00+02:00;3;7;12.34;mm",
                                            "2026-05-01T07:30:00-03:30;3;7;11.90;mm"}));
        r = runCli({"archive", "history", "3", "8", "--decimal-separator", ",", "--archive", url});
        QCOMPARE(lines(r.out), QStringList{"2025-05-01T08:00:00+02:00;3;8;5,0;mm"});
        QCOMPARE(runCli({"archive", "history", "3", "x", "--archive", url}).status, 2);

        const QString name = QStringLiteral("Tank \"3\"; Ölbehälter Ø");
        QCOMPARE(runCli({"archive", "name", "3", name, "--archive", url}).status, 0);
        CArchive archive(location);
        QVERIFY2(archive.open(&problem), qPrintable(problem));
        QCOMPARE(archive.groupName(3, second.time, &problem), name);
        QCOMPARE(archive.groupName(3, first.time, &problem), QString());
    }
    // Two earlier years from a spreadsheet under a survey of 2025: recorded once, a file with a
    // bad line not at all, and the evaluation of 2025 gains its rates, worked out by hand:
    // LT 0.90 / (731 / 365.25) = 0.450 from 2023, ST 0.50 / (365 / 365.25) = 0.500 from 2024.
    void importsReadingsOfEarlierYears_data() { addBackends(); }
    void importsReadingsOfEarlierYears()
    {
        const QString url = urlOf(location);
        const CKeptFolder folder(dir.filePath(QString("kept-%1").arg(QTest::currentDataTag())));
        const QString latest =
            folder.keep(keptAt("2025-06-01T12:00:00", {{3, 1, 1100, 1, 0}}), &problem);
        QCOMPARE(runCli({"archive", "import", latest, "--archive", url}).status, 0);
        QCOMPARE(runCli({"archive", "limits", "3", "--nominal", "12", "--minimum", "8", "--archive",
                         url})
                     .status,
                 0);
        const auto rates = [&] {
            const QString line = QString::fromUtf8(
                runCli({"evaluate", "--archive", url, "--decimal-separator", "."}).out);
            return line.split("\r\n").value(1).split(';').mid(6, 6).join(';');
        };
        QCOMPARE(rates(), QStringLiteral(";;;;;")); // no earlier survey

        const QString csv = dir.filePath("old.csv"), bad = dir.filePath("bad.csv");
        QVERIFY(writeFile(csv, "time;group;cell;result;unit\n2023-06-01;3;1;11,90;mm\n"
                               "2024-06-01;3;1;11.50;mm\n2024-06-01;3;2;9.00;mm\n"));
        QVERIFY(writeFile(bad, "time;group;cell;result;unit\n2022-06-01;3;1;12.00;mm\n"
                               "2022-06-01;3;x;12.00;mm\n"));
        CliRun r = runCli({"archive", "import-readings", csv, "--archive", url});
        QCOMPARE(r.status, 0);
        QVERIFY2(r.out.contains("recorded: 2 (3 readings); already in the archive: 0"), r.out);
        r = runCli({"archive", "import-readings", csv, "--archive", url});
        QVERIFY2(r.out.contains("recorded: 0 (0 readings); already in the archive: 2 (3"), r.out);
        r = runCli({"archive", "import-readings", bad, "--archive", url});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains("line 3: the cell 'x'"), r.err);
        QStringList listed = lines(runCli({"archive", "list", "--archive", url}).out);
        QCOMPARE(listed.size(), 3);
        QVERIFY2(listed.at(1).contains(";imported from old.csv;2;0;imported;") &&
                     listed.at(2).contains(";imported from old.csv;1;0;imported;"),
                 qPrintable(listed.join('\n')));
        QCOMPARE(lines(runCli({"archive", "history", "3", "1", "--archive", url}).out).size(), 3);
        QCOMPARE(rates(), QStringLiteral("11.90;2023-06-01;11.50;2024-06-01;0.450;0.500"));
    }
    void limitsKeepWhatIsNotGivenAndAreLogged_data() { addBackends(); }
    // archive limits keeps the values not given and refuses bad ones; archive log gives each
    // value that changed, quoting a field with a ';' or a quote.
    void limitsKeepWhatIsNotGivenAndAreLogged()
    {
        qputenv("USER", "carla");
        const auto cli = [this](const QStringList &args) {
            return runCli(QStringList{"archive"} + args +
                          QStringList{"--archive", urlOf(location)});
        };
        CliRun r = cli({"limits", "3", "--warning", "1"});
        QVERIFY2(r.status == 2 && r.err.contains("give --nominal and --minimum"),
                 r.err.constData());
        const QStringList bad{"--rule", "class4", "--tolerance", "-1", "--min-interval", "1.5",
                              "--rate", "",       "--reason",    "x"};
        for (int i = 0; i < bad.size(); i += 2)
            QCOMPARE(cli({"limits", "3", bad.at(i), bad.at(i + 1)}).status, 2);
        const QString reason = "dwg \"4\"; rev. B";
        QCOMPARE(
            cli({"limits", "3", "--nominal", "12", "--minimum", "8", "--reason", reason}).status,
            0);
        QCOMPARE(cli({"limits", "3", "--warning", "0.5"}).status, 0);
        QCOMPARE(cli({"limits", "3", "--rule", "vessel", "--min-interval", "30", "--tolerance",
                      "0.30", "--rate", "upper"})
                     .status,
                 0);
        QCOMPARE(cli({"name", "3", "Tank 3; shell", "--reason", "site plan"}).status, 0);
        QCOMPARE(lines(cli({"limits", "3"}).out).size(), 2);
        QStringList log = lines(cli({"log"}).out);
        for (QString &line : log)
            line = line.section(';', 1); // after the time, which is the run's own
        const QString who = location.isShared() ? "carla (" + location.user + ")" : "carla";
        QCOMPARE(log,
                 QStringList({"%1;3;nominal;;12;\"dwg \"\"4\"\"; rev. B\"",
                              "%1;3;minimum;;8;\"dwg \"\"4\"\"; rev. B\"",
                              "%1;3;warning;;0;\"dwg \"\"4\"\"; rev. B\"", "%1;3;warning;0;0.5;",
                              "%1;3;min_interval;;30;", "%1;3;rate;;upper;", "%1;3;rule;;vessel;",
                              "%1;3;tolerance;;0.3;", "%1;3;name;;\"Tank 3; shell\";site plan"})
                     .replaceInStrings("%1", who));
        QCOMPARE(cli({"log", "4"}).out, QByteArray());
        QCOMPARE(cli({"log", "x"}).status, 2);
    }
    void importsPointNames_data() { addBackends(); }
    // A list with a byte order mark, CR LF, a quoted field holding ';', doubled quotes and
    // non-ASCII letters, then the list again with one point changed: only that one is a new row.
    void importsPointNames()
    {
        qputenv("USER", "carla");
        const auto cli = [this](const QStringList &args) {
            return runCli(QStringList{"archive"} + args +
                          QStringList{"--archive", urlOf(location)});
        };
        const QString list = dir.filePath(QString("points-%1.csv").arg(QTest::currentDataTag()));
        QVERIFY(writeFile(list, "\xEF\xBB\xBFgroup;cell;name;location\r\n"
                                "3;7;CML-07;\"12 o'clock; 300 mm \"\"W3\"\" S\xC3\xBC\x64\"\r\n"
                                "3;8;CML-08;\r\n"
                                "4;1;\"P 1\";Stutzen\r\n"));
        CliRun r = cli({"points", "import", list, "--reason", "plan"});
        QVERIFY2(r.status == 0 && r.err.contains("3 points named anew"), r.err.constData());
        QVERIFY(writeFile(list, "group;cell;name;location\n3;7;CML-07;\"12 o'clock; 300 mm "
                                "\"\"W3\"\" S\xC3\xBC\x64\"\n3;8;CML-8A;\n4;1;P 1;Stutzen\n"));
        r = cli({"points", "import", list});
        QVERIFY2(r.status == 0 && r.err.contains("1 points named anew"), r.err.constData());
        QCOMPARE(cli({"points"}).out, "3;7;CML-07;\"12 o'clock; 300 mm \"\"W3\"\" S\xC3\xBC\x64\"\n"
                                      "3;8;CML-8A;\n4;1;P 1;Stutzen\n");
        QCOMPARE(cli({"points", "4"}).out, "4;1;P 1;Stutzen\n");
        QStringList log = lines(cli({"log", "3"}).out);
        for (QString &line : log)
            line = line.section(';', 1);
        const QString who = location.isShared() ? "carla (" + location.user + ")" : "carla";
        QCOMPARE(log,
                 QStringList({"%1;3;point 7 name;;CML-07;plan",
                              QString::fromUtf8("%1;3;point 7 location;;\"12 o'clock; 300 "
                                                "mm \"\"W3\"\" Süd\";plan"),
                              "%1;3;point 8 name;;CML-08;plan", "%1;3;point 8 name;CML-08;CML-8A;"})
                     .replaceInStrings("%1", who));
        QCOMPARE(cli({"points", "x"}).status, 2);
        QCOMPARE(cli({"points", "import", dir.filePath("none.csv")}).status, 2);
    }
    void refusesABadPointList_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QByteArray head = "group;cell;name;location\r\n3;7;CML-07;\r\n";
        // clang-format off
        QTest::newRow("header") << QByteArray("group;cell;name\n3;7;A;\n") << "line 1: the list starts with the line group;cell;name;location";
        QTest::newRow("fields") << head + "3;8;CML-08\r\n" << "line 3: 3 fields";
        QTest::newRow("cell") << head + "3;x;CML-08;\r\n" << "line 3: '3;x' is not a group and a cell number";
        QTest::newRow("no name") << head + "\n3;8; ;\n" << "line 4: the point has no name";
        QTest::newRow("twice") << head + "3;7;CML-7A;\n" << "line 3: group 3, cell 7 is named twice";
        QTest::newRow("stray quote") << head + "3;8;CML \"8\";\n" << "line 3: a quote in the middle";
        QTest::newRow("open quote") << head + "3;8;\"CML-08;\n4;1;P;\n" << "line 3: a quote is not closed";
        QTest::newRow("not UTF-8") << head + "3;8;S\xFC\x64;\n" << "not UTF-8";
        // clang-format on
    }
    // A bad line is named with its number and nothing of the list is recorded.
    void refusesABadPointList()
    {
        QFETCH(QByteArray, bytes);
        const QString list = dir.filePath("bad.csv");
        QVERIFY(writeFile(list, bytes));
        const QStringList archive{"--archive", urlOf(location)};
        const CliRun r = runCli(QStringList{"archive", "points", "import", list} + archive);
        QCOMPARE(r.status, 1);
        QFETCH(QString, message);
        QVERIFY2(QString::fromUtf8(r.err).contains(message), r.err.constData());
        QCOMPARE(runCli(QStringList{"archive", "points"} + archive).out, QByteArray());
    }
    void twoImportsAtOnceRecordEachOnce_data() { addBackends(); }
    void twoImportsAtOnceRecordEachOnce()
    {
        const CKeptFolder folder(dir.filePath(QString("many-%1").arg(QTest::currentDataTag())));
        constexpr int kFiles = 20;
        QVERIFY(keepMany(folder, kFiles, 300));
        const QStringList args{"archive", "import", folder.path, "--archive", urlOf(location)};
        QProcess one, two;
        one.start(QStringLiteral(COLLATRIX_BIN_DIR "/collatrix-cli"), args);
        two.start(QStringLiteral(COLLATRIX_BIN_DIR "/collatrix-cli"), args);
        QVERIFY(one.waitForFinished(60000) && two.waitForFinished(60000));
        const QList<QByteArray> said{one.readAllStandardError(), two.readAllStandardError()};
        QVERIFY2(one.exitCode() == 0 && two.exitCode() == 0, (said[0] + said[1]).constData());
        QCOMPARE(recordedIn(said), kFiles);
        QCOMPARE(lines(runCli({"archive", "list", "--archive", urlOf(location)}).out).size(),
                 kFiles);
        CArchive archive(location);
        QVERIFY2(archive.open(&problem), qPrintable(problem));
        QCOMPARE(archive.history(1, 300, &problem).size(), kFiles / 4);
    }
    void killedImportCompletesWhenRunAgain_data() { addBackends(); }
    // An import killed after some files are in leaves a sound archive without a part of a
    // download, and the same import run again records the rest, each file once.
    void killedImportCompletesWhenRunAgain()
    {
        const CKeptFolder folder(dir.filePath(QString("kill-%1").arg(QTest::currentDataTag())));
        constexpr int kFiles = 12;
        constexpr int kCells = 2000;
        constexpr int kKillAfter = 5;
        QVERIFY(keepMany(folder, kFiles, kCells));
        const QStringList args{"archive", "import", folder.path, "--archive", urlOf(location)};
        QProcess import;
        import.setReadChannel(QProcess::StandardError);
        import.start(QStringLiteral(COLLATRIX_BIN_DIR "/collatrix-cli"),
                     args + QStringList{"--progress"});
        QByteArray line;
        while (!line.startsWith(QByteArray::number(kKillAfter) + " of ")) {
            QVERIFY(import.canReadLine() || import.waitForReadyRead(30000));
            line = import.readLine();
        }
        ::kill(pid_t(import.processId()), SIGKILL);
        QVERIFY(import.waitForFinished(30000));
        QCOMPARE(import.exitStatus(), QProcess::CrashExit);
        if (!location.isShared())
            QCOMPARE(firstRow(location, "PRAGMA integrity_check"), QStringLiteral("ok"));

        const CliRun again = runCli(args);
        QCOMPARE(again.status, 0);
        const int recorded = recordedIn({again.err});
        QVERIFY2(recorded <= kFiles - kKillAfter, again.err.constData());
        QVERIFY2(
            again.err.contains(QByteArray::number(kFiles - recorded) + " already in the archive"),
            again.err.constData());
        QCOMPARE(lines(runCli({"archive", "list", "--archive", urlOf(location)}).out).size(),
                 kFiles);
        CArchive archive(location);
        QVERIFY2(archive.open(&problem), qPrintable(problem));
        // The last result of every file is there: no download was recorded in part.
        for (int group = 1; group <= 4; ++group)
            QCOMPARE(archive.history(group, kCells, &problem).size(), kFiles / 4);
    }

private:
    QTemporaryDir dir;
    CArchiveLocation location;
    QString problem;
};

QTEST_GUILESS_MAIN(TestCliArchive)
#include "tst_cli_archive.moc"
