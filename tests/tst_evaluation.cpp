// SPDX-License-Identifier: GPL-3.0-or-later
// The point-to-point figures against numbers worked out by hand, the evaluation file's bytes
// against hand-written lines, the summary per group and the order of the action list.
#include "evaluation/designminimum.h"
#include "evaluation/evaluation.h"
#include "evaluation/evaluationcsvwriter.h"
#include "evaluation/pointtopoint.h"
#include "evaluation/studentt.h"
#include "format/zrdata.h"

#include <QBuffer>
#include <QtTest>

Q_DECLARE_METATYPE(PointReading)
Q_DECLARE_METATYPE(GroupLimits)
Q_DECLARE_METATYPE(ObjectRules)

namespace
{

// Three surveys a year (365 days) apart, and two around 29 February 2024 (366 days).
const char kA[] = "2020-03-01";
const char kB[] = "2021-03-01";
const char kC[] = "2022-03-01";
const char kLeap1[] = "2023-03-01";
const char kLeap2[] = "2024-03-01";
const char kD[] = "2023-03-01";
const char kE[] = "2024-03-01";
// 90 days after survey B.
const char kSoonAfterB[] = "2021-05-30";

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

PointReading decided(const char *date, const QString &value, ReadingDecision decision)
{
    return PointReading{record(value, UnitMillimetres), morningOf(date), decision};
}

ObjectRules ruled(IntervalRule rule, RateChoice rate = RateChoice::LongOrShort)
{
    ObjectRules rules;
    rules.rule = rule;
    rules.rate = rate;
    return rules;
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
        data.append(actual.record(1, 1));
        EvaluationInput input = inputOf(data, actual.time);
        input.history.insert(TestPoint{1, 1}, history);
        if (groupLimits.nominal > 0)
            input.limits.insert(1, groupLimits);
        input.maximumIntervalYears = maximumInterval;
        const CEvaluation evaluation(input);
        QCOMPARE(int(evaluation.points().size()), 1);
        QCOMPARE(CEvaluationCsvWriter().basicFields(evaluation.points().front()).join(';'),
                 "1;1;" + expected);
    }
    // The checks, the comparison readings, least squares, the rules and overdue points, each
    // line worked out by hand from the dated readings. Surveys are a year apart (365 days; D to
    // E 366); a year is 365.25 days. Limits 12/8 unless the row says otherwise. The
    // least-squares figures use t(0.95) = 6.3138 (1 degree of freedom), 2.9200 (2), 2.3534 (3).
    void checkedFigures_data()
    {
        QTest::addColumn<QList<PointReading>>("history");
        QTest::addColumn<PointReading>("actual");
        QTest::addColumn<GroupLimits>("groupLimits");
        QTest::addColumn<ObjectRules>("rules");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<bool>("readLater");
        QTest::addColumn<QByteArray>("expected"); // after "1;1;"
        const GroupLimits tank = limits(12.0, 8.0);
        const GroupLimits pipe = limits(10.0, 7.0);
        const ObjectRules defaults;
        const auto row = [](const char *name, const QList<PointReading> &history,
                            const PointReading &actual, const GroupLimits &groupLimits,
                            const ObjectRules &rules, const char *expected,
                            const QDate &today = QDate(), bool later = false) {
            QTest::newRow(name) << history << actual << groupLimits << rules << today << later
                                << QByteArray(expected);
        };
        const auto V = ReadingDecision::Verified;
        const auto R = ReadingDecision::Rejected;

        // Survey B while the archive holds C and B itself: A alone is earlier, rate 0.20 *
        // 365.25/365 = 0.200137, life 1.80/0.200137 = 8.99, and two readings fit no line.
        row("newer downloads in the archive", {at(kC, "9.40"), at(kB, "9.80"), at(kA, "10.00")},
            at(kB, "9.80"), tank, defaults,
            "9.80;mm;ok;18.3;10.00;2020-03-01;10.00;2020-03-01;0.200;0.200;0.200;9.0;2025-08-29;"
            ";;;;8.000;half-life");
        // The archive holds the download itself: A alone is earlier, 730 days back, rate 0.40 *
        // 365.25/730 = 0.200137, life 1.60/0.200137 = 7.99; two readings fit no line.
        row("the download itself in the archive", {at(kA, "10.00"), at(kC, "9.60")}, at(kC, "9.60"),
            tank, defaults,
            "9.60;mm;ok;20.0;10.00;2020-03-01;10.00;2020-03-01;0.200;0.200;0.200;8.0;2026-02-28;"
            ";;;;8.000;half-life");
        // 275 and 183 days back: LT 0.10 * 365.25/275 = 0.133, ST 0.05 * 365.25/183 = 0.100, life
        // 1.90/0.132818 = 14.3; three counted readings, but over less than a year: no line.
        row("three readings within a year", {at(kA, "10.00"), at("2020-06-01", "9.95")},
            at("2020-12-01", "9.90"), tank, defaults,
            "9.90;mm;ok;17.5;10.00;2020-03-01;9.95;2020-06-01;0.133;0.100;0.133;14.3;2028-01-26;"
            ";;;;8.000;half-life");
        // 0.60 above 10.00, beyond the 0.5 mm tolerance: no figures but the comparison.
        row("growth above the tolerance", {at(kB, "10.00")}, at(kC, "10.60"), tank, defaults,
            "10.60;mm;suspect;;10.00;2021-03-01;10.00;2021-03-01;;;;;;suspect: thicker;;;;"
            "8.000;half-life");
        ObjectRules tight;
        tight.tolerance = 0.1;
        row("growth above a tolerance set", {at(kB, "10.00")}, at(kC, "10.20"), tank, tight,
            "10.20;mm;suspect;;10.00;2021-03-01;10.00;2021-03-01;;;;;;suspect: thicker;;;;"
            "8.000;half-life");
        // 0.030 in above 0.500 in, beyond the 0.02 in tolerance of inches.
        row("growth in inches", {at(kB, "0.500", UnitInches)}, at(kC, "0.530", UnitInches),
            limits(0.6, 0.4), defaults,
            "0.530;Inches;suspect;;0.500;2021-03-01;0.500;2021-03-01;;;;;;suspect: thicker;;;;"
            "0.400;half-life");
        // 0.40 above: counted, rate -0.40 * 365.25/365 = -0.400; no loss, so the 10-year cap:
        // 3652.5 days from 2022-03-01 10:00. Loss 1.60/12 = 13.3 %.
        row("growth within the tolerance", {at(kB, "10.00")}, at(kC, "10.40"), tank, defaults,
            "10.40;mm;ok;13.3;10.00;2021-03-01;10.00;2021-03-01;-0.400;-0.400;-0.400;;"
            "2032-02-29;;;;;8.000;half-life");
        // 5.90 < 0.6 * 10.00.
        row("a halved reading", {at(kB, "10.00")}, at(kC, "5.90"), tank, defaults,
            "5.90;mm;suspect;;10.00;2021-03-01;10.00;2021-03-01;;;;;;suspect: half;;;;"
            "8.000;half-life");
        // C's 5.00 was halved and never verified: D compares with B over 730 days, rate
        // 0.20 * 365.25/730 = 0.100068; life 1.80/0.100068 = 17.99; next after 8.994 years.
        row("after a halved reading", {at(kB, "10.00"), at(kC, "5.00")}, at(kD, "9.80"), tank,
            defaults,
            "9.80;mm;ok;18.3;10.00;2021-03-01;10.00;2021-03-01;0.100;0.100;0.100;18.0;"
            "2032-02-27;;;;;8.000;half-life");
        // B is 90 days back, under the 180-day interval: both rates from A, 455 days back:
        // 0.30 * 365.25/455 = 0.240824; life 1.70/0.240824 = 7.06. Least squares over A, B and
        // this reading (x = 0, 0.99932, 1.24572 years): rate 0.229100, error 0.033597, upper
        // 0.229100 + 6.3138 * 0.033597 = 0.441227.
        row("90 days after the previous", {at(kA, "10.00"), at(kB, "9.80")},
            at(kSoonAfterB, "9.70"), tank, defaults,
            "9.70;mm;ok;19.2;10.00;2020-03-01;10.00;2020-03-01;0.241;0.241;0.241;7.1;"
            "2024-12-09;;0.229;0.034;0.441;8.000;half-life");
        // Verified, the growth counts: rate -0.60 * 365.25/365 = -0.600.
        row("a verified growth", {at(kB, "10.00")}, decided(kC, "10.60", V), tank, defaults,
            "10.60;mm;ok;11.7;10.00;2021-03-01;10.00;2021-03-01;-0.600;-0.600;-0.600;;"
            "2032-02-29;verified;;;;8.000;half-life");
        // C verified is the previous reading: LT (10.00 - 10.50)/1.998631 = -0.250, ST
        // 0.10/0.999316 = 0.100 governs; life 2.50/0.100068 = 24.98, half capped at 10 years.
        // Least squares over 10.00, 10.60, 10.50: rate -0.250171, error 0.202211, upper
        // -0.250171 + 6.3138 * 0.202211 = 1.026539.
        row("after a verified growth", {at(kB, "10.00"), decided(kC, "10.60", V)}, at(kD, "10.50"),
            tank, defaults,
            "10.50;mm;ok;12.5;10.00;2021-03-01;10.60;2022-03-01;-0.250;0.100;0.100;25.0;"
            "2033-02-28;;-0.250;0.202;1.027;8.000;half-life");
        // Undecided, C counts nowhere: D is 0.50 above B, within the tolerance, rate -0.250.
        row("after an undecided growth", {at(kB, "10.00"), at(kC, "10.60")}, at(kD, "10.50"), tank,
            defaults,
            "10.50;mm;ok;12.5;10.00;2021-03-01;10.00;2021-03-01;-0.250;-0.250;-0.250;;"
            "2033-02-28;;;;;8.000;half-life");
        row("a rejected reading", {at(kB, "10.00")}, decided(kC, "9.50", R), tank, defaults,
            "9.50;mm;rejected;;10.00;2021-03-01;10.00;2021-03-01;;;;;;rejected;;;;"
            "8.000;half-life");
        // C rejected: D compares with B, 0.40 * 365.25/730 = 0.200137; life 1.60/0.200137 = 7.99.
        row("after a rejected reading", {at(kB, "10.00"), decided(kC, "9.00", R)}, at(kD, "9.60"),
            tank, defaults,
            "9.60;mm;ok;20.0;10.00;2021-03-01;10.00;2021-03-01;0.200;0.200;0.200;8.0;"
            "2027-02-28;;;;;8.000;half-life");
        // x = 0, 0.99932, 1.99863, 2.99795; y = 10.00, 9.85, 9.60, 9.50: slope -0.175120, error
        // 0.019378, upper 0.175120 + 2.9200 * 0.019378 = 0.231704. LT 0.50/2.99795 = 0.167
        // governs: life 1.50/0.166781 = 8.99.
        const QList<PointReading> fourth{at(kA, "10.00"), at(kB, "9.85"), at(kC, "9.60")};
        row("least squares over four surveys", fourth, at(kD, "9.50"), tank, defaults,
            "9.50;mm;ok;20.8;10.00;2020-03-01;9.60;2022-03-01;0.167;0.100;0.167;9.0;2027-08-29;"
            ";0.175;0.019;0.232;8.000;half-life");
        // Life 1.50/0.175120 = 8.57.
        row("the least-squares rate governs", fourth, at(kD, "9.50"), tank,
            ruled(IntervalRule::HalfLife, RateChoice::All),
            "9.50;mm;ok;20.8;10.00;2020-03-01;9.60;2022-03-01;0.167;0.100;0.175;8.6;2027-06-12;"
            ";0.175;0.019;0.232;8.000;half-life");
        // Life 1.50/0.231704 = 6.47.
        row("the upper bound governs", fourth, at(kD, "9.50"), tank,
            ruled(IntervalRule::HalfLife, RateChoice::Upper),
            "9.50;mm;ok;20.8;10.00;2020-03-01;9.60;2022-03-01;0.167;0.100;0.232;6.5;2026-05-26;"
            ";0.175;0.019;0.232;8.000;half-life");
        // x = 0 … 4.0 years; y = 10.00, 9.90, 9.70, 9.65, 9.40: slope -0.145031, error 0.016042,
        // upper 0.145031 + 2.3534 * 0.016042 = 0.182784. ST 0.25 * 365.25/366 = 0.249 governs:
        // life 1.40/0.249488 = 5.61.
        const QList<PointReading> fifth{at(kA, "10.00"), at(kB, "9.90"), at(kC, "9.70"),
                                        at(kD, "9.65")};
        row("least squares over five surveys", fifth, at(kE, "9.40"), tank, defaults,
            "9.40;mm;ok;21.7;10.00;2020-03-01;9.65;2023-03-01;0.150;0.249;0.249;5.6;2026-12-21;"
            ";0.145;0.016;0.183;8.000;half-life");
        // The bound governs although the short term is higher: life 1.40/0.182784 = 7.66.
        row("the upper bound over five surveys", fifth, at(kE, "9.40"), tank,
            ruled(IntervalRule::HalfLife, RateChoice::Upper),
            "9.40;mm;ok;21.7;10.00;2020-03-01;9.65;2023-03-01;0.150;0.249;0.183;7.7;2027-12-30;"
            ";0.145;0.016;0.183;8.000;half-life");
        // Limits 10/7. Life 1.20/0.400274 = 3.00, under 4 years: the whole of it, at most 2
        // years = 730.5 days.
        row("vessel, short life", {at(kB, "8.60")}, at(kC, "8.20"), pipe,
            ruled(IntervalRule::Vessel),
            "8.20;mm;ok;18.0;8.60;2021-03-01;8.60;2021-03-01;0.400;0.400;0.400;3.0;2024-02-29;"
            ";;;;7.000;vessel");
        // Life 2.00/0.200137 = 9.99: half of it.
        row("vessel, long life", {at(kB, "9.20")}, at(kC, "9.00"), pipe,
            ruled(IntervalRule::Vessel),
            "9.00;mm;ok;10.0;9.20;2021-03-01;9.20;2021-03-01;0.200;0.200;0.200;10.0;2027-02-28;"
            ";;;;7.000;vessel");
        // Life 2.90/0.100068 = 28.98: half of it capped at 5 years, 1826.25 days.
        row("class 1", {at(kB, "10.00")}, at(kC, "9.90"), pipe, ruled(IntervalRule::Class1),
            "9.90;mm;ok;1.0;10.00;2021-03-01;10.00;2021-03-01;0.100;0.100;0.100;29.0;2027-03-01;"
            ";;;;7.000;class1");
        row("class 2 without a loss", {at(kB, "10.00")}, at(kC, "10.00"), pipe,
            ruled(IntervalRule::Class2),
            "10.00;mm;ok;0.0;10.00;2021-03-01;10.00;2021-03-01;0.000;0.000;0.000;;2032-02-29;"
            ";;;;7.000;class2");
        // Life 2.75/0.250171 = 10.99: half of it.
        row("class 3", {at(kB, "10.00")}, at(kC, "9.75"), pipe, ruled(IntervalRule::Class3),
            "9.75;mm;ok;2.5;10.00;2021-03-01;10.00;2021-03-01;0.250;0.250;0.250;11.0;2027-08-29;"
            ";;;;7.000;class3");
        // Life 1.60/0.400274 = 4.00: next after 2 years, 2024-02-29 22:00.
        const char dueFeb29[] = "9.60;mm;%1;20.0;10.00;2021-03-01;10.00;2021-03-01;0.400;0.400;"
                                "0.400;4.0;2024-02-29;;;;;8.000;half-life";
        const auto due = [&](const char *status) {
            return QString::fromLatin1(dueFeb29).arg(QLatin1String(status)).toLatin1();
        };
        row("overdue", {at(kB, "10.00")}, at(kC, "9.60"), tank, defaults, due("overdue"),
            QDate(2024, 3, 1));
        row("due today", {at(kB, "10.00")}, at(kC, "9.60"), tank, defaults, due("ok"),
            QDate(2024, 2, 29));
        row("read again since", {at(kB, "10.00")}, at(kC, "9.60"), tank, defaults, due("ok"),
            QDate(2025, 1, 1), true);
        // Rate 0.50 * 365.25/365 = 0.500342; life -0.10/0.500342 = -0.2; due at once.
        row("below the minimum stays so", {at(kB, "8.40")}, at(kC, "7.90"), tank, defaults,
            "7.90;mm;below minimum;34.2;8.40;2021-03-01;8.40;2021-03-01;0.500;0.500;0.500;-0.2;"
            "2022-03-01;;;;;8.000;half-life",
            QDate(2025, 1, 1));
    }
    void checkedFigures()
    {
        QFETCH(QList<PointReading>, history);
        QFETCH(PointReading, actual);
        QFETCH(GroupLimits, groupLimits);
        QFETCH(ObjectRules, rules);
        QFETCH(QDate, today);
        QFETCH(bool, readLater);
        QFETCH(QByteArray, expected);
        CZRData data;
        data.append(actual.record(1, 1));
        EvaluationInput input = inputOf(data, actual.time);
        input.history.insert(TestPoint{1, 1}, history);
        input.decisions.insert(TestPoint{1, 1}, actual.decision);
        input.limits.insert(1, groupLimits);
        input.rules.insert(1, rules);
        input.today = today;
        if (readLater)
            input.readLater.insert(TestPoint{1, 1});
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QVERIFY(CEvaluationCsvWriter().write(out, CEvaluation(input)));
        QCOMPARE(out.data().split('\n').value(1), "1;1;" + expected + "\r");
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
        // The three-download figures above with a decimal comma; least squares over 10.00, 9.80
        // and 9.40 a year apart: slope -0.300205, error 0.057774, upper 0.300205 + 6.3138 *
        // 0.057774 = 0.664975. Group 2 has neither limits nor history.
        QCOMPARE(out.data(),
                 QByteArray("Group;Cell;Result;Unit;Status;Loss %;Initial;Initial date;Previous;"
                            "Previous date;LT rate;ST rate;Rate;Remaining life;Next inspection;"
                            "Check;LS rate;LS error;LS upper;Minimum;Rule\r\n"
                            "1;1;9,40;mm;ok;6,0;10,00;2020-03-01;9,80;2021-03-01;0,300;0,400;0,400;"
                            "3,5;2023-11-30;;0,300;0,058;0,665;8,000;half-life\r\n"
                            "1;2;0,7;us;not a thickness;;;;;;;;;;;;;;;;\r\n"
                            "2;5;12,10;mm;no limit;;;;;;;;;;;;;;;;half-life\r\n"));
    }
    // Textbook examples, worked by hand; the last two in psi and inches.
    void designMinimum_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("pressureThickness");
        QTest::addColumn<double>("minimum");
        // 2.1 * 168.3 / (2 * (138 + 0.84)) = 353.43 / 277.68.
        QTest::newRow("pipe") << "pipe P=2.1 D=168.3 S=138 E=1 W=1 Y=0.4 T=0" << 1.27280 << 1.27280;
        // 2.1 * 168.3 / (2 * (138 * 0.8 + 0.84)) = 353.43 / 222.48.
        QTest::newRow("pipe, welded")
            << "pipe P=2.1 D=168.3 S=138 E=1 W=0.8 Y=0.4 T=0" << 1.58859 << 1.58859;
        QTest::newRow("pipe, structural minimum")
            << "pipe P=2.1 D=168.3 S=138 E=1 W=1 Y=0.4 T=2" << 1.27280 << 2.0;
        // 1.5 * 750 / (138 * 0.85 - 0.9) = 1125 / 116.4.
        QTest::newRow("shell") << "shell P=1.5 R=750 S=138 E=0.85 W=1 Y=0.4 T=0" << 9.66495
                               << 9.66495;
        // 1.5 * 1500 / (2 * 138 - 0.3) = 2250 / 275.7.
        QTest::newRow("head") << "head P=1.5 D=1500 S=138 E=1 W=1 Y=0.4 T=0" << 8.16105 << 8.16105;
        // 100 * 30 / (17500 * 0.85 - 60) = 3000 / 14815.
        QTest::newRow("shell in psi")
            << "shell P=100 R=30 S=17500 E=0.85 W=1 Y=0.4 T=0.125" << 0.20250 << 0.20250;
        // 500 * 6.625 / (2 * (20000 * 0.85 + 200)) = 3312.5 / 34400.
        QTest::newRow("pipe in psi")
            << "pipe P=500 D=6.625 S=20000 E=0.85 W=1 Y=0.4 T=0.125" << 0.09629 << 0.125;
    }
    void designMinimum()
    {
        QFETCH(QString, text);
        QFETCH(double, pressureThickness);
        QFETCH(double, minimum);
        const std::optional<DesignData> design = CDesignMinimum::fromText(text);
        QVERIFY(design);
        QCOMPARE(CDesignMinimum::text(*design), text);
        QVERIFY(std::abs(CDesignMinimum::pressureThickness(*design) - pressureThickness) < 5e-5);
        QVERIFY(std::abs(CDesignMinimum::minimum(*design) - minimum) < 5e-5);
        // No formula takes a pressure the stress cannot hold.
        QVERIFY(!CDesignMinimum::fromText(QStringLiteral("shell P=200 R=750 S=100 E=1 W=1 Y=0.4 "
                                                         "T=0")));
    }
    // The one-sided 95 % points of a printed t table.
    void studentT()
    {
        const QList<QPair<int, double>> table{{1, 6.314},  {2, 2.920},  {3, 2.353},  {4, 2.132},
                                              {10, 1.812}, {30, 1.697}, {200, 1.653}};
        for (const auto &[n, t] : table)
            QVERIFY2(std::abs(CStudentT::upper95(n) - t) < 5e-4, qPrintable(QString::number(n)));
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
        // Status counts: below minimum, warning, ok, no limit, not a thickness, overdue, suspect,
        // rejected.
        QCOMPARE(texts, (QStringList{"1 2 4/4 min 10.800@4 max 12.400 mean 11.700 sd 0.707 "
                                     "[0 1 3 0 0 0 0 0] worst 1.5",
                                     "2 2 3/1 min 7.000@2 max 7.000 mean 7.000 sd - "
                                     "[0 0 1 1 1 0 0 0] worst "}));
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
        // Cell 8 grew by 1.00: to review. Cell 9: life 0.80/0.400274 = 2.0, due 2023-03-01, and
        // overdue like cell 4 (due 2022-11-30) by the day the list is made.
        data.append(record(QStringLiteral("6.00"), UnitMillimetres, 1, 8));
        input.history.insert(TestPoint{1, 8}, {at(kB, "5.00")});
        data.append(record(QStringLiteral("5.80"), UnitMillimetres, 1, 9));
        input.history.insert(TestPoint{1, 9}, {at(kB, "6.20")});
        input.today = QDate(2024, 1, 1);
        const CEvaluation evaluation(input);
        QList<int> cells;
        for (int i : evaluation.actionList())
            cells << evaluation.points().at(size_t(i)).record.cell;
        QCOMPARE(cells, (QList<int>{1, 2, 4, 9, 7, 3, 8}));
    }
};

QTEST_APPLESS_MAIN(TestEvaluation)
#include "tst_evaluation.moc"
