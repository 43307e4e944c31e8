// SPDX-License-Identifier: GPL-3.0-or-later
// The thickness map: its colour scale at known thicknesses, its cell layout, and the colours
// read back at known cells of a rendered picture.
#include "evaluation/evaluation.h"
#include "evaluationview/thicknessmap.h"
#include "format/csvwriter.h"
#include "format/zrdata.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QtTest>

namespace
{

const QColor kWhite(Qt::white);
const QColor kBlack(Qt::black);

QImage rendered(const CThicknessMap &map, const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(kWhite);
    QPainter painter(&image);
    map.paint(painter, QRectF(QPointF(0, 0), size));
    return image;
}

MeasurementRecord reading(int group, int cell, int hundredths, int unit = UnitMillimetres)
{
    MeasurementRecord r;
    r.group = group, r.cell = cell, r.rawValue = hundredths, r.divisor = 100, r.unit = unit;
    return r;
}

} // namespace

class TestThicknessMap : public QObject
{
    Q_OBJECT

private slots:
    void scale_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QColor>("expected");
        // Minimum 5.00, nominal 8.00.
        QTest::newRow("below the minimum") << 4.0 << QColor(215, 48, 39);
        QTest::newRow("the minimum") << 5.0 << QColor(215, 48, 39);
        // A quarter of the way: halfway from red to yellow, (215 + 254) / 2 = 234.5 rounds to 235,
        // (48 + 224) / 2 = 136, (39 + 139) / 2 = 89.
        QTest::newRow("a quarter") << 5.75 << QColor(235, 136, 89);
        QTest::newRow("halfway") << 6.5 << QColor(254, 224, 139);
        // Two thirds: a third from yellow to green, 254 - 228/3 = 178, 224 - 72/3 = 200,
        // 139 - 59/3 = 119.3.
        QTest::newRow("two thirds") << 7.0 << QColor(178, 200, 119);
        QTest::newRow("the nominal") << 8.0 << QColor(26, 152, 80);
        QTest::newRow("above the nominal") << 9.0 << QColor(26, 152, 80);
    }
    void scale()
    {
        QFETCH(double, value);
        QFETCH(QColor, expected);
        QCOMPARE(CThicknessScale(5.0, 8.0).colourOf(value), expected);
    }
    void layout()
    {
        // Four to a row, six cells: two rows of 50-pixel squares in 200 x 100.
        const CCellLayout l(4, 6, QRectF(0, 0, 200, 120));
        QCOMPARE(l.rows(), 2);
        QCOMPARE(l.cellSize(), 50.0);
        QCOMPARE(l.rectOf(1), QRectF(0, 0, 50, 50));
        QCOMPARE(l.rectOf(6), QRectF(50, 50, 50, 50));
        QCOMPARE(l.cellAt(QPointF(175, 20)), 4);
        QCOMPARE(l.cellAt(QPointF(10, 99)), 5);
        QCOMPARE(l.cellAt(QPointF(175, 75)), 0); // cell 8 is past the last
        QCOMPARE(l.cellAt(QPointF(210, 20)), 0);
        QCOMPARE(CCellLayout::squareWidth(10), 4);
        QCOMPARE(CCellLayout::squareWidth(9), 3);
    }
    void renderedColours()
    {
        // Scale 5.00 to 8.00, four to a row, 50-pixel cells; cell 4 has no reading, cell 6 is the
        // thinnest.
        const CThicknessMap map({{1, 8.0, "8.00"},
                                 {2, 5.0, "5.00"},
                                 {3, 6.5, "6.50"},
                                 {5, 7.0, "7.00"},
                                 {6, 4.0, "4.00"}},
                                CThicknessScale(5.0, 8.0), 4);
        QCOMPARE(map.thinnestCell(), 6);
        const QImage image = rendered(map, QSize(200, 100));
        const auto near = [&image](int x, int y) { return QColor(image.pixel(x + 6, y + 6)); };
        QCOMPARE(near(0, 0), QColor(26, 152, 80));
        QCOMPARE(near(50, 0), QColor(215, 48, 39));
        QCOMPARE(near(100, 0), QColor(254, 224, 139));
        QCOMPARE(near(150, 0), kWhite);
        QCOMPARE(QColor(image.pixel(175, 25)), kWhite);
        QCOMPARE(near(0, 50), QColor(178, 200, 119));
        // The thinnest cell's frame (50/12 pixels) on its red.
        QCOMPARE(QColor(image.pixel(52, 52)), kBlack);
        QCOMPARE(near(54, 54), QColor(215, 48, 39));
        QCOMPARE(QColor(image.pixel(2, 2)), QColor(26, 152, 80));
        // A value is written in its cell: dark pixels in the middle of cell 1.
        int dark = 0;
        for (int y = 15; y < 35; ++y) {
            for (int x = 5; x < 45; ++x)
                dark += QColor(image.pixel(x, y)).lightness() < 60 ? 1 : 0;
        }
        QVERIFY2(dark > 20, qPrintable(QString::number(dark)));
        // The hairline between cells 1 and 2 stays blank.
        QCOMPARE(QColor(image.pixel(49, 10)), kWhite);
    }
    void smallCellsCarryNoText()
    {
        // 5-pixel cells: no value fits, so every pixel of cell 2 is its colour (cell 1, the first
        // of the equally thin, carries the frame).
        QList<MapCell> cells;
        for (int cell = 1; cell <= 800; ++cell)
            cells.append({cell, 8.0, QStringLiteral("8.00")});
        const QImage image =
            rendered(CThicknessMap(cells, CThicknessScale(5.0, 8.0), 40), {200, 100});
        for (int y = 0; y < 5; ++y) {
            for (int x = 5; x < 10; ++x)
                QCOMPARE(QColor(image.pixel(x, y)), QColor(26, 152, 80));
        }
    }
    void mapOfAnEvaluatedGroup()
    {
        CZRData data;
        data.append(reading(1, 1, 1000));
        data.append(reading(1, 2, 1200));
        data.append(reading(1, 3, 5920, UnitMetresPerSecond));
        data.append(reading(2, 1, 900));
        EvaluationInput input;
        input.data = &data;
        input.limits.insert(2, GroupLimits{10.0, 8.0, 0.0});
        const CEvaluation evaluation(input);
        const CCsvWriter format;
        // Without limits the scale spans the group's own readings; the speed is not on the map.
        const CThicknessMap own = CThicknessMap::ofGroup(evaluation, 1, 3, format);
        QCOMPARE(own.scale().low(), 10.0);
        QCOMPARE(own.scale().high(), 12.0);
        const QImage image = rendered(own, QSize(150, 50));
        QCOMPARE(QColor(image.pixel(5, 5)), QColor(215, 48, 39));
        QCOMPARE(QColor(image.pixel(55, 5)), QColor(26, 152, 80));
        QCOMPARE(QColor(image.pixel(125, 25)), kWhite);
        const CThicknessMap limited = CThicknessMap::ofGroup(evaluation, 2, 0, format);
        QCOMPARE(limited.scale().low(), 8.0);
        QCOMPARE(limited.scale().high(), 10.0);
    }
};

QTEST_MAIN(TestThicknessMap)
#include "tst_thicknessmap.moc"
