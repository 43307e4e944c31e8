// SPDX-License-Identifier: GPL-3.0-or-later
// collatrix-cli evaluate, archive limits and report --field on both backends: three surveys of
// one object a year apart (a leap day in the first year) evaluated against figures worked out
// by hand, the middle one evaluated while the archive holds a newer one, the latest of two limit
// settings applying, and the particulars of the test on the report's page one.
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

private:
    // Three surveys of group 3, cells 1-4, on 1 June 2023, 2024 and 2025, in the archive.
    void recordSurveys()
    {
        const CKeptFolder folder(
            dir.filePath(QStringLiteral("kept-%1-%2")
                             .arg(QTest::currentTestFunction(), QTest::currentDataTag())));
        const QList<QList<std::array<int, 5>>> surveys{
            {{3, 1, 1190, 1, 0}, {3, 2, 900, 1, 0}, {3, 3, 820, 1, 0}, {3, 4, 1000, 1, 0}},
            {{3, 1, 1150, 1, 0}, {3, 2, 880, 1, 0}, {3, 3, 800, 1, 0}, {3, 4, 1010, 1, 0}},
            {{3, 1, 1100, 1, 0}, {3, 2, 850, 1, 0}, {3, 3, 790, 1, 0}, {3, 4, 1020, 1, 0}}};
        files.clear();
        QString problem;
        for (int year = 0; year < 3; ++year)
            files << folder.keep(keptAt(QStringLiteral("%1-06-01T10:00:00+00:00").arg(2023 + year),
                                        surveys.at(year)),
                                 &problem);
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
