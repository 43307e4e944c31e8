#include "data/collatrix.h"

#include "data/csvwriter.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

const QByteArray kHeader = "Collatrix Settings File\r\n";

class SettingsFolder
{
public:
    QString folder() const { return dir.path() + QLatin1Char('/'); }
    QString file() const { return folder() + QStringLiteral("Settings.ini"); }

    void write(const QByteArray &content) const
    {
        QFile f(file());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

    QByteArray read() const
    {
        QFile f(file());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    // What a start and an end of the program with the given file leave behind.
    QByteArray roundTrip(const QByteArray &content) const
    {
        write(content);
        delete new CCollatrix(folder());
        return read();
    }

    QByteArray expected(const QByteArray &language, const QByteArray &speed, const QByteArray &port,
                        const QByteArray &dataPath = QByteArray()) const
    {
        return kHeader + "Language:" + language + "\r\nVersion:4.2\r\nCOMSpeed:" + speed +
               "\r\nCOMPort:" + port + "\r\nDataPath:" +
               (dataPath.isEmpty() ? folder().toLocal8Bit() + "Data/" : dataPath) + "\r\n";
    }

private:
    QTemporaryDir dir;
};

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void firstStartWritesDefaults();
    void headerMustMatchExactly();
    void portAndSpeedValues();
    void languageAndVersion();
    void dataPathValues();
    void linesLongerThan255Bytes();
    void folderOfPath();
    void decimalSeparatorFollowsTheSystem();
};

void TestSettings::firstStartWritesDefaults()
{
    SettingsFolder s;
    {
        CCollatrix c(s.folder());
        QCOMPARE(c.programFolder, s.folder());
        QCOMPARE(c.dataPath, s.folder() + QStringLiteral("Data/"));
        QCOMPARE(c.language, 1);
        QCOMPARE(c.comSpeed, 38400);
        QVERIFY(!c.comPortFixed);
        QCOMPARE(c.version, QStringLiteral("4.2"));
        QCOMPARE(c.programTitle, QStringLiteral("Collatrix M47T"));
        QCOMPARE(c.decimalSeparator, QStringLiteral("."));
        QVERIFY(!c.readSettings());
        QCOMPARE(QDir::currentPath() + QLatin1Char('/'), s.folder());
    }
    QCOMPARE(s.read(), s.expected("Eng", "38400", "Any"));
}

void TestSettings::headerMustMatchExactly()
{
    SettingsFolder s;
    const QByteArray body = "Language:Rus\r\nVersion:4.2\r\nCOMSpeed:9600\r\nCOMPort:COM4\r\n";
    for (const QByteArray &header :
         {QByteArray("Collatrix Settings File \r\n"), QByteArray("collatrix settings file\r\n"),
          QByteArray(" Collatrix Settings File\r\n"), QByteArray()}) {
        QCOMPARE(s.roundTrip(header + body), s.expected("Eng", "38400", "Any"));
    }
    // A bare LF ends a line as well as CR LF.
    QCOMPARE(s.roundTrip("Collatrix Settings File\nLanguage:Rus\n"),
             s.expected("Rus", "38400", "Any"));
}

void TestSettings::portAndSpeedValues()
{
    SettingsFolder s;
    const auto withPortAndSpeed = [&s](const QByteArray &speed, const QByteArray &port) {
        return s.roundTrip(kHeader + "Language:Eng\r\nVersion:4.2\r\nCOMSpeed:" + speed +
                           "\r\nCOMPort:" + port + "\r\n");
    };
    QCOMPARE(withPortAndSpeed("38400", "COM12"), s.expected("Eng", "38400", "COM12"));
    QCOMPARE(withPortAndSpeed("38400", "com7"), s.expected("Eng", "38400", "COM7"));
    QCOMPARE(withPortAndSpeed("38400", "3"), s.expected("Eng", "38400", "COM3"));
    for (const QByteArray &any :
         {QByteArray("Any"), QByteArray("COM0"), QByteArray("Com3"), QByteArray()})
        QCOMPARE(withPortAndSpeed("38400", any), s.expected("Eng", "38400", "Any"));
    QCOMPARE(withPortAndSpeed("0", "Any"), s.expected("Eng", "38400", "Any"));
    QCOMPARE(withPortAndSpeed("abc", "Any"), s.expected("Eng", "38400", "Any"));
    QCOMPARE(withPortAndSpeed("9600baud", "Any"), s.expected("Eng", "9600", "Any"));
    QCOMPARE(withPortAndSpeed("  -19200", "Any"), s.expected("Eng", "-19200", "Any"));

    // The key is not compared: values are taken by line position, the first separator splits.
    s.write(kHeader + "X\r\nY\r\nSpeed#115200\r\n::Port/COM5\r\n");
    CCollatrix c(s.folder());
    QCOMPARE(c.comSpeed, 115200);
    QVERIFY(c.comPortFixed);
    QCOMPARE(c.comPortNumber, 5);
}

void TestSettings::languageAndVersion()
{
    SettingsFolder s;
    QCOMPARE(s.roundTrip(kHeader + "Language:eng\r\n"), s.expected("Eng", "38400", "Any"));
    QCOMPARE(s.roundTrip(kHeader + "Language:Rus\r\n"), s.expected("Rus", "38400", "Any"));
    {
        s.write(kHeader + "Language:Rus\r\n");
        CCollatrix c(s.folder());
        QCOMPARE(c.language, 0);
        QCOMPARE(c.comSpeed, 38400);
        QVERIFY(c.readSettings());
    }
    QCOMPARE(s.roundTrip(kHeader + "Language:Eng\r\nVersion:1.0\r\n"),
             s.expected("Eng", "38400", "Any"));
}

void TestSettings::dataPathValues()
{
    SettingsFolder s;
    const QByteArray start =
        kHeader + "Language:Eng\r\nVersion:4.2\r\nCOMSpeed:38400\r\nCOMPort:Any\r\n";
    QCOMPARE(s.roundTrip(start + "DataPath:\r\n"), s.expected("Eng", "38400", "Any"));
    // Only the first colon separates; the value is taken as it is, no separator added.
    QCOMPARE(s.roundTrip(start + "DataPath:D:/Data\r\n"),
             s.expected("Eng", "38400", "Any", "D:/Data"));
    const QByteArray unicodePath = QStringLiteral("/tmp/Отчёты/").toLocal8Bit();
    QCOMPARE(s.roundTrip(start + "DataPath:" + unicodePath + "\r\n"),
             s.expected("Eng", "38400", "Any", unicodePath));

    // A data path longer than 246 bytes is cut there: a line holds 255 bytes, key included.
    const QByteArray longPath = "/" + QByteArray(300, 'p') + "/";
    QCOMPARE(s.roundTrip(start + "DataPath:" + longPath + "\r\n"),
             s.expected("Eng", "38400", "Any", longPath.left(246)));
}

void TestSettings::linesLongerThan255Bytes()
{
    // The rest of a long line is read as the next line, so every later value shifts by one.
    SettingsFolder s;
    s.write(kHeader + "Language:" + QByteArray(246, 'x') +
            "Rus\r\nVersion:4.2\r\nCOMSpeed:1200\r\n");
    CCollatrix c(s.folder());
    QCOMPARE(c.language, 1); // value: 246 x's
    QCOMPARE(c.comSpeed, 4); // version line read as the speed line: "4.2"
    QVERIFY(c.comPortFixed); // "COMSpeed:1200" read as the port line
    QCOMPARE(c.comPortNumber, 1200);
}

void TestSettings::folderOfPath()
{
    QCOMPARE(CCollatrix::folderOfPath(QStringLiteral("D:/Tools/collatrix.exe")),
             QStringLiteral("D:/Tools/"));
    QCOMPARE(CCollatrix::folderOfPath(QStringLiteral("D:\\Tools\\x.csv")),
             QStringLiteral("D:\\Tools\\"));
    QCOMPARE(CCollatrix::folderOfPath(QStringLiteral("/a/b\\c/d.csv")), QStringLiteral("/a/b\\c/"));
    QCOMPARE(CCollatrix::folderOfPath(QStringLiteral("D:file.csv")), QStringLiteral("D:"));
    QCOMPARE(CCollatrix::folderOfPath(QStringLiteral("file.csv")), QString());
    QCOMPARE(CCollatrix::folderOfPath(QStringLiteral("/")), QStringLiteral("/"));
}

// The system locale is read once per process, so a German one needs a process of its own: the
// test runs itself again with LC_ALL set and the separator it expects.
void TestSettings::decimalSeparatorFollowsTheSystem()
{
    const QString expected = qEnvironmentVariable("COLLATRIX_EXPECTED_SEPARATOR");
    if (!expected.isEmpty()) {
        SettingsFolder s;
        CCollatrix c(s.folder());
        QCOMPARE(c.decimalSeparator, expected);
        QCOMPARE(c.csvWriter().decimalSeparator, expected.at(0));
        return;
    }
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));
    env.insert(QStringLiteral("COLLATRIX_EXPECTED_SEPARATOR"), QStringLiteral(","));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {"decimalSeparatorFollowsTheSystem"});
    QVERIFY(child.waitForFinished(30000));
    QVERIFY2(child.exitCode() == 0, child.readAllStandardOutput().constData());
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
