// SPDX-License-Identifier: GPL-3.0-or-later
// The evaluation's pages of the report, read back with poppler's tools: the summary per group,
// a map per group and the points needing action, with figures worked out by hand.
#include "evaluation/designminimum.h"
#include "evaluation/evaluation.h"
#include "format/zrdata.h"
#include "pdftools.h"
#include "report/reportwriter.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

namespace
{

QDateTime morningOf(const char *date)
{
    return QDateTime::fromString(QString::fromLatin1(date) + QStringLiteral("T10:00:00+01:00"),
                                 Qt::ISODate);
}

MeasurementRecord reading(int group, int cell, int hundredths)
{
    MeasurementRecord r;
    r.group = group, r.cell = cell, r.rawValue = hundredths, r.divisor = 100;
    return r;
}

// Readings in hundredths at surveys A (2020-03-01), B (2021-03-01) and C (2022-03-01), C
// evaluated; 0 where a survey does not hold the point.
struct Point {
    int group, cell, a, b, c;
};

// Survey C of the points evaluated against the limits, its report written to path: the problem,
// "" when it was written.
QString evaluatedReport(const QList<Point> &points, const QMap<int, GroupLimits> &limits,
                        const QString &path, const QMap<int, ObjectRules> &rules = {},
                        const QMap<int, QString> &names = {})
{
    CZRData data;
    EvaluationInput input;
    input.data = &data, input.time = morningOf("2022-03-01"), input.limits = limits;
    input.rules = rules, input.names = names;
    for (const Point &p : points) {
        data.append(reading(p.group, p.cell, p.c));
        QList<PointReading> &history = input.history[TestPoint{p.group, p.cell}];
        if (p.a != 0)
            history << PointReading{reading(p.group, p.cell, p.a), morningOf("2020-03-01")};
        if (p.b != 0)
            history << PointReading{reading(p.group, p.cell, p.b), morningOf("2021-03-01")};
    }
    const CEvaluation evaluation(input);
    CReportWriter::Source source;
    source.data = &data, source.rows = CCsvWriter::allRows(data);
    source.evaluation = &evaluation, source.mapWidths = {{1, 2}};
    CReportWriter report(source, QStringLiteral("4.2"));
    report.format.decimalSeparator = QLatin1Char(',');
    QString problem;
    return report.write(path, &problem) ? QString() : problem;
}

} // namespace

