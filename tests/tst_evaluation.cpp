// SPDX-License-Identifier: GPL-3.0-or-later
// The point-to-point figures against numbers worked out by hand, the evaluation file's bytes
// against hand-written lines, the summary per group and the order of the action list.
#include "evaluation/evaluation.h"
#include "evaluation/evaluationcsvwriter.h"
#include "evaluation/pointtopoint.h"
#include "format/zrdata.h"

#include <QBuffer>
#include <QtTest>

Q_DECLARE_METATYPE(PointReading)
Q_DECLARE_METATYPE(GroupLimits)

namespace
{

// Three surveys a year (365 days) apart, and two around 29 February 2024 (366 days).
const char kA[] = "2020-03-01";
const char kB[] = "2021-03-01";
const char kC[] = "2022-03-01";
const char kLeap1[] = "2023-03-01";
const char kLeap2[] = "2024-03-01";

QDateTime morningOf(const char *date)
{
    return QDateTime::fromString(QString::fromLatin1(date) + QStringLiteral("T10:00:00+01:00"),
                                 Qt::ISODate);
}

// A reading of group 1, cell 1 written as the tester shows it: "12.50" is 1250 hundredths.
MeasurementRecord record(const QString &value, int unit, int group = 1, int cell = 1)
{
    MeasurementRecord r;
    r.group = group, r.cell = cell, r.unit = unit;
    const int point = value.indexOf(QLatin1Char('.'));
    r.divisor = point < 0 ? 1 : int(std::pow(10, value.size() - point - 1));
    r.rawValue = QString(value).remove(QLatin1Char('.')).toInt();
    return r;
}

PointReading at(const char *date, const QString &value, int unit = UnitMillimetres)
{
    return PointReading{record(value, unit), morningOf(date)};
}

GroupLimits limits(double nominal, double minimum, double warning = 0.0)
{
    return GroupLimits{nominal, minimum, warning};
}

EvaluationInput inputOf(const CZRData &data, const QDateTime &time)
{
    EvaluationInput input;
    input.data = &data;
    input.time = time;
    return input;
}

QString summaryText(const GroupSummary &s, const CEvaluationCsvWriter &w)
{
    const auto n = [&w](double v) { return w.rateText(v); };
    const auto i = [](int v) { return QString::number(v); };
    QStringList counts;
    for (int c : s.statusCounts)
        counts << i(c);
    return QStringLiteral("%1 %2 %3/%4 min %5@%6 max %7 mean %8 sd %9 [%10] worst %11")
        .arg(i(s.group), i(s.unit), i(s.count), i(s.figureCount), n(s.minimum), i(s.minimumCell),
             n(s.maximum), n(s.mean),
             s.standardDeviation ? n(*s.standardDeviation) : QStringLiteral("-"),
             counts.join(QLatin1Char(' ')), w.lifeText(s.worstRemainingLife));
}

} // namespace

