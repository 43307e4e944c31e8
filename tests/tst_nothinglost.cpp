// Results and settings the user already has survive the largest data set and folders that
// cannot be written.
#include "data/collatrix.h"
#include "data/csvwriter.h"

#include "programfolder.h"
#include <QTemporaryDir>

#include <QtTest>

namespace
{

// The largest dump the ring takes: 2,499,999 bytes of layout 2, 9765 whole blocks of 32 records
// each (312,480 records over 256 groups), then 148 bytes past the last block.
QByteArray largestDump()
{
    constexpr int kSize = 2499999;
    constexpr int kBlocks = 9765;
    constexpr int kPerGroup = 1221;
    QByteArray dump("ORBEXM47T", 9);
    dump.append(char(kBlocks >> 8)).append(char(kBlocks & 0xFF));
    for (int i = 0; i < kBlocks * 32; ++i) {
        const int group = 1 + i / kPerGroup;
        const int cell = 1 + i % kPerGroup;
        const int value = 1 + i % 65535;
        const char record[] = {char(group & 0xFF), char(group >> 8),   char(cell & 0xFF),
                               char(cell >> 8),    char(value & 0xFF), char(value >> 8),
                               char(i % 2),        char(i / 7 % 2)};
        dump.append(record, 8);
    }
    dump.append(QByteArray(kSize - int(dump.size()), '\x5A'));
    return dump;
}

} // namespace

class TestNothingLost : public QObject
{
    Q_OBJECT

private slots:
    void largestCsvReadsBackRowForRow();
    void settingsWhenProgramFolderGoes();

private:
    TestProgramFolder programFolder;
};

void TestNothingLost::largestCsvReadsBackRowForRow()
{
    QTemporaryDir dir;
    CCollatrix c(dir.path() + QLatin1Char('/'));
    const QByteArray dump = largestDump();
    QCOMPARE(dump.size(), 2499999);
    QVERIFY(c.measurements.decodeDump(reinterpret_cast<const std::uint8_t *>(dump.constData()),
                                      int(dump.size()), false));
    QCOMPARE(c.measurements.totalCount(), 312480);
    QCOMPARE(c.measurements.groupCount, 256);
    c.unsavedData = true;
    const QString path = dir.filePath(QStringLiteral("all.csv"));
    QVERIFY(c.writeCsv(path, CCsvWriter::allRows(c.measurements)));
    QVERIFY(!c.unsavedData);

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readLine(), c.csvHeader.toLocal8Bit() + "\r\n");
    const QString units[] = {"m/s", "us", "mm", "Inches"};
    int row = 0;
    for (; !file.atEnd(); ++row) {
        const QByteArray line = file.readLine();
        QVERIFY(line.endsWith("\r\n"));
        const QList<QByteArray> fields = line.chopped(2).split(';');
        MeasurementRecord r;
        QVERIFY2(c.measurements.recordAt(row, &r), qPrintable(QString::number(row)));
        QCOMPARE(fields.size(), 4);
        QCOMPARE(fields[0].toInt(), r.group);
        QCOMPARE(fields[1].toInt(), r.cell);
        bool number = false;
        const double value = fields[2].toDouble(&number);
        QVERIFY(number);
        QVERIFY(qAbs(value - double(r.rawValue) / r.divisor) < 0.0005);
        QCOMPARE(fields[3], "\"" + units[r.unit].toLatin1() + "\"");
    }
    QCOMPARE(row, 312480);
}

// At exit the settings go to the program folder and nowhere else; a folder that went away or
// became a file (as root no permission stops a write) means nothing is written.
void TestNothingLost::settingsWhenProgramFolderGoes()
{
    QTemporaryDir outer;
    const QString folder = outer.filePath(QStringLiteral("program"));
    const QString saved = QDir::currentPath();
    for (const bool replaceByFile : {false, true}) {
        QVERIFY(QDir().mkpath(folder));
        auto *c = new CCollatrix(folder + QLatin1Char('/'));
        c->comSpeed = 9600;
        QVERIFY(QDir(folder).removeRecursively());
        if (replaceByFile) {
            QFile blocker(folder);
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            blocker.write("keep");
        }
        delete c;
        const QStringList left =
            replaceByFile ? QStringList{QStringLiteral("program")} : QStringList();
        QCOMPARE(QDir(outer.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), left);
        if (replaceByFile) {
            QFile blocker(folder);
            QVERIFY(blocker.open(QIODevice::ReadOnly));
            QCOMPARE(blocker.readAll(), QByteArray("keep"));
            QVERIFY(blocker.remove());
        }
        QVERIFY(!QFile::exists(outer.filePath(QStringLiteral("Settings.ini"))));
        QVERIFY(!QFile::exists(saved + QStringLiteral("/Settings.ini")));
    }
    // Settings.ini that is a folder: left as it is.
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/Settings.ini")));
    delete new CCollatrix(folder + QLatin1Char('/'));
    QVERIFY(QFileInfo(folder + QStringLiteral("/Settings.ini")).isDir());
    QDir::setCurrent(saved);
}

QTEST_MAIN(TestNothingLost)
#include "tst_nothinglost.moc"