class TestEvaluationReport : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        if (!popplerThere())
            QSKIP("poppler-utils is not installed");
    }
    void evaluationPages()
    {
        // Group 1, limits 10.00 / 8.00 / 0.50, two to a row (not the square three), cell 5 not
        // measured; group 2 without limits.
        const QString pdf = dir.filePath(QStringLiteral("evaluated.pdf"));
        const QList<Point> points{{1, 1, 1000, 980, 940}, {1, 2, 1000, 1000, 1000},
                                  {1, 3, 0, 0, 830},      {1, 4, 0, 820, 790},
                                  {1, 6, 0, 0, 990},      {2, 1, 0, 0, 500},
                                  {2, 2, 0, 0, 600}};
        // The minimum of 8.00 comes from the design: 2.1 * 168.3 / (2 * (138 + 0.84)) = 1.273
        // for the pressure, 8 the structural minimum.
        ObjectRules rules;
        rules.design = CDesignMinimum::fromText("pipe P=2.1 D=168.3 S=138 E=1 W=1 Y=0.4 T=8");
        rules.designSetBy = "boris", rules.designSetAt = morningOf("2021-07-01");
        QCOMPARE(evaluatedReport(points,
                                 {{1, {10.0, 8.0, 0.5, "anna (survey)", morningOf("2021-06-01")}}},
                                 pdf, {{1, rules}}, {{1, "Tank 3 shell"}}),
                 QString());
        // Page one, the results, then the summary, the limits, two maps and the action list.
        QCOMPARE(pdfPages(pdf), 7);
        // Group 1: 9.40, 10.00, 8.30, 7.90, 9.90; mean 45.50/5 = 9.100; deviations 0.3, 0.9, -0.8,
        // -1.2, 0.8, squares 3.62, sd sqrt(3.62/4) = 0.951. Cell 4 is below (life
        // -0.10/0.300205 = -0.3), cell 3 in warning, three ok. Group 2: 5.00 and 6.00, sd
        // sqrt(0.5) = 0.707.
        const QString summary = pdfText(pdf, 3);
        QVERIFY2(summary.contains("1 – Tank 3 shell mm 10,00 8,00 0,50 5 7,90 4 10,00 9,100 0,951 1 "
                                  "1 3 -0,3") &&
                     summary.contains("2 mm - - - 2 5,00 1 6,00 5,500 0,707 0 0 0 -") &&
                     summary.contains("at most 10,0 years"),
                 qPrintable(summary));
        const QString limits = pdfText(pdf, 4);
        QVERIFY2(limits.contains("Group 1 – Tank 3 shell: nominal 10,000, minimum 8,000, warning "
                                 "margin 0,500 mm, set by anna (survey) on 2021-06-01 10:00. "
                                 "Growth tolerance 0,500, minimum interval 180 days, interval "
                                 "rule half-life, governing rate lt-st. The minimum comes from "
                                 "the design data set by boris on 2021-07-01 10:00: straight "
                                 "pipe under internal pressure: t = P·D / (2·(S·E·W + P·Y)), "
                                 "with P = 2,1; D = 168,3; S = 138; E = 1; W = 1; Y = 0,4: "
                                 "pressure thickness 1,273, structural minimum 8,000, minimum "
                                 "allowable 8,000.") &&
                     !limits.contains("Group 2"),
                 qPrintable(limits));
        const QString map = pdfText(pdf, 5);
        QVERIFY2(
            map.contains("Thickness map: group 1 – Tank 3 shell") &&
                map.contains("red at the minimum, 8,00 mm, to green at the nominal, 10,00 mm") &&
                map.contains("2 cells to a row") && map.contains("cell 4 at 7,90 mm, is framed"),
            qPrintable(map));
        QVERIFY2(pdfText(pdf, 6).contains("thinnest reading, 5,00 mm, to green at the thickest, "
                                          "6,00 mm"),
                 qPrintable(pdfText(pdf, 6)));
        // Below its minimum first, then the shortest life, then the warning without a rate. Cell 4:
        // rate 0.30 * 365.25/365 = 0.300, loss 2.10/10.00; cell 1 as worked out in tst_evaluation.
        const QString actions = pdfText(pdf, 7);
        QVERIFY2(actions.contains("Points needing action") &&
                     actions.contains("1 – Tank 3 shell 4 7,90 mm below minimum 21,0 8,20 "
                                      "2021-03-01 8,20 "
                                      "2021-03-01 0,300 0,300 0,300 -0,3 2022-03-01 "
                                      "1 – Tank 3 shell 1 9,40 mm ok 6,0 10,00 2020-03-01 9,80 "
                                      "2021-03-01 0,300 "
                                      "0,400 0,400 3,5 2023-11-30 "
                                      "1 – Tank 3 shell 3 8,30 mm warning 17,0") &&
                     actions.contains("Page 7 of 7"),
                 qPrintable(actions));
    }
    void nothingNeedsAction()
    {
        const QString pdf = dir.filePath(QStringLiteral("sound.pdf"));
        QCOMPARE(evaluatedReport({{1, 1, 0, 0, 1000}}, {{1, {10, 8, 0}}}, pdf), QString());
        QCOMPARE(pdfPages(pdf), 6);
        QVERIFY2(pdfText(pdf, 6).contains("No point is below its minimum"),
                 qPrintable(pdfText(pdf, 6)));
    }
    // Long texts in every table, in English and in Russian: no word on any page runs into
    // another or off the page, none is too small to read, the longest cells stand whole in
    // their rows, and so do headers where a smaller font is enough.
    void tablesKeepApart_data()
    {
        QTest::addColumn<QString>("catalogue");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("English") << QString()
                                 << QStringList{"below minimum", "warning", "LT rate ST rate"};
        QTest::newRow("Russian") << QStringLiteral("collatrix_ru")
                                 << QStringList{"ниже минимума", "предупреждение", "Ст. откл."};
    }
    void tablesKeepApart()
    {
        QFETCH(QString, catalogue);
        QFETCH(QStringList, texts);
        QTranslator translator;
        QVERIFY(catalogue.isEmpty() ||
                (translator.load(catalogue, COLLATRIX_BIN_DIR "/translations") &&
                 QCoreApplication::installTranslator(&translator)));
        const QString pdf = dir.filePath(QStringLiteral("long.pdf"));
        // Groups past 200 (so 200 empty ones over pages of statistics), four-digit cells,
        // readings over a metre, rates in tens of millimetres a year.
        const QList<Point> points{{201, 1001, 123456, 120000, 112000},
                                  {201, 1002, 123456, 115000, 108000},
                                  {201, 1003, 0, 123456, 119999},
                                  {202, 1004, 0, 0, 99999}};
        QCOMPARE(evaluatedReport(points, {{201, {1200, 1100, 50}}}, pdf), QString());
        QString rows;
        for (int page = 1; page <= pdfPages(pdf); ++page) {
            const QList<PdfWord> words = pdfWords(pdf, page);
            QVERIFY2(pdfClash(words).isEmpty(), qPrintable(pdfClash(words)));
            // Nothing is under 5.5 pt: a word's box is 1.16 times the size of its font.
            QVERIFY(std::all_of(words.begin(), words.end(),
                                [](const PdfWord &w) { return w.box.height() > 5.5 * 1.15; }));
            rows += pdfRows(words);
        }
        for (const QString &text : texts)
            QVERIFY2(rows.contains(QLatin1Char(' ') + text + QLatin1Char(' ')), qPrintable(rows));
    }

private:
    QTemporaryDir dir;
};

QTEST_MAIN(TestEvaluationReport)
#include "tst_evaluationreport.moc"
