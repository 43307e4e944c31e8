// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/csvwriter.h"

#include <QBuffer>
#include <QtTest>

namespace
{

MeasurementRecord rec(int group, int cell, int raw, int divisor, int unit, bool ascan = false)
{
    return {group, cell, raw, divisor, 3, unit, ascan};
}

} // namespace

class TestCsvWriter : public QObject
{
    Q_OBJECT

private slots:
    void formatResultDecimals()
    {
        QCOMPARE(formatResult(rec(1, 1, 1500, 1, 0)), QStringLiteral("1500"));
        QCOMPARE(formatResult(rec(1, 1, 1500, 0, 0)), QStringLiteral("1500"));
        QCOMPARE(formatResult(rec(1, 1, 12345, 100, 2)), QStringLiteral("123.45"));
        QCOMPARE(formatResult(rec(1, 1, 5, 1000, 3)), QStringLiteral("0.005"));
        QCOMPARE(formatResult(rec(1, 1, 7, 10, 1)), QStringLiteral("0.7"));
        QCOMPARE(formatResult(rec(1, 1, 1250, 100, 2)), QStringLiteral("12.50"));
        QCOMPARE(formatResult(rec(1, 1, 123, 7, 2)), QStringLiteral("17.57"));
        QCOMPARE(formatResult(rec(1, 1, 65535, 1000, 3)), QStringLiteral("65.535"));
        QCOMPARE(formatResult(rec(1, 1, 1234567, 10, 3)),
                 QStringLiteral("123456.7")); // no grouping
    }
    void rowsAndHeaders()
    {
        CCsvWriter w;
        QCOMPARE(w.headerLine(false), QByteArray("\"Group\";\"Cell\";\"Result\";\"Unit\"\r\n"));
        QCOMPARE(w.headerLine(true),
                 QByteArray("\"Group\";\"Cell\";\"Result\";\"Unit\";\"Ascan\"\r\n"));
        QCOMPARE(w.rowLine(rec(2, 15, 437, 100, 2, true), true),
                 QByteArray("2;15;4.37;\"mm\";\"ascan_2_15.bmp\"\r\n"));
        // Without A-scans in the data set the record's own flag does not matter.
        QCOMPARE(w.rowLine(rec(2, 15, 437, 100, 2, true), false),
                 QByteArray("2;15;4.37;\"mm\"\r\n"));
        QCOMPARE(w.rowLine(rec(1, 3, 1250, 100, 2), true), QByteArray("1;3;12.50;\"mm\"\r\n"));
        QCOMPARE(w.rowLine(rec(1, 3, 7, 10, 1), false), QByteArray("1;3;0.7;\"us\"\r\n"));
        QCOMPARE(w.rowLine(rec(1, 3, 7, 10, 4), false), QByteArray("1;3;0.7;\"\"\r\n"));
        QCOMPARE(w.rowLine(rec(1, 3, 7, 10, -1), false), QByteArray("1;3;0.7;\"\"\r\n"));
        w.decimalSeparator = QLatin1Char(',');
        QCOMPARE(w.rowLine(rec(2, 15, 437, 100, 2, true), true),
                 QByteArray("2;15;4,37;\"mm\";\"ascan_2_15.bmp\"\r\n"));
        QCOMPARE(w.rowLine(rec(9, 1, 1500, 1, 0), true), QByteArray("9;1;1500;\"m/s\"\r\n"));
        // Translated texts go out in the local 8-bit encoding, unescaped.
        w.unitTexts[2] = QStringLiteral("мм \"x\"");
        QCOMPARE(w.rowLine(rec(1, 1, 5, 10, 2), false),
                 QByteArray("1;1;0,5;\"") + QStringLiteral("мм \"x\"").toLocal8Bit() + "\"\r\n");
        QCOMPARE(CCsvWriter::aScanFileName(12, 300), QStringLiteral("ascan_12_300.bmp"));
    }
    void writeSkipsMissingRows()
    {
        CZRData d;
        d.append(rec(1, 1, 10, 10, 2, true));
        d.append(rec(3, 4, 20, 10, 2, false));
        d.hasAScans = true;
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        CCsvWriter().write(out, d, {1, 7, -1, 0});
        QCOMPARE(out.data(), QByteArray("\"Group\";\"Cell\";\"Result\";\"Unit\";\"Ascan\"\r\n"
                                        "3;4;2.0;\"mm\"\r\n"
                                        "1;1;1.0;\"mm\";\"ascan_1_1.bmp\"\r\n"));
        QCOMPARE(CCsvWriter::allRows(d), QList<int>({0, 1}));
    }
};

QTEST_APPLESS_MAIN(TestCsvWriter)
#include "tst_csvwriter.moc"
