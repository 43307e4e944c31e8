// SPDX-License-Identifier: GPL-3.0-or-later
// Every writer of the program writes a whole file or none: a disk that fails after some bytes, a
// full disk, a read-only folder and a folder that vanished each leave the earlier file under the
// name as it was, no stray temporary file beside it, and a reason to tell.
#include "smalldisk.h"
#include "testfiles.h"

#include "ascan/ascanwindow.h"
#include "services/archiveevaluation.h"
#include "data/collatrix.h"
#include "services/keptfolder.h"
#include "services/programsettings.h"
#include "evaluation/evaluationinput.h"
#include "format/atomicfile.h"
#include "format/keptdownload.h"
#include "report/reportwriter.h"

#include <QtTest>

namespace
{

enum Writer { Results, Evaluation, Picture, Kept, KeptAgain, Settings, ProgramSettings, Report };
enum Failure { None, HalfWay, FullDisk, ReadOnly, Vanished };

// Read as a settings file too, which must be well-formed to be written again.
const QByteArray kEarlier = "[earlier]\r\nfile=1\r\n";

} // namespace

class TestWriteFailures : public QObject
{
    Q_OBJECT

    CZRData data;
    CKeptDownload kept;
    AScanEntry entry;
    int pictureRow = 0;

    // The file a writer writes in folder, or the folder of kept downloads for Kept.
    QString target(Writer writer, const QString &folder) const
    {
        switch (writer) {
        case Results:
            return folder + QStringLiteral("/results1.csv");
        case Evaluation:
            return folder + QStringLiteral("/results1-evaluation.csv");
        case Picture: {
            MeasurementRecord record;
            data.recordAt(pictureRow, &record);
            return folder + QLatin1Char('/') + CCsvWriter::aScanFileName(record.group, record.cell);
        }
        case Kept:
            return folder;
        case KeptAgain:
            return folder + QStringLiteral("/kept.clxd");
        case Settings:
            return folder + QStringLiteral("/Settings.ini");
        case ProgramSettings:
            return folder + QStringLiteral("/collatrix/collatrix.ini");
        case Report:
            return folder + QStringLiteral("/report.pdf");
        }
        return QString();
    }

    bool write(Writer writer, const QString &folder, CCollatrix *controller, QString *problem)
    {
        const QString path = target(writer, folder);
        switch (writer) {
        case Results:
            controller->measurements = data;
            return controller->writeCsv(path, CCsvWriter::allRows(data), problem);
        case Evaluation: {
            EvaluationInput input;
            input.data = &data;
            input.time = kept.time;
            return CArchiveEvaluation::writeCsv(path, input, CCsvWriter(), problem);
        }
        case Picture: {
            AScanWindow window;
            window.setup();
            QStringList failures;
            const bool saved = window.savePictures(
                folder + QLatin1Char('/'), data, {pictureRow}, [this](int) { return &entry; },
                &failures);
            *problem = failures.join(QLatin1Char('\n'));
            return saved;
        }
        case Kept:
            return !CKeptFolder(path).keep(kept, problem).isEmpty();
        case KeptAgain:
            return CKeptFolder::rewrite(path, kept, problem);
        case Settings:
            *problem = QStringLiteral("not written");
            return controller->writeSettings();
        case ProgramSettings:
            QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
            return CProgramSettings::set(QStringLiteral("search/ports"), QStringLiteral("3"),
                                         problem);
        case Report: {
            CReportWriter::Source source;
            source.data = &data;
            source.rows = CCsvWriter::allRows(data);
            source.aScanOf = [this](int) { return &entry; };
            return CReportWriter(source, QStringLiteral("4.2")).write(path, problem);
        }
        }
        return false;
    }

    // The size of what the writer wrote, -1 when it wrote nothing.
    static qint64 writtenSize(Writer writer, const QString &path)
    {
        const QFileInfo file(writer == Kept ? CKeptFolder(path).files().value(0) : path);
        return file.exists() ? file.size() : -1;
    }

    qint64 healthySize(Writer writer)
    {
        QTemporaryDir scratch;
        CCollatrix controller(scratch.path() + QLatin1Char('/'));
        QString problem;
        if (!write(writer, scratch.path(), &controller, &problem))
            return -1;
        return writtenSize(writer, target(writer, scratch.path()));
    }

