// SPDX-License-Identifier: GPL-3.0-or-later
// The archive on both backends from one table: recording once and wholly or not at all,
// replacing a file that gained its A-scans, the orders of the list and of a history, group
// names over time, the migration of every earlier version, writing to a newer one unless it
// needs a newer writer, the refusal of a file it cannot use, a server that wants a password,
// downloads and decisions that wait for a shared archive out of reach, a server that stops under
// an open connection and in the middle of a sync, and the log of who set each figure.
#include "archive/archive.h"
#include "archive/archiveschema.h"
#include "archive/archiveset.h"
#include "archivetesting.h"
#include "data/collatrix.h"
#include "device/kvtustester.h"
#include "services/archiveservice.h"
#include "services/keptfolder.h"
#include "testfiles.h"

#include <QRegularExpression>
#include <QSemaphore>
#include <QTcpServer>
#include <QtTest>

#include <locale.h>
#include <unistd.h>

namespace
{

bool serverCommand(const QStringList &args)
{
    return QProcess::execute(qEnvironmentVariable("COLLATRIX_TEST_POSTGRES_SERVER"), args) == 0;
}

// The throwaway server asks for passwords, 'sesame' for the archive's user, with its messages in
// the language given, while the guard lives; then it trusts every local client again.
struct PasswordServer {
    PasswordServer(const CArchiveLocation &location, const QString &language)
        : started(runSql(location, {"ALTER ROLE collatrix PASSWORD 'sesame'"}) &&
                  serverCommand({"auth", "scram-sha-256", language}))
    {
    }
    ~PasswordServer() { serverCommand({"auth", "trust"}); }
    const bool started;
};

// The file a kept download would be, its bytes, and its record in the archive.
CArchive::Recorded record(CArchive &archive, const CKeptDownload &kept, const QString &file)
{
    QString problem;
    const CArchive::Recorded r = archive.record(kept, kept.toBytes(), file, &problem);
    if (r == CArchive::Recorded::Failed)
        qWarning("%s", qPrintable(problem));
    return r;
}

QStringList historyText(CArchive &archive, int group, int cell)
{
    QString problem;
    QStringList lines;
    for (const ArchiveReading &r : archive.history(group, cell, &problem))
        lines << r.time.toString(Qt::ISODate) + QLatin1Char(' ') + formatResult(r.record) +
                     (r.record.hasAScan ? QStringLiteral(" A") : QString());
    return lines;
}

// Every field of a listed download but its id, joined by '|': its time with milliseconds and
// offset, port, protocol, outcome, tester, program, identification, file, SHA-256, results,
// A-scans, and 1 when it waits.
QString fieldsOf(const ArchiveDownload &d)
{
    return QStringList({d.time.toString(Qt::ISODateWithMs), d.port, d.protocol, d.outcome, d.tester,
                        d.program, d.identification, d.file, d.sha256, QString::number(d.results),
                        QString::number(d.aScans), QString::number(d.waiting)})
        .join('|');
}

// The log of the group (0: all), an entry a line: UTC time|user|group|what|old|new|reason.
QStringList logText(CArchive &archive, int group)
{
    QString problem;
    QStringList log;
    for (const ArchiveLogEntry &e : archive.log(group, &problem))
        log << QString("%1|%2|%3|%4|%5|%6|%7")
                   .arg(e.at.toUTC().toString(Qt::ISODate), e.user, QString::number(e.group),
                        e.what, e.oldValue, e.newValue, e.reason);
    return log;
}

int sharedCount(const CArchiveLocation &server)
{
    QString problem;
    CArchive shared(server);
    return shared.open(&problem) ? int(shared.downloads(false, &problem).size()) : -1;
}

// The controller of a window whose archive cannot be used: it says why, and a reception is
// kept all the same.
bool keepsWithoutTheArchive(const QTemporaryDir &dir, const QString &url, const QString &reason)
{
    static int count = 0;
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("without%1").arg(++count)).toLocal8Bit());
    qputenv("COLLATRIX_ARCHIVE", url.toLocal8Bit());
    CCollatrix controller(dir.path());
    QString refusal, problem;
    const bool refused =
        !controller.archive->run([](CArchiveSet &) {}, &refusal) && refusal.contains(reason);
    const QByteArray dump = dumpOf({{1, 1, 500, 0, 0}});
    controller.tester->ringBuffer.write(dump.constData(), int(dump.size()));
    controller.tester->extendedProtocol = true;
    const bool kept =
        controller.decodeReceivedDump() &&
        controller.keepReception(CTransferEngine::Outcome::Completed, &problem) &&
        fileBytes(controller.download->keptFile) == controller.download->kept.toBytes();
    qunsetenv("COLLATRIX_ARCHIVE");
    if (!refused || !kept)
        qWarning("%s %s", qPrintable(refusal), qPrintable(problem));
    return refused && kept;
}

} // namespace

