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
// The scale's ends and its middle.
const QColor kRed(215, 48, 39);
const QColor kYellow(254, 224, 139);
const QColor kGreen(26, 152, 80);

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
        QTest::newRow("below the minimum") << 4.0 << kRed;
        QTest::newRow("the minimum") << 5.0 << kRed;
        // A quarter of the way: halfway from red to yellow, (215 + 254) / 2 = 234.5 rounds to 235,
        // (48 + 224) / 2 = 136, (39 + 139) / 2 = 89.
        QTest::newRow("a quarter") << 5.75 << QColor(235, 136, 89);
        QTest::newRow("halfway") << 6.5 << kYellow;
        // Two thirds: a third from yellow to green, 254 - 228/3 = 178, 224 - 72/3 = 200,
        // 139 - 59/3 = 119.3.
        QTest::newRow("two thirds") << 7.0 << QColor(178, 200, 119);
        QTest::newRow("the nominal") << 8.0 << kGreen;
        QTest::newRow("above the nominal") << 9.0 << kGreen;
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
        QCOMPARE(l.cellSize(), 50.0);
        QCOMPARE(l.rectOf(1), QRectF(0, 0, 50, 50));
        QCOMPARE(l.rectOf(6), QRectF(50, 50, 50, 50));
        // Rows; the cells at (175, 20), (10, 99), (175, 75) past the last, and (210, 20) outside;
        // the square widths of 10 and 9 cells.
        QCOMPARE((QList<int>{l.rows(), l.cellAt({175, 20}), l.cellAt({10, 99}), l.cellAt({175, 75}),
                             l.cellAt({210, 20}), CCellLayout::squareWidth(10),
                             CCellLayout::squareWidth(9)}),
                 (QList<int>{2, 4, 5, 0, 0, 4, 3}));
    }
    void renderedColours()
    {
        // Scale 5.00 to 8.00, four to a row, 50-pixel cells; cell 4 has no reading, cell 6 is the
        // thinnest.
        const auto cell = [](int n, double v) { return MapCell{n, v, QString::number(v, 'f', 2)}; };
        const CThicknessMap map(
            {cell(1, 8.0), cell(2, 5.0), cell(3, 6.5), cell(5, 7.0), cell(6, 4.0)},
            CThicknessScale(5.0, 8.0), 4);
        QCOMPARE(map.thinnestCell(), 6);
        const QImage image = rendered(map, QSize(200, 100));
        const auto at = [&image](int x, int y) { return QColor(image.pixel(x, y)); };
        // Near the corners of cells 1, 2, 3, 4 and 5, and the middle of 4; the thinnest cell's
        // frame (50/12 pixels) and its red inside; cell 1 coloured to its edge; the hairline
        // between cells 1 and 2 stays blank.
        QCOMPARE((QList<QColor>{at(6, 6), at(56, 6), at(106, 6), at(156, 6), at(175, 25), at(6, 56),
                                at(52, 52), at(60, 60), at(2, 2), at(49, 10)}),
                 (QList<QColor>{kGreen, kRed, kYellow, kWhite, kWhite, QColor(178, 200, 119),
                                Qt::black, kRed, kGreen, kWhite}));
        // A value is written in its cell: dark pixels in the middle of cell 1.
        int dark = 0;
        for (int i = 0; i < 40 * 20; ++i)
            dark += at(5 + i % 40, 15 + i / 40).lightness() < 60 ? 1 : 0;
        QVERIFY2(dark > 20, qPrintable(QString::number(dark)));
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
        for (int i = 0; i < 5 * 5; ++i)
            QCOMPARE(QColor(image.pixel(5 + i % 5, i / 5)), kGreen);
    }
    void mapOfAnEvaluatedGroup()
    {
        CZRData data;
        for (const MeasurementRecord &r :
             {reading(1, 1, 1000), reading(1, 2, 1200), reading(1, 3, 5920, UnitMetresPerSecond),
              reading(2, 1, 900)})
            data.append(r);
        EvaluationInput input;
        input.data = &data;
        input.limits.insert(2, GroupLimits{10.0, 8.0, 0.0});
        const CEvaluation evaluation(input);
        const CCsvWriter format;
        // Without limits the scale spans the group's own readings; the speed is not on the map.
        const CThicknessMap own = CThicknessMap::ofGroup(evaluation, 1, 3, format);
        QCOMPARE(std::pair(own.scale().low(), own.scale().high()), std::pair(10.0, 12.0));
        const QImage image = rendered(own, QSize(150, 50));
        QCOMPARE((QList<QColor>{image.pixel(5, 5), image.pixel(55, 5), image.pixel(125, 25)}),
                 (QList<QColor>{kRed, kGreen, kWhite}));
        const CThicknessMap limited = CThicknessMap::ofGroup(evaluation, 2, 0, format);
        QCOMPARE(std::pair(limited.scale().low(), limited.scale().high()), std::pair(8.0, 10.0));
    }
};

QTEST_MAIN(TestThicknessMap)
#include "tst_thicknessmap.moc"
