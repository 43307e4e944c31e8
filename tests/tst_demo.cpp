// SPDX-License-Identifier: GPL-3.0-or-later
// scripts/demo-archive.sh, as scripts/run.sh --demo runs it: five surveys downloaded from the
// simulated tester at the line rate, read back through collatrix-cli with the variables of the
// demo.env it writes. The surveys count back from 1 June 2025: 2021-01-20, 2022-01-23,
// 2023-01-26, 2024-01-29 and 2025-02-01.
#include "testfiles.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

class TestDemo : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QStringList kept; // the kept files, newest first

    // collatrix-cli in the demo's environment: standard output, or with -o the file written and
    // the names in the folder of its pictures. Empty when it fails.
    QByteArray demoCli(QStringList args)
    {
        const QString csv = dir.filePath(QStringLiteral("out.csv"));
        for (QString &arg : args)
            arg = arg == QLatin1String("@csv")       ? csv
                  : arg.startsWith(QLatin1Char('@')) ? kept.value(arg.mid(1).toInt())
                                                     : arg;
        QProcess p;
        p.start(QStringLiteral("bash"),
                QStringList{"-c", ". \"$0\" && exec \"$@\"", dir.filePath("demo/demo.env"),
                            COLLATRIX_BIN_DIR "/collatrix-cli"} +
                    args);
        if (!p.waitForFinished(20000) || p.exitCode() != 0)
            return QByteArray();
        if (!args.contains(csv))
            return p.readAllStandardOutput();
        return fileBytes(csv) +
               QStringList(folderFiles(dir.filePath("out")).keys()).join('\n').toUtf8();
    }

private slots:
    void initTestCase()
    {
        qputenv("COLLATRIX_TODAY", "2025-06-01");
        QProcess script;
        script.start(QStringLiteral(COLLATRIX_SOURCE_DIR "/scripts/demo-archive.sh"),
                     {dir.filePath("demo"), COLLATRIX_BIN_DIR});
        QVERIFY(script.waitForFinished(60000));
        QVERIFY2(script.exitCode() == 0, script.readAllStandardError().constData());
        qunsetenv("COLLATRIX_TODAY");
        for (const QString &line : QString::fromUtf8(demoCli({"archive", "list"})).split('\n'))
            kept.append(line.section(';', 5));
    }

    void figures_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QStringList>("expected"); // each matches a whole line
        QTest::newRow("five surveys, every reading with its A-scan, the dead leg left out at last")
            << QStringList{"archive", "list"} << 5
            << QStringList{"2025-02-01T.*;M47xx;13;13;completed;.*", "2024-01-29T.*;13;13;.*",
                           "2023-01-26T.*;14;14;.*", "2022-01-23T.*", "2021-01-20T.*;14;14;.*"};
        QTest::newRow("named points")
            << QStringList{"archive", "points", "1"} << 8
            << QStringList{"1;3;CML-03;Course 1, south, beside the drain nozzle"};
        // CML-03: 11.59 mm on 2021-01-20, 9.50 on 2024-01-29, 8.82 on 2025-02-01 against a
        // nominal 12 and a minimum 9: a loss of 3.18 / 12 = 26.5 %, LT 2.77 mm / (1473 / 365.25)
        // years = 0.687 mm a year, ST 0.68 / (369 / 365.25) = 0.673.
        QTest::newRow("below the minimum, a suspect reading")
            << QStringList{"evaluate", "--decimal-separator", "."} << 14
            << QStringList{"1;3;8.82;mm;below minimum;26.5;11.59;2021-01-20;9.50;2024-01-29;"
                           "0.687;0.673;.*",
                           "1;6;11.95;mm;suspect;.*;suspect: thicker;.*", "2;6;.*;mm;ok;.*"};
        QTest::newRow("to review") << QStringList{"review"} << 1
                                   << QStringList{"2025-02-01T.*;1;6;11.95;mm;suspect: thicker;;;"};
        QTest::newRow("the suspect reading's A-scan")
            << QStringList{"export", "@0", "-o", "@csv", "--decimal-separator", "."} << 27
            << QStringList{"1;6;11.95;\"mm\";\"ascan_1_6.bmp\"\r", "ascan_1_6.bmp"};
        // Not read since 2023-01-26, when it was due within a year.
        QTest::newRow("overdue") << QStringList{"evaluate", "@2", "--decimal-separator", "."} << 15
                                 << QStringList{"2;5;5.51;mm;overdue;.*;2023-0[2-9]-..;;.*",
                                                "2;4;.*;mm;ok;.*"};
    }

    void figures()
    {
        QFETCH(QStringList, args);
        QFETCH(int, lines);
        QFETCH(QStringList, expected);
        const QStringList out = QString::fromUtf8(demoCli(args)).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(out.size(), lines);
        for (const QString &pattern : expected) {
            const QRegularExpression whole(QRegularExpression::anchoredPattern(pattern));
            QVERIFY2(out.indexOf(whole) >= 0, qPrintable(pattern + "\n" + out.join('\n')));
        }
    }
};

QTEST_GUILESS_MAIN(TestDemo)
#include "tst_demo.moc"