class TestArchive : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        problem.clear();
        archive.reset();
        if (!freshArchive(dir, &location))
            QSKIP("no PostgreSQL server (run through tests/with-postgres.sh)");
        archive = std::make_unique<CArchive>(location);
    }
    void readsLocations_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("parts"); // shared or not|path|host|port|user|database|options
        // The last: a password never stays in what the program holds; libpq finds it in ~/.pgpass.
        // clang-format off
        QTest::newRow("sqlite file") << "sqlite:/tmp/a b/archive.sqlite" << "embedded|/tmp/a b/archive.sqlite||-1|||";
        QTest::newRow("server") << "postgresql://anna@db.example.org:5433/survey" << "shared||db.example.org|5433|anna|survey|";
        QTest::newRow("socket") << "postgresql:///survey?host=/run/pg&sslmode=disable" << "shared||/run/pg|-1||survey|sslmode=disable";
        QTest::newRow("password dropped") << "postgresql://anna@h/s?password=secret&service=team" << "shared||h|-1|anna|s|service=team";
        // clang-format on
    }
    void readsLocations()
    {
        QFETCH(QString, url);
        CArchiveLocation l;
        QVERIFY2(l.parse(url, &problem), qPrintable(problem));
        QTEST(QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
                  .arg(l.isShared() ? "shared" : "embedded", l.path, l.host,
                       QString::number(l.port), l.user, l.database, l.options.join('&')),
              "parts");
        QVERIFY(!l.parse("mysql://h/db", &problem));
        QVERIFY(problem.contains(QLatin1String("mysql://h/db")));
    }
    void recordsOnce_data() { addBackends(); }
    void recordsOnce()
    {
        QVERIFY2(archive->open(&problem), qPrintable(problem));
        CKeptDownload kept = keptAt(QStringLiteral("2026-03-14T10:22:05.250+03:00"),
                                    {{2, 5, 1234, 1, 1}, {2, 6, 987, 0, 0}, {4, 1, 50, 0, 0}});
        kept.aScans << aScanOf(2, 5);
        const QString file = QStringLiteral("/kept/2026-03-14_102205 \"ß;\".clxd");
        QCOMPARE(record(*archive, kept, file), CArchive::Recorded::New);
        QCOMPARE(record(*archive, kept, file), CArchive::Recorded::Known);

        const QList<ArchiveDownload> list = archive->downloads(false, &problem);
        QCOMPARE(list.size(), 1);
        const QByteArray sha256 =
            QCryptographicHash::hash(kept.toBytes(), QCryptographicHash::Sha256);
        QCOMPARE(fieldsOf(list.first()),
                 "2026-03-14T10:22:05.250+03:00|COM3|extended|completed|M47xx|4.2||" + file + '|' +
                     sha256.toHex() + "|3|1|0");
        QCOMPARE(historyText(*archive, 2, 5), QStringList{"2026-03-14T10:22:05+03:00 12.34 A"});
        QCOMPARE(historyText(*archive, 2, 6), QStringList{"2026-03-14T10:22:05+03:00 98.7"});
        // The shared archive holds the file itself for colleagues; the embedded one has the file.
        QCOMPARE(archive->keptBytes(list.first().sha256, &problem),
                 location.isShared() ? kept.toBytes() : QByteArray());
    }
    void aFailureHalfWayLeavesNoPart_data() { addBackends(); }
    // A statement that fails half-way through a record, as a program killed there would stop,
    // leaves no part of the download; recording it again works.
    void aFailureHalfWayLeavesNoPart()
    {
        QStringList halt{QStringLiteral("CREATE TRIGGER halt BEFORE INSERT ON results ") +
                         (location.isShared()
                              ? "FOR EACH ROW EXECUTE FUNCTION halt()"
                              : "WHEN NEW.row_no = 1 BEGIN SELECT RAISE(FAIL, 'halted'); END")};
        if (location.isShared())
            halt.prepend(
                "CREATE FUNCTION halt() RETURNS trigger AS $$ BEGIN IF NEW.row_no = 1 THEN "
                "RAISE EXCEPTION 'halted'; END IF; RETURN NEW; END $$ LANGUAGE plpgsql");
        QVERIFY2(archive->open(&problem), qPrintable(problem));
        QVERIFY(runSql(location, halt));
        const CKeptDownload kept =
            keptAt("2026-03-01T10:00:00+01:00", {{2, 1, 700, 0, 0}, {2, 2, 710, 0, 0}});
        QCOMPARE(archive->record(kept, kept.toBytes(), "/kept/halt.clxd", &problem),
                 CArchive::Recorded::Failed);
        QVERIFY2(problem.contains(QLatin1String("halted")), qPrintable(problem));
        QVERIFY(archive->downloads(false, &problem).isEmpty());
        QVERIFY(historyText(*archive, 2, 1).isEmpty());
        QVERIFY(runSql(location, {location.isShared() ? "DROP TRIGGER halt ON results"
                                                      : "DROP TRIGGER halt"}));
        QCOMPARE(record(*archive, kept, "/kept/halt.clxd"), CArchive::Recorded::New);
        QCOMPARE(historyText(*archive, 2, 2), QStringList{"2026-03-01T10:00:00+01:00 71.0"});
    }
    void replacesWhenAScansAreAdded_data() { addBackends(); }
    void replacesWhenAScansAreAdded()
    {
        QVERIFY2(archive->open(&problem), qPrintable(problem));
        CKeptDownload kept =
            keptAt("2026-03-14T10:22:05+01:00", {{2, 5, 1234, 1, 1}, {2, 6, 987, 0, 1}});
        const QString file = QStringLiteral("/kept/one.clxd");
        QCOMPARE(record(*archive, kept, file), CArchive::Recorded::New);
        kept.aScans << aScanOf(2, 6);
        QCOMPARE(record(*archive, kept, file), CArchive::Recorded::New);
        // The same bytes under another name are the same download.
        QCOMPARE(record(*archive, kept, "/kept/copy.clxd"), CArchive::Recorded::Known);
        const QList<ArchiveDownload> list = archive->downloads(false, &problem);
        QCOMPARE(list.size(), 1);
        QCOMPARE(list.first().aScans, 1);
        QCOMPARE(historyText(*archive, 2, 6), QStringList{"2026-03-14T10:22:05+01:00 98.7 A"});
        QCOMPARE(historyText(*archive, 2, 5), QStringList{"2026-03-14T10:22:05+01:00 12.34"});
    }
    void listsNewestFirstAndHistoryOldestFirst_data() { addBackends(); }
    void listsNewestFirstAndHistoryOldestFirst()
    {
        QVERIFY2(archive->open(&problem), qPrintable(problem));
        // Recorded out of order; the middle one is an hour later in UTC than its local time says.
        record(*archive, keptAt("2026-05-01T08:00:00+02:00", {{3, 7, 1190, 1, 0}}, "COM2"), "/b");
        record(*archive, keptAt("2025-05-01T08:00:00+02:00", {{3, 7, 1234, 1, 0}}, "COM1"), "/a");
        record(*archive, keptAt("2026-05-01T07:30:00+00:00", {{3, 7, 1150, 1, 0}}, "COM3"), "/c");
        QStringList ports;
        for (const ArchiveDownload &d : archive->downloads(false, &problem))
            ports << d.port;
        QCOMPARE(ports, (QStringList{"COM3", "COM2", "COM1"}));
        QCOMPARE(historyText(*archive, 3, 7),
                 (QStringList{"2025-05-01T08:00:00+02:00 12.34", "2026-05-01T08:00:00+02:00 11.90",
                              "2026-05-01T07:30:00Z 11.50"}));
        QCOMPARE(historyText(*archive, 3, 8), QStringList());
    }
    void namesApplyFromTheirDownloadOnward_data() { addBackends(); }
    void namesApplyFromTheirDownloadOnward()
    {
        QVERIFY2(archive->open(&problem), qPrintable(problem));
        const QString first = QStringLiteral("Tank 3 \"shell\"; Ölbehälter Ø 2 м");
        const QString second = QStringLiteral("Line 12 elbow 'new'");
        QVERIFY(archive->nameGroup(3, first, at("2026-01-10T12:00:00+01:00"), &problem));
        QVERIFY(archive->nameGroup(3, second, at("2026-06-01T09:00:00+02:00"), &problem));
        QVERIFY(archive->nameGroup(4, "other", at("2020-01-01T00:00:00Z"), &problem));
        QCOMPARE(archive->groupName(3, at("2026-01-10T11:59:59+01:00"), &problem), QString());
        QCOMPARE(archive->groupName(3, at("2026-01-10T12:00:00+01:00"), &problem), first);
        QCOMPARE(archive->groupName(3, at("2026-06-01T06:59:59Z"), &problem), first);
        QCOMPARE(archive->groupName(3, at("2026-06-01T07:00:00Z"), &problem), second);
        QCOMPARE(archive->groupName(3, at("2030-01-01T00:00:00Z"), &problem), second);
        QCOMPARE(archive->groupName(5, at("2030-01-01T00:00:00Z"), &problem), QString());
    }
    void migratesAnEarlierVersion_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("newest"); // what fieldsOf() gives of the newest download
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("minimum");
        QTest::addColumn<QString>("site");
        const QString newest =
            "2025-10-20T15:30:00.000+03:00|COM5|standard|incomplete|M47xx|4.1|%1|"
            "/data/2025-10-20_153000.clxd|" +
            QString(64, '2') + "|1|0|%2";
        for (const char *b : {"sqlite", "postgresql"}) {
            // clang-format off
            QTest::addRow("%s v1", b) << 1 << newest.arg(QString(), "0") << QString() << 0.0 << QString();
            QTest::addRow("%s v2", b) << 2 << newest.arg(QString(), "1") << "Tank 3" << 0.0 << QString();
            QTest::addRow("%s v3", b) << 3 << newest.arg("Tarn Qellix 3", "1") << "Tank 3" << 0.0 << QString();
            QTest::addRow("%s v4", b) << 4 << newest.arg("Tarn Qellix 4", "1") << "Tank 3" << 9.5 << "Harbour Works";
            QTest::addRow("%s v5", b) << 5 << newest.arg("Tarn Qellix 5", "1") << "Tank 3" << 9.5 << "Harbour Works";
            QTest::addRow("%s v6", b) << 6 << newest.arg("Tarn Qellix 6", "1") << "Tank 3" << 9.5 << "Harbour Works";
            // clang-format on
        }
    }
    // The hand-written fixture of every earlier version reads back, and what the later versions
    // added works on it.
    void migratesAnEarlierVersion()
    {
        QFETCH(int, version);
        const QString fixture = QStringLiteral(COLLATRIX_TEST_DATA "/archive-v%1.").arg(version);
        if (location.isShared()) {
            // The same hand-written tables, made on the server.
            QString sql = QString::fromUtf8(fileBytes(fixture + "sql"));
            sql.remove(QRegularExpression("--[^\n]*"))
                .replace("INTEGER PRIMARY KEY", "BIGSERIAL PRIMARY KEY")
                .replace("BLOB", "BYTEA");
            QVERIFY(runSql(location,
                           sql.split(';', Qt::SkipEmptyParts).filter(QRegularExpression("\\S"))));
        } else {
            QVERIFY(QFile::copy(fixture + QStringLiteral("sqlite"), location.path));
            QFile::setPermissions(location.path, QFile::ReadOwner | QFile::WriteOwner);
        }
        QVERIFY2(archive->open(&problem) && !archive->created(), qPrintable(problem));
        const QList<ArchiveDownload> list = archive->downloads(false, &problem);
        QCOMPARE(list.size(), 2);
        QTEST(fieldsOf(list.at(0)), "newest");
        QCOMPARE(fieldsOf(list.at(1)), "2025-04-02T09:15:00.000+02:00|COM3|extended|completed|"
                                       "M47xx|4.1||/data/2025-04-02_091500.clxd|" +
                                           QString(64, '1') + "|2|1|0");
        QCOMPARE(historyText(*archive, 3, 7), (QStringList{"2025-04-02T09:15:00+02:00 12.34 A",
                                                           "2025-10-20T15:30:00+03:00 11.9"}));
        QTEST(archive->groupName(3, list.at(0).time, &problem), "name");
        QTEST(archive->latestLimits(&problem).value(3).minimum, "minimum");
        QTEST(archive->particulars(3, &problem).value("site"), "site");
        QCOMPARE(firstRow(location, "SELECT version, min_writer_version FROM schema_version"),
                 QStringLiteral("%1|1").arg(CArchiveSchema::kVersion));
        // The migration packed the downloads' results, which read as their rows do.
        QCOMPARE(firstRow(location, "SELECT COUNT(*) FROM packed_results"), "2");
        QStringList packed;
        archive->readDownloadsBefore(
            at("2030-01-01T00:00:00Z"),
            [&packed](const QList<ArchiveReading> &readings) {
                for (const ArchiveReading &r : readings)
                    packed << QString("%1/%2 %3 %4")
                                  .arg(r.record.group)
                                  .arg(r.record.cell)
                                  .arg(formatResult(r.record))
                                  .arg(r.record.hasAScan);
                return true;
            },
            &problem);
        QCOMPARE(packed, (QStringList{"3/7 12.34 1", "3/8 50.00 0", "3/7 11.9 0"}));
        // What the later versions added works on the migrated archive->
        QVERIFY(archive->nameGroup(3, QStringLiteral("Tank 3b"), list.at(0).time, &problem));
        QCOMPARE(archive->groupName(3, list.at(0).time, &problem), QStringLiteral("Tank 3b"));
        const CKeptDownload kept = keptAt("2026-01-01T10:00:00+01:00", {{3, 7, 1100, 1, 0}});
        QCOMPARE(archive->record(kept, kept.toBytes(), "/n", "Tarn Qellix v2", &problem),
                 CArchive::Recorded::New);
        QCOMPARE(archive->downloads(false, &problem).first().identification, "Tarn Qellix v2");
        QCOMPARE(historyText(*archive, 3, 7).size(), 3);
        QVERIFY(archive->setLimits({3, 12.0, 8.0, 1.0, kept.time}, &problem));
        QCOMPARE(archive->latestLimits(&problem).value(3).minimum, 8.0);
        QVERIFY(archive->setParticulars(3, {{"client", "Northern Works"}}, kept.time, &problem));
        QCOMPARE(archive->particulars(3, &problem).value("client"), "Northern Works");
        QVERIFY(archive->setSettings(3, {{"rule", "vessel"}}, kept.time, "code", &problem));
        QVERIFY(archive->decide({3, 7, kept.time, "verified", "", kept.time.addSecs(1)}, false,
                                &problem));
        QCOMPARE(archive->log(3, &problem).last().what, "reading 7 2026-01-01T10:00:00+01:00");
        QVERIFY(archive->namePoints({{3, 7, "CML-07"}}, kept.time, "plan", &problem));
        QCOMPARE(archive->pointNames(3, &problem).value({3, 7}).name, "CML-07");
        if (version == 6)
            QCOMPARE(archive->decisions(&problem).first().reason, "re-measured");
    }
    void namesPoints_data() { addBackends(); }
    // Only a change of a point's name or location is a row; the latest applies and the log gives
    // each value that changed, from what, by whom and why.
    void namesPoints()
    {
        QVERIFY2(archive->open(&problem), qPrintable(problem));
        qputenv("USER", "anna");
        const QString weld = QString::fromUtf8("12 o'clock; 300 mm \"W3\" – Süd");
        int changed = -1;
        QVERIFY(archive->namePoints({{3, 7, "CML-07", weld}, {3, 8, "CML-08"}},
                                    at("2026-03-01T08:00:00Z"), "plan", &problem, &changed));
        QCOMPARE(changed, 2);
        QVERIFY(archive->namePoints(
            {{3, 7, "CML-07", weld}, {3, 8, "CML-08", "6 o'clock"}, {4, 1, "P-1"}},
            at("2026-03-02T08:00:00Z"), "", &problem, &changed));
        QCOMPARE(changed, 2);
        QVERIFY(archive->namePoints({{3, 7, "CML-7A", weld}, {3, 8, "CML-08"}},
                                    at("2026-03-03T08:00:00Z"), "renumbered", &problem, &changed));
        QCOMPARE(changed, 2);
        QCOMPARE(firstRow(location, "SELECT COUNT(*) FROM point_names"), "6");
        const auto names = archive->pointNames(3, &problem);
        QCOMPARE(names.keys(), (QList<QPair<int, int>>{{3, 7}, {3, 8}}));
        QCOMPARE(QStringList({names.value({3, 7}).name, names.value({3, 7}).location,
                              names.value({3, 8}).name, names.value({3, 8}).location,
                              names.value({3, 7}).reason}),
                 QStringList({"CML-7A", weld, "CML-08", "", "renumbered"}));
        QCOMPARE(archive->pointNames(0, &problem).size(), 3);
        const QString role = location.isShared() ? " (" + location.user + ")" : QString();
        QCOMPARE(
            logText(*archive, 3),
            QStringList({"2026-03-01T08:00:00Z|anna%1|3|point 7 name||CML-07|plan",
                         "2026-03-01T08:00:00Z|anna%1|3|point 7 location||" + weld + "|plan",
                         "2026-03-01T08:00:00Z|anna%1|3|point 8 name||CML-08|plan",
                         "2026-03-02T08:00:00Z|anna%1|3|point 8 location||6 o'clock|",
                         "2026-03-03T08:00:00Z|anna%1|3|point 7 name|CML-07|CML-7A|renumbered",
                         "2026-03-03T08:00:00Z|anna%1|3|point 8 location|6 o'clock||renumbered"})
                .replaceInStrings("%1", role));
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QVERIFY(!CArchive(location).namePoints({{3, 9, "CML-09"}}, at("2026-03-04T08:00:00Z"), "",
                                               &problem));
        QCOMPARE(archive->pointNames(3, &problem).size(), 2);
    }
    void logsWhoSetEachFigure_data() { addBackends(); }
    // Changes by two users: the log gives each value that changed, from what, by whom and why; the
    // latest setting and decision apply; the points read after a time are those of later downloads.
    void logsWhoSetEachFigure()
    {
        QVERIFY2(archive->open(&problem), qPrintable(problem));
        const QString read = "2026-03-01T10:00:00+01:00";
        record(*archive, keptAt(read, {{3, 7, 1150, 1, 0}, {3, 8, 1200, 1, 0}}), "/r");
        qputenv("USER", "anna");
        QVERIFY(archive->setLimits({3, 12, 8, 1, at("2026-03-02T08:00:00Z"), {}, {}, "dwg 4"},
                                   &problem));
        qputenv("USER", "boris");
        QVERIFY(archive->setLimits({3, 12, 7.5, 1, at("2026-03-03T08:00:00Z")}, &problem));
        QVERIFY(archive->setSettings(3, {{"rule", "vessel"}, {"tolerance", "0.3"}},
                                     at("2026-03-04T08:00:00Z"), "code; p. 7", &problem));
        QVERIFY(archive->nameGroup(3, "Tank 3", at("2026-03-05T08:00:00Z"), &problem, "renamed"));
        qputenv("USER", "anna");
        for (const ArchiveDecision &d :
             {ArchiveDecision{3, 7, at(read), "verified", "re-measured",
                              at("2026-03-06T08:00:00Z")},
              ArchiveDecision{3, 7, at(read), "rejected", "couplant", at("2026-03-07T08:00:00Z")}})
            QVERIFY(archive->decide(d, false, &problem) && archive->decide(d, false, &problem));
        const QStringList log = logText(*archive, 0);
        const QString server = location.isShared() ? location.user : QString();
        const QString role = server.isEmpty() ? QString() : " (" + server + ")";
        QCOMPARE(log, QStringList({"2026-03-02T08:00:00Z|anna%1|3|nominal||12|dwg 4",
                                   "2026-03-02T08:00:00Z|anna%1|3|minimum||8|dwg 4",
                                   "2026-03-02T08:00:00Z|anna%1|3|warning||1|dwg 4",
                                   "2026-03-03T08:00:00Z|boris%1|3|minimum|8|7.5|",
                                   "2026-03-04T08:00:00Z|boris%1|3|rule||vessel|code; p. 7",
                                   "2026-03-04T08:00:00Z|boris%1|3|tolerance||0.3|code; p. 7",
                                   "2026-03-05T08:00:00Z|boris%1|3|name||Tank 3|renamed",
                                   "2026-03-06T08:00:00Z|anna%1|3|reading 7 " + read +
                                       "||verified|re-measured",
                                   "2026-03-07T08:00:00Z|anna%1|3|reading 7 " + read +
                                       "|verified|rejected|couplant"})
                          .replaceInStrings("%1", role));
        QCOMPARE(archive->log(3, &problem).size(), log.size());
        QVERIFY(archive->log(4, &problem).isEmpty());
        QCOMPARE(archive->decisions(&problem).size(), 2);
        QCOMPARE(archive->decisions(&problem).last().decision, "rejected");
        const ArchiveSetting rule = archive->latestSettings(&problem).value(3).value("rule");
        const ArchiveLimits limits = archive->latestLimits(&problem).value(3);
        QCOMPARE(QStringList({rule.value, rule.by, rule.role, limits.by, limits.role}),
                 QStringList({"vessel", "boris", server, "boris", server}));
        QCOMPARE(archive->pointsReadAfter(at("2026-03-01T08:59:59Z"), &problem),
                 (QList<QPair<int, int>>{{3, 7}, {3, 8}}));
        QVERIFY(archive->pointsReadAfter(at(read), &problem).isEmpty());
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
    void writesToANewerArchive_data()
    {
        QTest::addColumn<int>("lowest");
        const int ours = CArchiveSchema::kVersion;
        for (const char *b : {"sqlite", "postgresql"}) {
            QTest::addRow("%s lowest 1", b) << 1;
            QTest::addRow("%s lowest ours", b) << ours;
            QTest::addRow("%s lowest above ours", b) << ours + 1;
        }
    }
    // A newer program that only added tables or columns leaves the lowest version a writer must
    // know: this one writes to its archive and leaves both versions as they are. Above that it is
    // refused, naming both versions, and nothing is written.
    void writesToANewerArchive()
    {
        QFETCH(int, lowest);
        QVERIFY(CArchive(location).open(&problem));
        const QString update = "UPDATE schema_version SET version = 9, min_writer_version = %1";
        QVERIFY(runSql(location, {update.arg(lowest)}));
        const CKeptDownload kept = keptAt("2026-01-01T10:00:00Z", {{1, 1, 10, 0, 0}});
        if (lowest <= CArchiveSchema::kVersion) {
            QVERIFY2(archive->open(&problem) && !archive->created(), qPrintable(problem));
            QCOMPARE(record(*archive, kept, "/x"), CArchive::Recorded::New);
            QCOMPARE(archive->downloads(false, &problem).size(), 1);
        } else {
            QVERIFY(!archive->open(&problem));
            QVERIFY2(problem.contains(QLatin1String("newer version")), qPrintable(problem));
            for (const int version : {lowest, CArchiveSchema::kVersion})
                QVERIFY2(problem.contains(QString("version %1").arg(version)), qPrintable(problem));
            QVERIFY(!archive->isOpen());
            QCOMPARE(record(*archive, kept, "/x"), CArchive::Recorded::Failed);
        }
        QCOMPARE(firstRow(location, "SELECT version, min_writer_version FROM schema_version"),
                 QStringLiteral("9|%1").arg(lowest));
    }
    // A version that no step leads to is an error, never another version's step.
    void knowsEveryMigrationStep()
    {
        const CArchiveSchema schema(QSqlDatabase(), CArchiveDialect(location.backend));
        for (int version = 1; version <= CArchiveSchema::kVersion; ++version)
            QVERIFY(!schema.step(version, &problem).isEmpty());
        QVERIFY(problem.isEmpty());
        for (const int unknown : {0, CArchiveSchema::kVersion + 1}) {
            problem.clear();
            QVERIFY(schema.step(unknown, &problem).isEmpty());
            QVERIFY2(problem.contains(QString("version %1").arg(unknown)), qPrintable(problem));
        }
    }
    void refusesWhatItCannotUse_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reason");
        // clang-format off
        QTest::newRow("sqlite not a database") << "garbage" << "not a database";
        QTest::newRow("sqlite other tables") << "tables" << "not those of an archive";
        QTest::newRow("sqlite read-only file") << "file 0444" << "is read-only";
        QTest::newRow("sqlite read-only folder") << "folder 0555" << "is read-only";
        QTest::newRow("sqlite opened read-only") << "opened read-only" << "is read-only";
        // clang-format on
    }
    // Each fault ends in a message that names the archive and says what is wrong, and the window's
    // controller keeps a download all the same.
    void refusesWhatItCannotUse()
    {
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        const bool modes = fault.contains(QLatin1Char('0'));
        if (modes && geteuid() == 0)
            QSKIP("root writes whatever the modes say; the row 'opened read-only' stands for this");
        const QString folder = QFileInfo(location.path).absolutePath() + "/ro";
        if (fault == QLatin1String("garbage"))
            QVERIFY(writeFile(location.path, QByteArray(4096, 'x')));
        else if (fault == QLatin1String("tables"))
            QVERIFY(runSql(location, {QStringLiteral("CREATE TABLE photos (id INTEGER)")}));
        else if (fault == QLatin1String("folder 0555"))
            location.path = folder + "/archive.sqlite";
        else
            QVERIFY(CArchive(location).open(&problem));
        QVERIFY(QDir().mkpath(folder));
        QFile::setPermissions(fault == QLatin1String("file 0444") ? location.path : folder,
                              modes ? QFile::ReadOwner | QFile::ExeOwner | QFile::ReadUser
                                    : QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        location.readOnly = fault == QLatin1String("opened read-only");
        QVERIFY(!CArchive(location).open(&problem));
        QVERIFY2(problem.contains(reason), qPrintable(problem));
        QVERIFY2(problem.contains(location.path), qPrintable(problem));
        if (!location.readOnly)
            QVERIFY(keepsWithoutTheArchive(dir, QStringLiteral("sqlite:") + location.path, reason));
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void asksForAPassword_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("wanted");
        QTest::addColumn<QString>("said");
        // clang-format off
        QTest::newRow("postgresql none") << QString() << QString() << true << "no password supplied";
        QTest::newRow("postgresql wrong") << QString() << "wrong" << true << "password authentication failed";
        QTest::newRow("postgresql right") << QString() << "sesame" << false << QString();
        QTest::newRow("postgresql German none") << "de_DE.UTF-8" << QString() << true << "no password supplied";
        QTest::newRow("postgresql German wrong") << "de_DE.UTF-8" << "wrong" << true << "Passwort-Authentifizierung";
        // clang-format on
    }
    // The archive service as the window has it, on a thread of its own: a shared server that
    // takes the connection and never answers leaves the download waiting at once, and is tried
    // again by itself.
    void serviceWaitsForASilentServer()
    {
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("silent")).toLocal8Bit());
        CArchiveService service(CArchiveService::Threading::OwnThread,
                                "postgresql://collatrix@127.0.0.1:" +
                                    QString::number(silent.serverPort()) + "/x?connect_timeout=1");
        service.setRetryInterval(300);
        QSignalSpy recorded(&service, &CArchiveService::recorded);
        QSignalSpy synced(&service, &CArchiveService::synced);
        service.open();
        const CKeptDownload kept = keptAt("2026-01-01T09:00:00+01:00", {{1, 1, 500, 0, 0}});
        service.record(kept, CKeptFolder().keep(kept, &problem), QString());
        QVERIFY(recorded.wait(10000));
        QVERIFY2(recorded.first().first().toString().contains("cannot take the download now"),
                 qPrintable(recorded.first().first().toString()));
        const CArchiveService::State state = service.state();
        QCOMPARE(int(state.reach), int(CArchiveService::Reach::Away));
        QCOMPARE(state.waiting, 1);
        QVERIFY(CArchiveService::describe(state).startsWith(
            "Shared archive not reachable, 1 download(s) waiting, next try in "));
        QVERIFY(synced.wait(10000));
        QCOMPARE(synced.first().first().toInt(), 0);
        // A read while the archive's thread is busy (held here) is answered at once, from this
        // computer's archive.
        QSemaphore held;
        service.query([&held](CArchiveSet &) { held.acquire(); }, this, [] {});
        int waiting = 0;
        QVERIFY(service.read(
            [&](CArchiveSet &set) { waiting = int(set.chosen().downloads(true, &problem).size()); },
            &problem));
        held.release();
        QCOMPARE(waiting, 1);
    }
    // A server that wants a password says so only when asked, and the password given reaches it.
    void servicePasswordWhenAsked_data() { addBackends({"postgresql"}); }
    void servicePasswordWhenAsked()
    {
        const PasswordServer server(location, QString());
        QVERIFY(server.started);
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("asked")).toLocal8Bit());
        CArchiveService service(CArchiveService::Threading::OwnThread, urlOf(location));
        QSignalSpy checked(&service, &CArchiveService::passwordChecked);
        QVERIFY(service.run([](CArchiveSet &) {}, &problem));
        QCOMPARE(int(service.state().reach), int(CArchiveService::Reach::Away));
        service.checkPassword();
        QVERIFY(checked.wait(10000) && checked.first().first().toBool());
        QCOMPARE(int(service.state().reach), int(CArchiveService::Reach::PasswordWanted));
        service.reopen(urlOf(location), QStringLiteral("sesame"));
        QVERIFY(service.run([](CArchiveSet &) {}, &problem));
        QCOMPARE(int(service.state().reach), int(CArchiveService::Reach::Shared));
    }
    // Whether the server wants a password is known whatever language its messages are in; a
    // server that cannot be reached wants none.
    void asksForAPassword()
    {
        QFETCH(QString, language);
        QFETCH(QString, password);
        QFETCH(QString, said);
        // The messages in that language need its locale on this system.
        const locale_t found = newlocale(LC_MESSAGES_MASK, qPrintable(language), locale_t(nullptr));
        if (found)
            freelocale(found);
        if (!language.isEmpty() && !found)
            QSKIP("no de_DE.UTF-8 locale here (scripts/setup-debian.sh --test makes it)");
        const PasswordServer server(location, language);
        QVERIFY(server.started);
        location.password = password;
        CArchiveSet set(location, dir.filePath(QStringLiteral("password.sqlite")));
        QVERIFY2(set.open(&problem) && problem.contains(said), qPrintable(problem));
        QTEST(set.passwordWanted(), "wanted");
        QCOMPARE(set.chosen().isOpen(), !set.passwordWanted());
        location.host = dir.filePath(QStringLiteral("nowhere"));
        CArchive nowhere(location);
        QVERIFY(!nowhere.open(&problem) && !nowhere.passwordWanted());
    }
    void tellsAPasswordByItsCode_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("wanted");
        // clang-format off
        QTest::newRow("invalid password") << "28P01" << int(QSqlError::ConnectionError) << true;
        QTest::newRow("invalid authorization") << "28000" << int(QSqlError::StatementError) << true;
        QTest::newRow("undefined table") << "42P01" << int(QSqlError::StatementError) << false;
        QTest::newRow("no code in a statement") << QString() << int(QSqlError::StatementError) << false;
        // clang-format on
    }
    // Where the driver gives the server's SQLSTATE, it decides alone.
    void tellsAPasswordByItsCode()
    {
        QFETCH(QString, code);
        QFETCH(int, type);
        CArchiveLocation server;
        QVERIFY(server.parse(nowhereUrl(), &problem));
        const QSqlError error(QString(), QString(), QSqlError::ErrorType(type), code);
        QTEST(CArchiveDialect(server.backend).wantsPassword(error, server), "wanted");
    }
    void waitsForTheSharedArchive_data() { addBackends({"postgresql"}); }
    // A download made while the server cannot be reached waits in the embedded archive; the next
    // connection brings it across once, with what the tester said it is, and a sync after that
    // brings nothing.
    void waitsForTheSharedArchive()
    {
        const QString embedded = dir.filePath(QStringLiteral("waits.sqlite"));
        CArchiveLocation away;
        QVERIFY(away.parse(nowhereUrl(), &problem));
        const CKeptDownload kept = keptAt("2026-02-02T10:00:00+01:00", {{1, 1, 500, 0, 0}});
        {
            CArchiveSet set(away, embedded);
            QVERIFY(set.open(&problem) && !problem.isEmpty());
            problem.clear();
            QVERIFY(set.record(kept, kept.toBytes(), "/kept/w.clxd", "Tarn Qellix 7", &problem));
            QVERIFY2(problem.contains(QLatin1String("shared later")), qPrintable(problem));
            QCOMPARE(set.waitingCount(), 1);
            QVERIFY(set.decide({1, 1, kept.time, "rejected", "scratched"}, &problem));
            QVERIFY2(problem.contains(QLatin1String("decision now")), qPrintable(problem));
            int brought = -1;
            QVERIFY(!set.sync(&brought, &problem));
            QCOMPARE(brought, 0);
        }
        // The kept file is where the embedded archive says.
        const QString file = dir.filePath(QStringLiteral("waits.clxd"));
        QVERIFY(writeFile(file, kept.toBytes()));
        QVERIFY(runSql(CArchiveLocation::embedded(embedded),
                       {QString("UPDATE downloads SET file = '%1'").arg(file)}));
        CArchiveSet set(location, embedded);
        problem.clear();
        QVERIFY2(set.open(&problem) && problem.isEmpty(), qPrintable(problem));
        QCOMPARE(set.waitingCount(), 0);
        QCOMPARE(sharedCount(location), 1);
        int brought = -1;
        QVERIFY(set.sync(&brought, &problem));
        QCOMPARE(brought, 0);
        QCOMPARE(sharedCount(location), 1);
        QCOMPARE(set.chosen().keptBytes(CArchive::sha256Of(kept.toBytes()), &problem),
                 kept.toBytes());
        QCOMPARE(set.chosen().downloads(false, &problem).first().identification, "Tarn Qellix 7");
        // The decision came across with it, and is one there even when brought twice.
        QVERIFY(set.embedded().decisions(true, &problem).isEmpty());
        const ArchiveDecision across = set.chosen().decisions(&problem).value(0);
        QCOMPARE(across.decision + '|' + across.by + '|' + across.role,
                 "rejected|" + CArchive::loginName() + "|collatrix");
        QVERIFY(set.embedded().setDecisionWaiting(across, true, &problem));
        QVERIFY(set.sync(&brought, &problem) && brought == 1);
        QCOMPARE(set.chosen().decisions(&problem).size(), 1);
    }
    void survivesAServerStop_data() { addBackends({"postgresql"}); }
    // The server goes away under open connections and comes back, also in the middle of a sync:
    // what was recorded meanwhile waits, arrives once, and the old connection's statements are
    // not used again.
    void survivesAServerStop()
    {
        constexpr int kDownloads = 6;
        CArchiveSet set(location, dir.filePath(QStringLiteral("stop.sqlite")));
        QVERIFY2(set.open(&problem), qPrintable(problem));
        // Keeps the i-th download in a file of its own and records it; problem then says whether
        // it waits.
        const auto keepAndRecord = [&](int i) {
            const CKeptDownload kept =
                keptAt(QString("2026-02-0%1T10:00:00+01:00").arg(i + 1), {{1, 1, 500 + i, 0, 0}});
            const QString file = dir.filePath(QString("stop%1.clxd").arg(i));
            problem.clear();
            return writeFile(file, kept.toBytes()) &&
                   set.record(kept, kept.toBytes(), file, &problem);
        };
        QVERIFY2(keepAndRecord(0) && problem.isEmpty(), qPrintable(problem));

        // A restart between two downloads: the next one goes through on a fresh connection.
        QVERIFY(serverCommand({"stop"}));
        QVERIFY(serverCommand({"start"}));
        QVERIFY2(keepAndRecord(1) && problem.isEmpty(), qPrintable(problem));
        QCOMPARE(set.waitingCount(), 0);

        QVERIFY(serverCommand({"stop"}));
        for (int i = 2; i < kDownloads; ++i)
            QVERIFY(keepAndRecord(i) && !problem.isEmpty());
        QCOMPARE(set.waitingCount(), kDownloads - 2);
        int brought = -1;
        QVERIFY(!set.sync(&brought, &problem));
        QCOMPARE(brought, 0);
        QVERIFY(serverCommand({"start"}));

        // The server stops again once the first waiting download is across.
        const auto stopAfterFirst = [](int done, int, const QString &) {
            if (done == 1)
                QVERIFY(serverCommand({"stop"}));
        };
        QVERIFY(!set.sync(&brought, &problem, stopAfterFirst));
        QCOMPARE(brought, 1);
        QVERIFY2(problem.contains(QLatin1String("could not be shared")), qPrintable(problem));
        QCOMPARE(set.waitingCount(), kDownloads - 3);
        QVERIFY(serverCommand({"start"}));

        problem.clear();
        QVERIFY2(set.sync(&brought, &problem), qPrintable(problem));
        QCOMPARE(brought, kDownloads - 3);
        QVERIFY2(set.sync(&brought, &problem), qPrintable(problem));
        QCOMPARE(brought, 0);
        QCOMPARE(set.waitingCount(), 0);
        QCOMPARE(sharedCount(location), kDownloads);
        QCOMPARE(int(set.chosen().history(1, 1, &problem).size()), kDownloads);
        QCOMPARE(int(set.embedded().downloads(false, &problem).size()), kDownloads);
    }
    // The window's controller: downloads kept before the archive existed come in when it is made,
    // a new one the moment it is kept with what the tester said it is, and its record is replaced
    // when the A-scans are added.
    void controllerRecordsEveryKeptDownload()
    {
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("home")).toLocal8Bit());
        qputenv("COLLATRIX_ARCHIVE", ("sqlite:" + dir.filePath("controller.sqlite")).toLocal8Bit());
        const CKeptDownload earlier = keptAt("2025-01-01T09:00:00+01:00", {{3, 7, 1300, 1, 0}});
        QVERIFY(!CKeptFolder().keep(earlier, &problem).isEmpty());

        CCollatrix controller(dir.path());
        controller.archive->open(CKeptFolder().files());
        const auto embedded = [&](const std::function<void(CArchive &)> &read) {
            return controller.archive->run([&](CArchiveSet &set) { read(set.embedded()); },
                                           &problem);
        };
        QList<ArchiveDownload> list;
        QVERIFY(embedded([&](CArchive &a) { list = a.downloads(false, &problem); }));
        QCOMPARE(list.size(), 1);
        // A reception as the tester left it; its time is made one of the test's own.
        const QByteArray dump = dumpOf({{3, 7, 1250, 1, 1}, {3, 8, 900, 0, 0}});
        controller.tester->ringBuffer.write(dump.constData(), int(dump.size()));
        controller.tester->extendedProtocol = true;
        controller.tester->identification = QStringLiteral("Tarn Qellix M47T\\x00\\x02");
        QVERIFY(controller.decodeReceivedDump());
        controller.download->kept.time = at("2026-01-01T09:00:00+01:00");
        QVERIFY(controller.keepReception(CTransferEngine::Outcome::Completed, &problem));
        controller.aScanCache.insert(0, CKeptDownload::entryFromReply(aScanOf(3, 7).reply));
        QVERIFY(controller.keepAScans(&problem));
        qunsetenv("COLLATRIX_ARCHIVE");

        // Read after the recordings, which the archive's thread takes in order.
        QStringList history;
        QVERIFY(embedded([&](CArchive &a) {
            list = a.downloads(false, &problem);
            history = historyText(a, 3, 7);
        }));
        const QString file = controller.download->keptFile;
        QCOMPARE(list.size(), 2);
        // The new one's identification, file, SHA-256, results and A-scans.
        QCOMPARE(fieldsOf(list.first()).section('|', 6, 10),
                 "Tarn Qellix M47T\\x00\\x02|" + file + '|' + CArchive::sha256Of(fileBytes(file)) +
                     "|2|1");
        QCOMPARE(list.last().identification, QString());
        QCOMPARE(history, (QStringList{"2025-01-01T09:00:00+01:00 13.00",
                                       "2026-01-01T09:00:00+01:00 12.50 A"}));
        QVERIFY(controller.archive->state().problem.isEmpty());
    }

private:
    // A server whose socket folder holds none.
    QString nowhereUrl() const
    {
        return QStringLiteral("postgresql://collatrix@/postgres?host=") + dir.filePath("nowhere");
    }

    QTemporaryDir dir;
    CArchiveLocation location;
    // The archive at location as init() made it, not yet opened.
    std::unique_ptr<CArchive> archive;
    QString problem;
};

QTEST_GUILESS_MAIN(TestArchive)
#include "tst_archive.moc"
