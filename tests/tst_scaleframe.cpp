// SPDX-License-Identifier: GPL-3.0-or-later
#include "ascan/scaleframe.h"

#include <QPainter>
#include <QtTest>

namespace
{

// A left scale growing upwards (as the amplitude scale) or a bottom scale growing rightwards,
// drawn on white through the frame's own resize and paint events.
QImage render(int position, const QList<double> &range, const QString &unit)
{
    const bool left = position == QAbstractScale::ScaleLeft;
    QScaleFrame frame;
    frame.resize(left ? QSize(30, 281) : QSize(400, 30));
    frame.position = position;
    frame.direction = left ? -1 : 1;
    frame.setRange(range[0], range[1]);
    frame.setTicks(range[2], range[3], range[4], unit);
    QImage image(frame.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    frame.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// How the labels should look: each text at its baseline in the scale's font.
QImage texts(QSize size, const QList<QPair<QPointF, QString>> &labels)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(QAbstractScale().font);
    for (const auto &label : labels)
        painter.drawText(label.first, label.second);
    return image;
}

} // namespace

class TestScaleFrame : public QObject
{
    Q_OBJECT

private slots:
    void ticks_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QList<double>>("range"); // minimum, span, anchor, major step, minor step
        QTest::addColumn<QList<int>>("majors");
        QTest::addColumn<QList<int>>("minors"); // besides the majors
        const int left = QAbstractScale::ScaleLeft, bottom = QAbstractScale::ScaleBottom;
        // 2.81 pixels per %, up from row 280: 209.75 and 139.5 round to 210 and 140, and 100 %
        // falls one row above the frame.
        QTest::newRow("upwards") << left << QList<double>{0, 100, 0, 25, 12.5}
                                 << QList<int>{280, 210, 140, 69} << QList<int>{245, 175, 104, 34};
        // Only ticks on anchor + k * step inside the range, reached downwards from the anchor.
        QTest::newRow("anchor above")
            << bottom << QList<double>{100, 400, 587, 100, 50} << QList<int>{87, 187, 287, 387}
            << QList<int>{37, 137, 237, 337};
        // Ten steps of 0.1 add up to 0.9999999999999999, just below the start: the first tick of a
        // range in inches must still be drawn.
        QTest::newRow("first tick of accumulated steps")
            << bottom << QList<double>{1, 0.5, 0, 0.1, 0.05} << QList<int>{0, 80, 160, 240, 320}
            << QList<int>{40, 120, 200, 280, 360};
        // Nothing at all, rather than steps without end: no step, or no span (a result whose range
        // ends where it starts).
        const QList<int> none;
        QTest::newRow("no step") << bottom << QList<double>{0, 10, 0, 1, 0} << none << none;
        QTest::newRow("no span") << bottom << QList<double>{0, 0, 0, 1, 0.5} << none << none;
    }
    void ticks()
    {
        QFETCH(int, position);
        QFETCH(QList<double>, range);
        QFETCH(QList<int>, majors);
        QFETCH(QList<int>, minors);
        const QImage image = render(position, range, "");
        const bool left = position == QAbstractScale::ScaleLeft;
        // Ticks grow away from the plot, from the right or top edge: majors 5 pixels long,
        // minors 3. Of the pixels 0, 2, 3 and 4 away from the edge, a major tick inks 4, a minor
        // one 2.
        const auto ink = [&](int along, int across) {
            return qGray(image.pixel(left ? QPoint(29 - across, along) : QPoint(along, across))) <
                   128;
        };
        for (int p = 0; p < (left ? 281 : 400); ++p)
            QCOMPARE(qMakePair(p, ink(p, 0) + ink(p, 2) + ink(p, 3) + ink(p, 4)),
                     qMakePair(p, 4 * majors.contains(p) + 2 * minors.contains(p)));
    }
    void labels()
    {
        QImage image = render(QAbstractScale::ScaleBottom, {0, 0.4, 0, 0.13, 0.065}, "");
        const QFontMetrics m(QAbstractScale().font, &image);
        const int h6 = int(0.6 * m.height()); // a digit's height
        // Started at (k = 0), centred on (1) or ended at (2) tick p; the baseline a digit's height
        // below the ticks and a 2-pixel gap.
        const auto at = [&](const QString &text, int p, int k) {
            return qMakePair(QPointF(p - k * (m.horizontalAdvance(text) / 2), h6 + 7), text);
        };
        // Centred on their ticks unless that crosses the left edge, or 6 pixels before the right
        // one. Sums of 0.13 are labelled to six digits.
        QImage expected = texts(image.size(), {at("0", 0, 0), at("0.13", 130, 1),
                                               at("0.26", 260, 1), at("0.39", 390, 2)});
        // Below the ticks.
        QCOMPARE(image.copy(0, 5, 400, 25), expected.copy(0, 5, 400, 25));

        // Beside their ticks, ending 2 pixels before them, the baseline half a digit below the
        // tick: "0" on the bottom row would hang below the frame and is lifted by half a digit. The
        // unit sits at the top, where the values grow.
        image = render(QAbstractScale::ScaleLeft, {0, 100, 0, 25, 12.5}, "%");
        const auto beside = [&](const QString &text, int y) {
            return qMakePair(QPointF(25 - m.horizontalAdvance(text), y + h6 / 2), text);
        };
        expected = texts(image.size(), {beside("0", 280 - h6 / 2),
                                        beside("25", 210),
                                        beside("50", 140),
                                        beside("75", 69),
                                        {QPointF(23 - m.horizontalAdvance("%"), h6 + 3), "%"}});
        // Left of the ticks.
        QCOMPARE(image.copy(0, 0, 25, 281), expected.copy(0, 0, 25, 281));
    }
    // The finest step with at most seven labels; mm steps go down to 0.01, inch steps to 0.1.
    void depthStep()
    {
        const QList<std::tuple<double, bool, double>> cases = {
            {0.15, true, 0.05}, {0.07, true, 0.01}, {100, true, 25},   {0.5, false, 0.1},
            {0.8, false, 0.5},  {4.9, false, 1},    {1000, false, 100}};
        for (const auto &[span, mm, step] : cases)
            QCOMPARE(QScaleFrame::depthStep(span, mm), step);
    }
};

QTEST_MAIN(TestScaleFrame)
#include "tst_scaleframe.moc"