class TestEvaluation : public QObject
{
    Q_OBJECT

private slots:
    void status()
    {
        const auto status = [](const QString &value) {
            const double t = resultValue(record(value, UnitMillimetres));
            return CEvaluationCsvWriter().statusText(
                CPointToPoint::status(t, limits(6.0, 5.0, 0.5)));
        };
        // Minimum 5.00, warning margin 0.50: "below" is strictly below, "warning" strictly
        // below 5.50.
        QCOMPARE((QStringList{status("4.99"), status("5.00"), status("5.49"), status("5.50")}),
                 (QStringList{"below minimum", "warning", "warning", "ok"}));
    }
    void pointToPoint_data()
    {
        QTest::addColumn<QList<PointReading>>("history");
        QTest::addColumn<PointReading>("actual");
        QTest::addColumn<GroupLimits>("groupLimits");
        QTest::addColumn<double>("maximumInterval");
        QTest::addColumn<QByteArray>("expected"); // after "1;1;"
        const auto row = [](const char *name, const QList<PointReading> &history,
                            const PointReading &actual, const GroupLimits &groupLimits,
                            const char *expected, double maximumInterval = 10.0) {
            QTest::newRow(name) << history << actual << groupLimits << maximumInterval
                                << QByteArray(expected);
        };

        // 365 days = 365/365.25 years: rate 1.00 * 365.25/365 = 1.000685; life 1.50/1.000685 =
        // 1.499; next after life/2 = 1.50 * 365/2 = 273.75 days: 2022-11-30 04:00; loss 1.20/12.70.
        row("two downloads a year apart", {at(kB, "12.50")}, at(kC, "11.50"), limits(12.70, 10.0),
            "11.50;mm;ok;9.4;12.50;2021-03-01;12.50;2021-03-01;1.001;1.001;1.001;1.5;2022-11-30");
        // LT 0.60 * 365.25/730 = 0.300, ST 0.40 * 365.25/365 = 0.400 governs; life 1.40/0.400274 =
        // 3.498; next after 1.40 * 365/0.80 = 638.75 days: 2023-11-30 04:00.
        row("the short term governs", {at(kB, "9.80"), at(kA, "10.00")}, at(kC, "9.40"),
            limits(10.0, 8.0),
            "9.40;mm;ok;6.0;10.00;2020-03-01;9.80;2021-03-01;0.300;0.400;0.400;3.5;2023-11-30");
        // LT 0.90 * 365.25/730 = 0.450 governs, ST 0.10 * 365.25/365 = 0.100; life 1.10/0.450308 =
        // 2.443; next after 1.10 * 730/1.80 = 446.11 days: 2023-05-21 12:40.
        row("the long term governs", {at(kA, "10.00"), at(kB, "9.20")}, at(kC, "9.10"),
            limits(10.0, 8.0),
            "9.10;mm;ok;9.0;10.00;2020-03-01;9.20;2021-03-01;0.450;0.100;0.450;2.4;2023-05-21");
        // Rate -0.20 * 365.25/365 = -0.200: no life; next after 10 * 365.25 = 3652.5 days, which
        // from 2022-03-01 10:00 is 2032-02-29 22:00 (2024, 2028 and 2032 are leap years).
        row("a point that gained thickness", {at(kB, "8.00")}, at(kC, "8.20"), limits(8.0, 6.0),
            "8.20;mm;ok;-2.5;8.00;2021-03-01;8.00;2021-03-01;-0.200;-0.200;-0.200;;2032-02-29");
        row("no change at all", {at(kB, "10.00")}, at(kC, "10.00"), limits(10.0, 8.0),
            "10.00;mm;ok;0.0;10.00;2021-03-01;10.00;2021-03-01;0.000;0.000;0.000;;2032-02-29");
        // Rate 0.400274; life -0.20/0.400274 = -0.4997; due now. Loss 1.20/6.00 = 20 %.
        row("below its minimum", {at(kB, "5.20")}, at(kC, "4.80"), limits(6.0, 5.0),
            "4.80;mm;below minimum;20.0;"
            "5.20;2021-03-01;5.20;2021-03-01;0.400;0.400;0.400;-0.5;2022-03-01");
        // 5.30 < 5.00 + 0.50. Rate 0.30 * 365.25/365 = 0.300205; life 0.30/0.300205 = 0.999; next
        // after 0.30 * 365/0.60 = 182.5 days: 2022-08-30 22:00. Loss 0.70/6.00 = 11.67 %.
        row("in the warning margin", {at(kB, "5.60")}, at(kC, "5.30"), limits(6.0, 5.0, 0.5),
            "5.30;mm;warning;11.7;"
            "5.60;2021-03-01;5.60;2021-03-01;0.300;0.300;0.300;1.0;2022-08-30");
        row("a group without limits", {at(kB, "12.50")}, at(kC, "11.50"), limits(0.0, 0.0),
            "11.50;mm;no limit;;12.50;2021-03-01;12.50;2021-03-01;1.001;1.001;1.001;;");
        // Rate 0.020 * 365.25/365 = 0.0200137; life 0.080/0.0200137 = 3.997; next after
        // 0.080 * 365/0.040 = 730 days: 2024-02-29.
        row("inches", {at(kB, "0.500", UnitInches)}, at(kC, "0.480", UnitInches), limits(0.5, 0.4),
            "0.480;Inches;ok;4.0;"
            "0.500;2021-03-01;0.500;2021-03-01;0.020;0.020;0.020;4.0;2024-02-29");
        // 366 days: rate 0.30 * 365.25/366 = 0.299385 (0.300 with calendar years); life
        // 0.70/0.299385 = 2.338; next after 0.70 * 366/0.60 = 427 days: 2025-05-02 10:00.
        row("across a leap day", {at(kLeap1, "6.00")}, at(kLeap2, "5.70"), limits(6.0, 5.0),
            "5.70;mm;ok;5.0;6.00;2023-03-01;6.00;2023-03-01;0.299;0.299;0.299;2.3;2025-05-02");
        // Not in survey B, so both earlier readings are A's: 730 days, rate 0.60 * 365.25/730 =
        // 0.300205; life 1.40/0.300205 = 4.663; next after 1.40 * 730/1.20 = 851.67 days:
        // 2024-06-30 02:00.
        row("missing from one survey", {at(kA, "10.00")}, at(kC, "9.40"), limits(10.0, 8.0),
            "9.40;mm;ok;6.0;10.00;2020-03-01;10.00;2020-03-01;0.300;0.300;0.300;4.7;2024-06-30");
        // Survey B evaluated while the archive holds C and B itself: only A counts. Rate
        // 0.20 * 365.25/365 = 0.200137; life 1.80/0.200137 = 8.994; next after 1.80 * 365/0.40 =
        // 1642.5 days: 2025-08-29 22:00.
        row("newer downloads in the archive", {at(kC, "9.40"), at(kB, "9.80"), at(kA, "10.00")},
            at(kB, "9.80"), limits(10.0, 8.0),
            "9.80;mm;ok;2.0;10.00;2020-03-01;10.00;2020-03-01;0.200;0.200;0.200;9.0;2025-08-29");
        // Rate 0.01 * 365.25/365 = 0.010007; life 1.99/0.010007 = 198.86; half of it is capped by 3
        // years = 1095.75 days: 2025-03-01 04:00 (2025-02-28 with 365-day years).
        row("capped by the interval", {at(kB, "10.00")}, at(kC, "9.99"), limits(10.0, 8.0),
            "9.99;mm;ok;0.1;10.00;2021-03-01;10.00;2021-03-01;0.010;0.010;0.010;198.9;2025-03-01",
            3.0);
        row("no earlier reading", {}, at(kC, "11.50"), limits(12.70, 10.0),
            "11.50;mm;ok;9.4;;;;;;;;;");
        row("an earlier reading in another unit", {at(kB, "0.500", UnitInches)}, at(kC, "11.50"),
            limits(12.70, 10.0), "11.50;mm;ok;9.4;;;;;;;;;");
        // A loss of -0.03 % shows as 0.0, not as a loss of "-0.0".
        row("a hair above the nominal", {}, at(kC, "10.003"), limits(10.0, 8.0),
            "10.003;mm;ok;0.0;;;;;;;;;");
        row("not a thickness", {at(kB, "5930", UnitMetresPerSecond)},
            at(kC, "5920", UnitMetresPerSecond), limits(12.70, 10.0),
            "5920;m/s;not a thickness;;;;;;;;;;");
    }
    void pointToPoint()
    {
        QFETCH(QList<PointReading>, history);
        QFETCH(PointReading, actual);
        QFETCH(GroupLimits, groupLimits);
        QFETCH(double, maximumInterval);
        QFETCH(QByteArray, expected);
        CZRData data;
        data.append(actual.record);
        EvaluationInput input = inputOf(data, actual.time);
        input.history.insert(TestPoint{1, 1}, history);
        if (groupLimits.nominal > 0)
            input.limits.insert(1, groupLimits);
        input.maximumIntervalYears = maximumInterval;
        const CEvaluation evaluation(input);
        QCOMPARE(int(evaluation.points().size()), 1);
        QCOMPARE(CEvaluationCsvWriter().line(evaluation.points().front()),
                 "1;1;" + expected + "\r\n");
    }
    void csvBytes()
    {
        CZRData data;
        data.append(record(QStringLiteral("9.40"), UnitMillimetres, 1, 1));
        data.append(record(QStringLiteral("0.7"), UnitMicroseconds, 1, 2));
        data.append(record(QStringLiteral("12.10"), UnitMillimetres, 2, 5));
        EvaluationInput input = inputOf(data, morningOf(kC));
        input.history.insert(TestPoint{1, 1}, {at(kA, "10.00"), at(kB, "9.80")});
        input.limits.insert(1, limits(10.0, 8.0));
        CEvaluationCsvWriter writer;
        writer.results.decimalSeparator = QLatin1Char(',');
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QVERIFY(writer.write(out, CEvaluation(input)));
        // The three-download figures above with a decimal comma; group 2 has neither limits nor
        // history.
        QCOMPARE(out.data(),
                 QByteArray("Group;Cell;Result;Unit;Status;Loss %;Initial;Initial date;Previous;"
                            "Previous date;LT rate;ST rate;Rate;Remaining life;Next inspection\r\n"
                            "1;1;9,40;mm;ok;6,0;10,00;2020-03-01;9,80;2021-03-01;0,300;0,400;0,400;"
                            "3,5;2023-11-30\r\n"
                            "1;2;0,7;us;not a thickness;;;;;;;;;;\r\n"
                            "2;5;12,10;mm;no limit;;;;;;;;;;\r\n"));
    }
    void summaries()
    {
        // Group 1 (limits 12.70/10.00, warning 1.00): 12.10, 11.50, 12.40, 10.80 mm. Mean 46.80/4 =
        // 11.70; deviations 0.4, -0.2, 0.7, -0.9, squares 1.50, sample variance 1.50/3 = 0.5, sd
        // 0.707. Lives: cell 1 2.10/0.400274 = 5.25, cell 2 1.50/1.000685 = 1.50 (the worst), cell
        // 3 unchanged, cell 4 without history. Group 2 (limits in mm, 8.00/6.00): only its 7.0 mm
        // counts in the figures and is judged; its inches reading has no limit in its unit.
        CZRData data;
        for (const auto &[cell, value] :
             QList<QPair<int, QString>>{{1, "12.10"}, {2, "11.50"}, {3, "12.40"}, {4, "10.80"}})
            data.append(record(value, UnitMillimetres, 1, cell));
        data.append(record(QStringLiteral("5920"), UnitMetresPerSecond, 2, 1));
        data.append(record(QStringLiteral("7.0"), UnitMillimetres, 2, 2));
        data.append(record(QStringLiteral("0.300"), UnitInches, 2, 3));
        EvaluationInput input = inputOf(data, morningOf(kC));
        input.history.insert(TestPoint{1, 1}, {at(kB, "12.50")});
        input.history.insert(TestPoint{1, 2}, {at(kB, "12.50")});
        input.history.insert(TestPoint{1, 3}, {at(kB, "12.40")});
        input.limits.insert(1, limits(12.70, 10.0, 1.0));
        input.limits.insert(2, limits(8.0, 6.0));
        const QList<GroupSummary> all = CEvaluation(input).summaries();
        QStringList texts;
        for (const GroupSummary &s : all)
            texts << summaryText(s, CEvaluationCsvWriter());
        // Status counts: below minimum, warning, ok, no limit, not a thickness.
        QCOMPARE(texts, (QStringList{"1 2 4/4 min 10.800@4 max 12.400 mean 11.700 sd 0.707 "
                                     "[0 1 3 0 0] worst 1.5",
                                     "2 2 3/1 min 7.000@2 max 7.000 mean 7.000 sd - [0 0 1 1 1] "
                                     "worst "}));
    }
    void actionList()
    {
        // Minimum 5.00, warning 0.50, surveys B and C. Cells: 1 below without history; 2 below,
        // life -0.5; 3 warning without history; 4 life 1.50/1.000685 = 1.5; 5 life 1.99/0.010007 =
        // 198.9, beyond the 10-year interval; 6 without history and ok; 7 warning, life
        // 0.40/0.010007 = 40.
        const QList<QPair<QString, QString>> readings{
            {"", "4.90"},     {"5.20", "4.80"}, {"", "5.30"},    {"7.50", "6.50"},
            {"7.00", "6.99"}, {"", "7.00"},     {"5.41", "5.40"}};
        CZRData data;
        EvaluationInput input = inputOf(data, morningOf(kC));
        for (int i = 0; i < readings.size(); ++i) {
            data.append(record(readings.at(i).second, UnitMillimetres, 1, i + 1));
            if (!readings.at(i).first.isEmpty())
                input.history.insert(TestPoint{1, i + 1}, {at(kB, readings.at(i).first)});
        }
        input.limits.insert(1, limits(8.0, 5.0, 0.5));
        const CEvaluation evaluation(input);
        QList<int> cells;
        for (int i : evaluation.actionList())
            cells << evaluation.points().at(size_t(i)).record.cell;
        QCOMPARE(cells, (QList<int>{1, 2, 4, 7, 3}));
    }
};

QTEST_APPLESS_MAIN(TestEvaluation)
#include "tst_evaluation.moc"
