// SPDX-License-Identifier: GPL-3.0-or-later
#include "ascan/vectordrawframe.h"
#include "format/ascanparams.h"

#include <QtTest>

namespace
{

// A frame with its picture made, opened to the test.
struct Frame : QVectorDrawFrame {
    Frame(int width, int height, int mode, int low, int high)
    {
        resize(width, height);
        initPicture();
        displayMode = mode;
        valueMin = low;
        valueMax = high;
    }
    QImage image() const { return picture.toImage().convertToFormat(QImage::Format_RGB32); }
};

} // namespace

class TestVectorDrawFrame : public QObject
{
    Q_OBJECT

private slots:
    // Pictures of 5 x 11 pixels; which pixels the trace covers, and which it leaves.
    void trace_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QList<int>>("range"); // valueMin, valueMax
        QTest::addColumn<QList<short>>("samples");
        QTest::addColumn<QList<QPoint>>("drawn");
        QTest::addColumn<QList<QPoint>>("clear");
        // Fewer samples than columns: they cover columns 0-1, 2-3 and 4. 10 units a row, up from
        // row 10: 54 lands on row 5, rounded, except in column 0, which is cut to row 4. 500 is
        // limited to the top row, and -30 counts as 30.
        QTest::newRow("polyline") << int(QVectorDrawFrame::ModePolyline) << QList<int>{0, 110}
                                  << QList<short>{54, 500, -30}
                                  << QList<QPoint>{{0, 4}, {1, 5}, {2, 0}, {3, 0}, {4, 7}}
                                  << QList<QPoint>{{0, 5}, {4, 8}};
        // Two samples a column, 20 units a row around row 5: each column spans from its minimum
        // (-40, row 7) to its maximum (60, row 2).
        QTest::newRow("envelope") << int(QVectorDrawFrame::ModeEnvelope) << QList<int>{-110, 110}
                                  << QList<short>{-40, 60, -40, 60, -40, 60, -40, 60, -40, 60}
                                  << QList<QPoint>{{2, 2}, {2, 7}} << QList<QPoint>{{2, 1}, {2, 8}};
        // A range smaller than the picture: one unit a row. Bars from row 10 up to each column's
        // peak, -3; column 0 holds only the first sample.
        QTest::newRow("bars") << int(QVectorDrawFrame::ModeBars) << QList<int>{0, 5}
                              << QList<short>{0, -3, 0, -3, 0, -3, 0, -3, 0, -3}
                              << QList<QPoint>{{2, 7}, {2, 10}} << QList<QPoint>{{2, 6}, {0, 9}};
    }
    void trace()
    {
        QFETCH(int, mode);
        QFETCH(QList<int>, range);
        QFETCH(QList<short>, samples);
        QFETCH(QList<QPoint>, drawn);
        QFETCH(QList<QPoint>, clear);
        Frame frame(5, 11, mode, range[0], range[1]);
        frame.vectorChanged(samples.data(), int(samples.size()), nullptr);
        for (const QPoint p : drawn + clear)
            QCOMPARE(qMakePair(p, frame.image().pixel(p) == qRgb(0, 255, 0)),
                     qMakePair(p, drawn.contains(p)));
    }
    void gridGateAndMarkers()
    {
        // 2 samples a column and 10 units a row, gate and marker levels counted down from the top.
        // Gate from sample 9 to 30 at level 164, marker 1 at sample 20, level 100; marker 2 hidden.
        Frame frame(20, 21, QVectorDrawFrame::ModePolyline, 0, 210);
        AScanParams params{0, 0, true, 100, 20, false, 100, 34, 9, 30, 164};
        frame.hLinesShown = frame.vLinesShown = true;
        frame.setHorizontalGrid(0, 100, 0, 25);
        frame.setVerticalGrid(0, 10, 0, 2.5);
        QList<short> samples(40, 0);
        frame.vectorChanged(samples.data(), 40, &params);
        const QImage image = frame.image();
        // Dotted lines from pixel 1 on: every 25 % of 21 rows, 5.25 pixels apart and rounded half
        // away from zero; every 2.5 mm of 10 mm on 20 columns.
        for (int i = 0; i < 20; ++i) {
            QCOMPARE(qMakePair(i, image.pixel(1, i) != qRgb(0, 0, 0)),
                     qMakePair(i, QList<int>({0, 5, 11, 16}).contains(i)));
            QCOMPARE(qMakePair(image.pixel(i, 1) != qRgb(0, 0, 0), i), qMakePair(i % 5 == 0, i));
        }
        // The gate from column 5 to 15 on row 16, with strokes at both ends; marker 1 a downward
        // arrowhead with its tip on column 10, row 10.
        const QRgb red = qRgb(255, 0, 0), yellow = qRgb(255, 255, 0);
        QVERIFY(image.pixel(10, 16) == red && image.pixel(5, 19) == red &&
                image.pixel(15, 19) == red);
        QVERIFY(image.pixel(10, 19) != red && image.pixel(10, 9) == yellow);
        QVERIFY(image.pixel(10, 11) != yellow && image.pixel(17, 9) != yellow);
        // The widget shows the picture.
        QCOMPARE(frame.grab().toImage().convertToFormat(QImage::Format_RGB32), image);
        // No vector: the empty picture, without the trace, gate and marker.
        frame.vectorChanged(nullptr, 40, &params);
        QVERIFY(frame.image().pixel(2, 20) == QColor(Qt::gray).rgb() &&
                frame.image().pixel(10, 16) != red);
    }
    // In the context menu's order: save the picture, copy it to the clipboard.
    void actionsEmitTheirSignals()
    {
        Frame frame(20, 21, QVectorDrawFrame::ModePolyline, 0, 118);
        QSignalSpy save(&frame, &QVectorDrawFrame::saveAScan);
        QSignalSpy copy(&frame, &QVectorDrawFrame::ascanToClipboard);
        frame.findChildren<QAction *>().at(0)->trigger();
        QVERIFY(save.count() == 1 && copy.count() == 0);
        frame.findChildren<QAction *>().at(1)->trigger();
        QVERIFY(save.count() == 1 && copy.count() == 1);
    }
};

QTEST_MAIN(TestVectorDrawFrame)
#include "tst_vectordrawframe.moc"
