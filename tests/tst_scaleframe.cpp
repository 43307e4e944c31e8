#include "ascan/scaleframe.h"

#include <QPainter>
#include <QtTest>

#include <cmath>
#include <limits>

namespace
{

constexpr int kTickRows = 5; // a bottom scale's major ticks occupy rows 0 .. 4

bool ink(const QImage &image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

bool blank(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                return false;
    return true;
}

QImage whiteImage(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The frame as painted, without the window background.
QImage renderFrame(QScaleFrame &frame)
{
    QImage image = whiteImage(frame.size());
    frame.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// The scale drawn straight onto an image through its own draw().
QImage drawScale(QScaleFrame &frame)
{
    QImage image = whiteImage(frame.size());
    QPainter painter(&image);
    frame.draw(&painter);
    return image;
}

struct Label {
    QPointF at;
    QString text;
};

// What the labels should look like: the texts drawn at the given baselines in the scale's font.
QImage expectedText(QScaleFrame &frame, const QList<Label> &labels)
{
    QImage image = whiteImage(frame.size());
    QPainter painter(&image);
    painter.setFont(frame.QAbstractScale::font);
    for (const Label &label : labels)
        painter.drawText(label.at, label.text);
    return image;
}

// The rows under a bottom scale's ticks: drawn, and as the labels should look.
QImage labelRows(const QImage &image)
{
    return image.copy(0, kTickRows, image.width(), image.height() - kTickRows);
}

QImage labelRows(QScaleFrame &frame, const QList<Label> &labels)
{
    return labelRows(expectedText(frame, labels));
}

QFontMetrics metricsOn(QScaleFrame &frame, const QImage &device)
{
    return QFontMetrics(frame.QAbstractScale::font, &device);
}

void makeBottomScale(QScaleFrame &frame, int width, double minValue, double span, double anchor,
                     double major, double minor, const QString &unit)
{
    frame.resize(width, 30);
    frame.drawRect = frame.rect();
    frame.position = QAbstractScale::ScaleBottom;
    frame.direction = 1;
    frame.setRange(minValue, span);
    frame.setTicks(anchor, major, minor, unit);
}

// Label baseline of a bottom scale with the default gap and tick length.
int bottomLabelY(const QFontMetrics &metrics)
{
    return int(0.6 * metrics.height() + (2 + 4 + 1));
}

// A label centred on pixel p of a bottom scale.
Label centred(const QFontMetrics &metrics, const QString &text, int p)
{
    return Label{QPointF(p - metrics.horizontalAdvance(text) / 2, bottomLabelY(metrics)), text};
}

// 0 .. 100 % upwards on 281 rows, ticks every 25 and 12.5.
void makeLeftScale(QScaleFrame &frame)
{
    frame.resize(30, 281);
    frame.drawRect = frame.rect();
    frame.position = QAbstractScale::ScaleLeft;
    frame.direction = -1;
    frame.setRange(0.0, 100.0);
    frame.setTicks(0.0, 25.0, 12.5, "%");
}

} // namespace

class TestScaleFrame : public QObject
{
    Q_OBJECT

private slots:
    void drawAreaAndCasts();
    void pixelRounding();
    void badSettingsDrawNothing();
    void verticalTicksAndLabels();
    void horizontalTicksAndLabelPlacement();
    void labelsOfAccumulatedValues();
    void anchorOutsideRange();
    void firstTickOfAccumulatedSteps_data();
    void firstTickOfAccumulatedSteps();
};

void TestScaleFrame::drawAreaAndCasts()
{
    QWidget parent;
    QScaleFrame frame(&parent);
    QCOMPARE(frame.drawRect, frame.rect());
    frame.resize(57, 33);
    QCoreApplication::sendPostedEvents();
    renderFrame(frame); // delivers the pending resize of a hidden widget
    QCOMPARE(frame.drawRect, QRect(0, 0, 57, 33));

    QObject *object = &frame;
    QCOMPARE(qobject_cast<QScaleFrame *>(object), &frame);
    QVERIFY(object->inherits("QAbstractScale"));
    QAbstractScale *scalePart = &frame;
    QCOMPARE(object->qt_metacast("QAbstractScale"), static_cast<void *>(scalePart));
    QVERIFY(static_cast<void *>(scalePart) != static_cast<void *>(object));
    QFrame plain;
    QVERIFY(qobject_cast<QScaleFrame *>(&plain) == nullptr);
    QVERIFY(!plain.inherits("QAbstractScale"));
}

void TestScaleFrame::pixelRounding()
{
    QAbstractScale scale;
    QCOMPARE(scale.valueToPixel(2.5, 0, 1.0), 3);
    QCOMPARE(scale.valueToPixel(-2.5, 0, 1.0), -3);
    QCOMPARE(scale.valueToPixel(2.49, 0, 1.0), 2);
    QCOMPARE(scale.valueToPixel(-2.49, 0, 1.0), -2);
    scale.setRange(10.0, 100.0);
    QCOMPARE(scale.valueToPixel(110.0, 280, -2.81), -1); // one beyond the top edge
    QCOMPARE(scale.valueToPixel(10.0, 280, -2.81), 280);
    QCOMPARE(scale.pixelToValue(140.0, 280, -2.8), 60.0);
    QCOMPARE(scale.pixelToValue(140.0, 280, 0.0), 0.0);
}

void TestScaleFrame::badSettingsDrawNothing()
{
    struct Case {
        double span, major, minor;
        int width, direction;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {{0.0, 1.0, 0.5, 200, 1},   {-5.0, 1.0, 0.5, 200, 1},
                          {nan, 1.0, 0.5, 200, 1},   {10.0, 0.0, 0.5, 200, 1},
                          {10.0, 1.0, 0.0, 200, 1},  {10.0, -1.0, 0.5, 200, 1},
                          {10.0, 1.0, -0.5, 200, 1}, {10.0, 1.0, 0.5, 200, 0}};
    for (int position = 0; position < 4; ++position) {
        for (const Case &c : cases) {
            QScaleFrame frame;
            makeBottomScale(frame, c.width, 0.0, c.span, 0.0, c.major, c.minor, "mm");
            frame.position = position;
            frame.direction = c.direction;
            QVERIFY2(blank(renderFrame(frame)),
                     qPrintable(QString("position %1 span %2 steps %3 %4")
                                    .arg(position)
                                    .arg(c.span)
                                    .arg(c.major)
                                    .arg(c.minor)));
        }
        // The same frame with good settings does draw, so the blank results mean something.
        QScaleFrame frame;
        makeBottomScale(frame, 200, 0.0, 10.0, 0.0, 1.0, 0.5, "mm");
        frame.position = position;
        QVERIFY(!blank(renderFrame(frame)));
    }
}

void TestScaleFrame::verticalTicksAndLabels()
{
    QScaleFrame frame;
    makeLeftScale(frame);
    const QImage image = drawScale(frame);
    const QList<int> major = {280, 210, 140, 69};
    const QList<int> minor = {245, 175, 104, 34};
    // Ticks grow leftwards from the right edge (29): majors 4 pixels long (29 .. 25), minors 2
    // (29 .. 27).
    for (int y = 0; y < 281; ++y) {
        const bool isMajor = major.contains(y);
        const bool isTick = isMajor || minor.contains(y);
        QVERIFY2(ink(image, 29, y) == isTick, qPrintable(QString("row %1").arg(y)));
        QVERIFY2(ink(image, 27, y) == isTick, qPrintable(QString("row %1").arg(y)));
        QVERIFY2(ink(image, 26, y) == isMajor, qPrintable(QString("row %1").arg(y)));
        QVERIFY2(ink(image, 25, y) == isMajor, qPrintable(QString("row %1").arg(y)));
    }

    const QFontMetrics m = metricsOn(frame, image);
    const int h6 = int(0.6 * m.height());
    const int d = int(m.height() * 0.6 * 0.5); // labels beside their ticks
    // Labels end 2 pixels left of the major ticks' ends; the unit sits at the top, since values
    // grow upwards.
    auto at = [&](const QString &text, int y) {
        return Label{QPointF(29 - 4 - m.horizontalAdvance(text), y), text};
    };
    // "0" on the bottom row would hang below the frame, so it is lifted by half a digit; "100",
    // on the row above the frame, cannot be shown under the unit and is left out.
    const QList<Label> labels = {at("0", 280 - h6 / 2 + d),
                                 at("25", 210 + d),
                                 at("50", 140 + d),
                                 at("75", 69 + d),
                                 {QPointF(29 - 4 - m.horizontalAdvance("%") - 2, h6 + 3), "%"}};
    // Columns left of the ticks hold only text.
    const QImage textPart = image.copy(0, 0, 25, 281);
    QCOMPARE(textPart, expectedText(frame, labels).copy(0, 0, 25, 281));
}

void TestScaleFrame::horizontalTicksAndLabelPlacement()
{
    QScaleFrame frame;
    makeBottomScale(frame, 400, 0.0, 400.0, 0.0, 100.0, 50.0, "mm");
    QImage image = drawScale(frame);
    const QFontMetrics m = metricsOn(frame, image);
    const int y = bottomLabelY(m);
    const int unitWidth = m.horizontalAdvance("mm");
    const int hi = 399 - unitWidth - 6;
    for (int x = 0; x < 400; ++x) {
        const bool isMajor = x % 100 == 0;
        QVERIFY2(ink(image, x, 0) == (x % 50 == 0), qPrintable(QString("column %1").arg(x)));
        QVERIFY2(ink(image, x, 2) == (x % 50 == 0), qPrintable(QString("column %1").arg(x)));
        QVERIFY2(ink(image, x, 4) == isMajor, qPrintable(QString("column %1").arg(x)));
    }
    // The label of the range start starts at its tick, the inner ones are centred; 400 lies
    // one pixel beyond the right edge and has no label.
    const Label unit{QPointF(399 - unitWidth - 3, y), "mm"};
    QList<Label> labels = {{QPointF(0, y), "0"},
                           centred(m, "100", 100),
                           centred(m, "200", 200),
                           centred(m, "300", 300),
                           unit};
    QCOMPARE(labelRows(image), labelRows(frame, labels));

    // Anchored so that a tick falls one pixel left of the label limit: that label ends at its
    // tick.
    const int last = hi - 1;
    frame.setTicks(last, 100.0, 50.0, "mm");
    image = drawScale(frame);
    const QString lastText = QString::number(last);
    labels = {{QPointF(last - 2 * (m.horizontalAdvance(lastText) / 2), y), lastText}, unit};
    for (int p = last - 100; p > 0; p -= 100)
        labels << centred(m, QString::number(p), p);
    QVERIFY(last - 300 - m.horizontalAdvance("99") / 2 >= 0); // really centred, not started
    QCOMPARE(labelRows(image), labelRows(frame, labels));

    // Unit on the left: labels start at the limit right of the unit, so the tick of 0 gets none.
    frame.setTicks(0.0, 100.0, 50.0, "mm");
    frame.setTextLayout(1, 0);
    image = drawScale(frame);
    labels = {centred(m, "100", 100),
              centred(m, "200", 200),
              centred(m, "300", 300),
              {QPointF(3, y), "mm"}};
    QCOMPARE(labelRows(image), labelRows(frame, labels));
}

void TestScaleFrame::labelsOfAccumulatedValues()
{
    // 0.1 added three times is 0.30000000000000004, labelled 0.3 at pixel 300.
    QScaleFrame frame;
    makeBottomScale(frame, 400, 0.0, 0.4, 0.0, 0.1, 0.05, "");
    QImage image = drawScale(frame);
    const QFontMetrics m = metricsOn(frame, image);
    const QPointF start(0, bottomLabelY(m));
    QList<Label> labels = {
        {start, "0"}, centred(m, "0.1", 100), centred(m, "0.2", 200), centred(m, "0.3", 300)};
    QCOMPARE(labelRows(image), labelRows(frame, labels));

    // Small values keep six significant digits in exponent form.
    makeBottomScale(frame, 400, 0.0, 4e-5, 0.0, 1e-5, 5e-6, "");
    image = drawScale(frame);
    labels = {
        {start, "0"}, centred(m, "1e-05", 100), centred(m, "2e-05", 200), centred(m, "3e-05", 300)};
    QCOMPARE(labelRows(image), labelRows(frame, labels));
}

void TestScaleFrame::anchorOutsideRange()
{
    // Ticks stay on anchor + k * step, and only those inside the range are drawn.
    for (double anchor : {-13.0, 487.0}) {
        QScaleFrame frame;
        makeBottomScale(frame, 400, 100.0, 400.0, anchor, 50.0, 25.0, "");
        const QImage image = drawScale(frame);
        for (int x = 0; x < 400; ++x) {
            const int value = x + 100;
            const bool minorTick = (value + 13) % 25 == 0;
            QVERIFY2(ink(image, x, 1) == minorTick, qPrintable(QString("column %1").arg(x)));
            QVERIFY2(ink(image, x, 4) == (minorTick && (value + 13) % 50 == 0),
                     qPrintable(QString("column %1").arg(x)));
        }
    }
}

void TestScaleFrame::firstTickOfAccumulatedSteps_data()
{
    QTest::addColumn<double>("minValue");
    QTest::addColumn<double>("span");
    QTest::addColumn<double>("step");
    // Ten steps of 0.1 add up to 0.9999999999999999, just below the start.
    QTest::newRow("inches 1.00-1.50") << 1.0 << 0.5 << 0.1;
    QTest::newRow("mm 0.35-0.50") << 0.35 << 0.15 << 0.05;
}

void TestScaleFrame::firstTickOfAccumulatedSteps()
{
    QFETCH(double, minValue);
    QFETCH(double, span);
    QFETCH(double, step);
    QScaleFrame frame;
    makeBottomScale(frame, 400, minValue, span, 0.0, step, step / 2, "");
    const QImage image = drawScale(frame);
    QVERIFY(ink(image, 0, 4));
    const QFontMetrics m = metricsOn(frame, image);
    QCOMPARE(labelRows(image).copy(0, 0, 20, image.height() - kTickRows),
             labelRows(frame, {{QPointF(0, bottomLabelY(m)), QString::number(minValue)}})
                 .copy(0, 0, 20, image.height() - kTickRows));
}

QTEST_MAIN(TestScaleFrame)
#include "tst_scaleframe.moc"
