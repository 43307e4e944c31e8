// SPDX-License-Identifier: GPL-3.0-or-later
// Settings.ini: what a start and an end of the program leave behind for a given file.
#include "data/collatrix.h"
#include "format/csvwriter.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

const QByteArray kHeader = "Collatrix Settings File\r\n";

QByteArray settings(const QByteArray &language, const QByteArray &speed, const QByteArray &port,
                    const QByteArray &dataPath)
{
    return kHeader + "Language:" + language +
           "\r\nVersion:" COLLATRIX_VERSION "\r\nCOMSpeed:" + speed + "\r\nCOMPort:" + port +
           "\r\nDataPath:" + dataPath + "\r\n";
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("file"); // "-": no file
        // language;speed;port;data path, the last empty for the default Data/ beside the program
        QTest::addColumn<QByteArray>("expected");
        const QByteArray start = kHeader + "Language:Eng\r\nVersion:1.0\r\n";
        const QByteArray path = QStringLiteral("/tmp/Отчёты/").toLocal8Bit();
        // A line holds 255 bytes, key included; the rest of a longer one is read as the next line.
        const QByteArray longPath = "/" + QByteArray(300, 'p') + "/";
        // clang-format off
        QTest::newRow("first start") << QByteArray("-") << QByteArray("Eng;38400;Any;");
        QTest::newRow("header with a space") << QByteArray("Collatrix Settings File \r\nLanguage:Rus\r\n") << QByteArray("Eng;38400;Any;");
        QTest::newRow("bare LF, Russian") << QByteArray("Collatrix Settings File\nLanguage:Rus\n") << QByteArray("Rus;38400;Any;");
        QTest::newRow("port and speed") << start + "COMSpeed:9600baud\r\nCOMPort:com7\r\n" << QByteArray("Eng;9600;COM7;");
        QTest::newRow("bare port number") << start + "COMSpeed:  -19200\r\nCOMPort:3\r\n" << QByteArray("Eng;-19200;COM3;");
        QTest::newRow("no speed, port 0") << start + "COMSpeed:abc\r\nCOMPort:COM0\r\n" << QByteArray("Eng;38400;Any;");
        // Values are taken by line position; keys are not compared.
        QTest::newRow("keys not compared") << kHeader + "X\r\nY\r\nSpeed#115200\r\n::Port/COM5\r\n" << QByteArray("Eng;115200;COM5;");
        QTest::newRow("data path") << start + "COMSpeed:1\r\nCOMPort:Any\r\nDataPath:" + path + "\r\n" << "Eng;1;Any;" + path;
        QTest::newRow("long data path") << start + "COMSpeed:1\r\nCOMPort:Any\r\nDataPath:" + longPath << "Eng;1;Any;" + longPath.left(246);
        QTest::newRow("long line shifts the rest") << kHeader + "Language:" + QByteArray(246, 'x') + "Rus\r\nVersion:4.2\r\nCOMSpeed:1200\r\n" << QByteArray("Eng;4;COM1200;");
        // clang-format on
    }
    void roundTrip()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, expected);
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        QFile ini(folder + QStringLiteral("Settings.ini"));
        QVERIFY(file == "-" || (ini.open(QIODevice::WriteOnly) && ini.write(file) && ini.flush()));
        ini.close();
        delete new CCollatrix(folder);
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QList<QByteArray> e = expected.split(';');
        const QByteArray path = e.at(3).isEmpty() ? folder.toLocal8Bit() + "Data/" : e.at(3);
        QCOMPARE(ini.readAll(), settings(e.at(0), e.at(1), e.at(2), path));
    }
    // A program folder that does not exist is one nobody can write, root included.
    void userFoldersWhenTheProgramFolderIsNotWritable()
    {
        QTemporaryDir dir;
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
        const QString programFolder = dir.path() + QStringLiteral("/absent/");
        const QString data = dir.path() + QStringLiteral("/data/collatrix/Data/");
        {
            CCollatrix c(programFolder);
            c.comPortFixed = true;
            c.comPortNumber = 7;
            c.normaliseDataPath();
            QCOMPARE(c.dataPath, data);
        }
        QFile ini(dir.filePath(QStringLiteral("config/collatrix/Settings.ini")));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QCOMPARE(ini.readAll(), settings("Eng", "38400", "COM7", data.toLocal8Bit()));
        QCOMPARE(CCollatrix(programFolder).comPortNumber, 7);
        QVERIFY(!QFileInfo::exists(programFolder));
    }
    // The folder is neither made again nor replaced by the user's folders.
    void programFolderRemovedWhileRunning()
    {
        QTemporaryDir dir;
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
        const QString programFolder = dir.path() + QStringLiteral("/program/");
        QVERIFY(QDir().mkpath(programFolder));
        {
            CCollatrix c(programFolder);
            QVERIFY(QDir(programFolder).removeRecursively());
        }
        QVERIFY(!QFileInfo::exists(programFolder));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("config"))));
    }
    void folderOfPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        // clang-format off
        QTest::newRow("slashes") << "D:/Tools/collatrix.exe" << "D:/Tools/";
        QTest::newRow("backslashes") << "D:\\Tools\\x.csv" << "D:\\Tools\\";
        QTest::newRow("bare drive") << "D:file.csv" << "D:";
        // clang-format on
    }
    void folderOfPath()
    {
        QFETCH(QString, path);
        QFETCH(QString, folder);
        QCOMPARE(CCollatrix::folderOfPath(path), folder);
    }
    // The system locale is read once per process, so a German one needs a process of its own: the
    // test runs itself again with LC_ALL set and the separator it expects.
    void decimalSeparatorFollowsTheSystem()
    {
        const QString expected = qEnvironmentVariable("COLLATRIX_EXPECTED_SEPARATOR");
        if (!expected.isEmpty()) {
            QTemporaryDir dir;
            CCollatrix c(dir.path() + QLatin1Char('/'));
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
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