    bool fail(Failure failure, const TestSmallDisk &disk, const QString &folder, qint64 size)
    {
        switch (failure) {
        case None:
            return true;
        case HalfWay:
            CAtomicFile::setByteLimit(size / 2);
            return true;
        case FullDisk:
            return disk.fill();
        case ReadOnly:
            return disk.makeReadOnly();
        case Vanished:
            return QDir(folder).removeRecursively();
        }
        return false;
    }

private slots:
    void initTestCase()
    {
        const QByteArray dump = fileBytes(QStringLiteral(COLLATRIX_TEST_DATA "/layout3.bin"));
        QString problem;
        QVERIFY(kept.fromBytes(dump, true, &problem));
        kept.time = QDateTime(QDate(2026, 3, 4), QTime(10, 20, 30));
        QMap<int, AScanEntry> none;
        QVERIFY(kept.decode(&data, &none, &problem));
        MeasurementRecord record;
        while (data.recordAt(pictureRow, &record) && !record.hasAScan)
            ++pictureRow;
        QVERIFY(record.hasAScan);
        entry.trace = QVector<signed short>(239, 40);
        entry.params.rangeEnd = 20.0;
    }
    void cleanup() { CAtomicFile::setByteLimit(-1); }

    void wholeOrNothing_data()
    {
        QTest::addColumn<int>("writer");
        QTest::addColumn<int>("failure");
        const QMap<Writer, const char *> writers{
            {Results, "results CSV"},           {Evaluation, "evaluation CSV"},
            {Picture, "BMP picture"},           {Kept, "kept download"},
            {KeptAgain, "kept again"},          {Settings, "Settings.ini"},
            {ProgramSettings, "collatrix.ini"}, {Report, "report"}};
        const QMap<Failure, const char *> failures{{None, "healthy"},
                                                   {HalfWay, "fails half-way"},
                                                   {FullDisk, "full disk"},
                                                   {ReadOnly, "read-only folder"},
                                                   {Vanished, "vanished folder"}};
        for (auto w = writers.cbegin(); w != writers.cend(); ++w) {
            for (auto f = failures.cbegin(); f != failures.cend(); ++f) {
                // The toolkit writes its settings file itself, past our byte limit.
                if (w.key() == ProgramSettings && f.key() == HalfWay)
                    continue;
                QTest::addRow("%s, %s", w.value(), f.value()) << int(w.key()) << int(f.key());
            }
        }
    }
    void wholeOrNothing()
    {
        QFETCH(int, writer);
        QFETCH(int, failure);
        const auto w = Writer(writer);
        const auto f = Failure(failure);
        TestSmallDisk disk;
        if (!disk.mounted() && (f == FullDisk || f == ReadOnly))
            QSKIP("a full or read-only file system of its own needs root to mount a tmpfs");
        const qint64 size = healthySize(w);
        QVERIFY(size > 0);
        const QString folder = disk.path() + QStringLiteral("/out");
        QVERIFY(QDir().mkpath(QFileInfo(target(w, folder)).path()));
        const QString path = target(w, folder);
        if (w != Kept)
            QVERIFY(writeFile(path, kEarlier));
        const QString where = w == Kept ? path : QFileInfo(path).path();
        const QStringList before = QDir(where).entryList(QDir::Files | QDir::Hidden);
        CCollatrix controller(folder + QLatin1Char('/'));
        QVERIFY(fail(f, disk, folder, size));

        QString problem;
        const bool written = write(w, folder, &controller, &problem);
        // Pictures, kept downloads and the program's settings make their folder when it is
        // missing.
        const bool makesFolder = w == Picture || w == Kept || w == ProgramSettings;
        if (f == None || (f == Vanished && makesFolder)) {
            QVERIFY2(written, qPrintable(problem));
            QVERIFY(writtenSize(w, path) > 0);
            QVERIFY(w == Kept || fileBytes(path) != kEarlier);
            return;
        }
        QVERIFY(!written);
        QVERIFY(!problem.isEmpty());
        if ((f == FullDisk || f == HalfWay) && w != Settings && w != ProgramSettings)
            QVERIFY2(problem.contains(QLatin1String("No space left on device")),
                     qPrintable(problem));
        if (f == Vanished) {
            QVERIFY(!QFileInfo::exists(folder));
            return;
        }
        // The earlier file as it was, and nothing else new beside it.
        QCOMPARE(QDir(where).entryList(QDir::Files | QDir::Hidden), before);
        if (w != Kept)
            QCOMPARE(fileBytes(path), kEarlier);
    }
};

QTEST_MAIN(TestWriteFailures)
#include "tst_writefailures.moc"
