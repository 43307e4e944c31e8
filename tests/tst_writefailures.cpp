// SPDX-License-Identifier: GPL-3.0-or-later
// Every writer of the program writes a whole file or none: a disk that fails after some bytes, a
// full disk, a read-only folder and a folder that vanished each leave the earlier file under the
// name as it was, no stray temporary file beside it, and a reason to tell.
#include "smalldisk.h"
#include "testfiles.h"

#include "ascan/ascanwindow.h"
#include "data/collatrix.h"
#include "format/atomicfile.h"
#include "report/reportwriter.h"
#include "services/archiveevaluation.h"
#include "services/keptfolder.h"
#include "services/programsettings.h"

#include <QtTest>

namespace
{

enum Failure { None, HalfWay, FullDisk, ReadOnly, Vanished };

// Read as a settings file too, which must be well-formed to be written again.
const QByteArray kEarlier = "[earlier]\r\nfile=1\r\n";
const QString kKept = QStringLiteral("kept download");

using Write = std::function<bool(const QString &path, CCollatrix &controller, QString *problem)>;

} // namespace

class TestWriteFailures : public QObject
{
    Q_OBJECT

    CZRData data;
    CKeptDownload kept;
    AScanEntry entry;
    // Each writer by name: the file it writes in a folder (kept downloads: the folder), and how.
    QMap<QString, QPair<QString, Write>> writers;

