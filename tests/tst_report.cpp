// SPDX-License-Identifier: GPL-3.0-or-later
// The report's statistics against figures worked out by hand, and written reports read back with
// poppler's tools: the page count, the figures on page one, one picture per A-scan held.
#include "format/zrdata.h"
#include "pdftools.h"
#include "report/reportwriter.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

MeasurementRecord reading(int group, int cell, int raw, int divisor, int unit, bool aScan)
{
    MeasurementRecord r;
    r.group = group, r.cell = cell, r.rawValue = raw, r.divisor = divisor, r.unit = unit;
    r.hasAScan = aScan;
    return r;
}

// Group 1 mixes 12.50 mm, 0.005 inches and 36.6 mm; group 2 is empty; 7.0 mm is alone in
// group 3; group 4 has 150 readings, every 20th with an A-scan.
CZRData sample()
{
    CZRData data;
    data.append(reading(1, 1, 1250, 100, UnitMillimetres, true));
    data.append(reading(1, 2, 5, 1000, UnitInches, false));
    data.append(reading(1, 3, 366, 10, UnitMillimetres, true));
    data.append(reading(3, 1, 70, 10, UnitMillimetres, false));
    data.groups[1].clear();
    for (int cell = 1; cell <= 150; ++cell)
        data.append(reading(4, cell, 100 + cell, 10, UnitMillimetres, cell % 20 == 0));
    data.hasAScans = true;
    return data;
}

QString described(const QList<GroupStatistics> &all)
{
    QStringList parts;
    for (const GroupStatistics &s : all) {
        const auto n = [&s](double v) { return CResultStatistics::number(v, s.decimals, ','); };
        const QString counted = QStringLiteral("%1 %2 %3 ").arg(s.group).arg(s.unit).arg(s.count);
        const auto spread = QStringLiteral("%1 %2 %3").arg(n(s.minimum), n(s.maximum), n(s.mean));
        parts << (s.count == 0 ? QStringLiteral("%1 empty").arg(s.group) : counted + spread);
    }
    return parts.join(QStringLiteral(" | "));
}

} // namespace

class TestReport : public QObject
{
    Q_OBJECT

private slots:
    void statistics_data()
    {
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<QString>("expected");
        QTest::newRow("all rows: mixed units, an empty and a one-row group")
            << QList<int>{0, 1, 2, 3, 4, 5}
            << "1 2 2 12,50 36,60 24,55 | 1 3 1 0,005 0,005 0,005 | 2 empty | 3 2 1 7,0 7,0 7,0 | "
               "4 2 2 10,1 10,2 10,2";
        QTest::newRow("selected rows: only their groups")
            << QList<int>{2, 3} << "1 2 1 36,6 36,6 36,6 | 3 2 1 7,0 7,0 7,0";
    }
    void statistics()
    {
        QFETCH(QList<int>, rows);
        QFETCH(QString, expected);
        CZRData data = sample();
        for (int cell = 3; cell <= 150; ++cell)
            data.groups[3].pop_back();
        QCOMPARE(
            described(CResultStatistics::compute(data, rows, rows.size() == data.totalCount())),
            expected);
    }
    void writtenReport()
    {
        if (!popplerThere())
            QSKIP("poppler-utils is not installed");
        const CZRData data = sample();
        AScanEntry entry;
        entry.trace = QVector<signed short>(239, 30);
        entry.params.rangeEnd = 20.0;
        CReportWriter::Source source;
        source.data = &data, source.rows = CCsvWriter::allRows(data);
        source.aScanOf = [&entry](int) { return &entry; }, source.outcome = "incomplete";
        CReportWriter report(source, QStringLiteral("4.2"));
        report.format.decimalSeparator = QLatin1Char(',');
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        QString problem;
        QVERIFY2(report.write(pdf, &problem), qPrintable(problem));
        // Page one with the statistics, 154 rows at 68 a page, 9 pictures at 6 a page.
        const int pages = report.pageCount();
        QCOMPARE(pages, 6);
        QCOMPARE(pdfPages(pdf), pages);
        QVERIFY(pdfText(pdf, pages).contains(QStringLiteral("Page %1 of %1").arg(pages)));
        const QString first = pdfText(pdf, 1);
        QVERIFY2(first.contains("1 mm 2 12,50 36,60 24,55") && first.contains("2 - 0 - - -") &&
                     first.contains("4 mm 150 10,1 25,0 17,6") &&
                     first.contains("Outcome: the received data is incomplete"),
                 qPrintable(first));
        QVERIFY(pdfText(pdf, 2).contains("Group Cell Result Unit A-scan 1 1 12,50 mm"));
        QCOMPARE(pdfImages(pdf), 2 + 150 / 20);
    }
};

QTEST_MAIN(TestReport)
#include "tst_report.moc"