    static qint64 writtenSize(const QString &writer, const QString &path)
    {
        const QFileInfo file(writer == kKept ? CKeptFolder(path).files().value(0) : path);
        return file.exists() ? file.size() : -1;
    }
    bool write(const QString &writer, const QString &folder, CCollatrix &controller,
               QString *problem)
    {
        return writers[writer].second(folder + writers[writer].first, controller, problem);
    }
    qint64 healthySize(const QString &writer)
    {
        QTemporaryDir scratch;
        CCollatrix controller(scratch.path() + QLatin1Char('/'));
        QString problem;
        return write(writer, scratch.path(), controller, &problem)
                   ? writtenSize(writer, scratch.path() + writers[writer].first)
                   : -1;
    }
    static bool fail(Failure failure, const TestSmallDisk &disk, const QString &folder, qint64 size)
    {
        if (failure == HalfWay)
            CAtomicFile::setByteLimit(size / 2);
        return failure == FullDisk   ? disk.fill()
               : failure == ReadOnly ? disk.makeReadOnly()
               : failure == Vanished ? QDir(folder).removeRecursively()
                                     : true;
    }

private slots:
    void initTestCase()
    {
        QString problem;
        QVERIFY(kept.fromBytes(fileBytes(COLLATRIX_TEST_DATA "/layout3.bin"), true, &problem));
        kept.time = QDateTime(QDate(2026, 3, 4), QTime(10, 20, 30));
        QMap<int, AScanEntry> none;
        QVERIFY(kept.decode(&data, &none, &problem));
        MeasurementRecord record;
        int row = 0;
        while (data.recordAt(row, &record) && !record.hasAScan)
            ++row;
        QVERIFY(record.hasAScan);
        entry.trace = QVector<signed short>(239, 40);
        entry.params.rangeEnd = 20.0;
        const auto aScan = [this](int) { return &entry; };
        const QString picture =
            QLatin1Char('/') + CCsvWriter::aScanFileName(record.group, record.cell);
        writers = {{"results CSV",
                    {"/results1.csv",
                     [this](auto path, auto &c, auto problem) {
                         c.measurements = data;
                         return c.writeCsv(path, CCsvWriter::allRows(data), problem);
                     }}},
                   {"evaluation CSV",
                    {"/r-evaluation.csv",
                     [this](auto path, auto &, auto problem) {
                         EvaluationInput input;
                         input.data = &data;
                         input.time = kept.time;
                         return CArchiveEvaluation::writeCsv(path, input, CCsvWriter(), problem);
                     }}},
                   {"BMP picture",
                    {picture,
                     [=](auto path, auto &, auto problem) {
                         AScanWindow window;
                         window.setup();
                         QStringList failed;
                         const bool saved = window.savePictures(QFileInfo(path).path() + '/', data,
                                                                {row}, aScan, &failed);
                         *problem = failed.join('\n');
                         return saved;
                     }}},
                   {kKept,
                    {"",
                     [this](auto path, auto &, auto problem) {
                         return !CKeptFolder(path).keep(kept, problem).isEmpty();
                     }}},
                   {"kept again",
                    {"/kept.clxd",
                     [this](auto path, auto &, auto problem) {
                         return CKeptFolder::rewrite(path, kept, problem);
                     }}},
                   {"Settings.ini",
                    {"/Settings.ini",
                     [](auto, auto &c, auto problem) {
                         *problem = QStringLiteral("not written");
                         return c.writeSettings();
                     }}},
                   {"collatrix.ini",
                    {"/collatrix/collatrix.ini",
                     [](auto path, auto &, auto problem) {
                         QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                                            QFileInfo(path).path() + "/..");
                         return CProgramSettings::set("search/ports", "3", problem);
                     }}},
                   {"report", {"/report.pdf", [=](auto path, auto &, auto problem) {
                                   const CReportWriter::Source source{
                                       &data, CCsvWriter::allRows(data), aScan, {}, {}, {}, {}, {},
                                       {}};
                                   return CReportWriter(source, "4.2").write(path, problem);
                               }}}};
    }
    void cleanup() { CAtomicFile::setByteLimit(-1); }

    void wholeOrNothing_data()
    {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<int>("failure");
        const QStringList failures{"healthy", "fails half-way", "full disk", "read-only folder",
                                   "vanished folder"};
        for (const QString &writer : writers.keys()) {
            for (int f = None; f <= Vanished; ++f) {
                // The toolkit writes its settings file itself, past our byte limit.
                if (writer != "collatrix.ini" || f != HalfWay)
                    QTest::addRow("%s, %s", qPrintable(writer), qPrintable(failures.at(f)))
                        << writer << f;
            }
        }
    }
    void wholeOrNothing()
    {
        QFETCH(QString, writer);
        QFETCH(int, failure);
        TestSmallDisk disk;
        if (!disk.mounted() && (failure == FullDisk || failure == ReadOnly))
            QSKIP("a full or read-only file system of its own needs root to mount a tmpfs");
        const qint64 size = healthySize(writer);
        QVERIFY(size > 0);
        const QString folder = disk.path() + QStringLiteral("/out");
        const QString path = folder + writers[writer].first;
        const QString where = writer == kKept ? path : QFileInfo(path).path();
        QVERIFY(QDir().mkpath(where) && (writer == kKept || writeFile(path, kEarlier)));
        const QStringList before = QDir(where).entryList(QDir::Files | QDir::Hidden);
        CCollatrix controller(folder + QLatin1Char('/'));
        QVERIFY(fail(Failure(failure), disk, folder, size));

        QString problem;
        const bool written = write(writer, folder, controller, &problem);
        // Pictures, kept downloads and the program's settings make their folder when it is gone.
        const bool makesFolder =
            QStringList{"BMP picture", kKept, "collatrix.ini"}.contains(writer);
        if (failure == None || (failure == Vanished && makesFolder)) {
            QVERIFY2(written, qPrintable(problem));
            QVERIFY(writtenSize(writer, path) > 0 && fileBytes(path) != kEarlier);
            return;
        }
        QVERIFY(!written && !problem.isEmpty());
        if ((failure == FullDisk || failure == HalfWay) && !writer.endsWith(".ini"))
            QVERIFY2(problem.contains("No space left on device"), qPrintable(problem));
        if (failure == Vanished) {
            QVERIFY(!QFileInfo::exists(folder));
            return;
        }
        // The earlier file as it was, and nothing else new beside it.
        QCOMPARE(QDir(where).entryList(QDir::Files | QDir::Hidden), before);
        QVERIFY(writer == kKept || fileBytes(path) == kEarlier);
    }
};

QTEST_MAIN(TestWriteFailures)
#include "tst_writefailures.moc"
