#include "ascan/vectordrawframe.h"
#include "data/ascanparams.h"

#include <QMenu>
#include <QPainter>
#include <QtTest>

#include <vector>

namespace
{

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kGray = QColor(Qt::gray).rgb();
const QRgb kGreen = qRgb(0, 255, 0);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kYellow = qRgb(255, 255, 0);

// Opens the drawing steps and the picture to the tests.
class Probe : public QVectorDrawFrame
{
public:
    Probe(int width, int height)
    {
        resize(width, height);
        initPicture();
        displayMode = ModePolyline;
        valueMin = 0;
        valueMax = 118;
    }
    QImage image() const { return picture.toImage().convertToFormat(QImage::Format_RGB32); }
    int lastSampleOf(int pixel) const { return columnIndex[pixel]; }
    void showVector(std::vector<signed short> samples, AScanParams *params = nullptr)
    {
        vectorChanged(samples.data(), int(samples.size()), params);
    }
};

int count(const QImage &image, QRgb colour, QRect area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

int count(const QImage &image, QRgb colour)
{
    return count(image, colour, image.rect());
}

bool rowHas(const QImage &image, int y, QRgb colour)
{
    return count(image, colour, QRect(0, y, image.width(), 1)) > 0;
}

// Where the program's polyline puts an amplitude on a picture H pixels high.
int polylineRow(int value, int valueMax, int height, bool first)
{
    const double f = double(valueMax) / height;
    return int(height - 1 - value / f + (first ? 0.0 : 0.5));
}

// The reference polyline through the given column values, drawn in the trace colour.
QImage expectedPolyline(QSize size, const std::vector<int> &values, int valueMax)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(kBlack);
    QPainter painter(&image);
    painter.setPen(QColor(Qt::green));
    int previous = polylineRow(values[0], valueMax, size.height(), true);
    for (int x = 1; x < size.width(); ++x) {
        const int y = polylineRow(values[std::size_t(x)], valueMax, size.height(), false);
        painter.drawLine(x - 1, previous, x, y);
        previous = y;
    }
    return image;
}

std::vector<signed short> constant(int n, int value)
{
    return std::vector<signed short>(std::size_t(n), static_cast<signed short>(value));
}

// A gate and a shown first marker, in samples and amplitude units.
AScanParams gateAndMarker(int gateStart, int gateEnd, int gateLevel, int markPosition,
                          int markLevel)
{
    AScanParams params;
    params.gateStart = gateStart;
    params.gateEnd = gateEnd;
    params.gateLevel = gateLevel;
    params.mark1Shown = true;
    params.mark1Position = markPosition;
    params.mark1Level = markLevel;
    return params;
}

} // namespace

class TestVectorDrawFrame : public QObject
{
    Q_OBJECT

private slots:
    void emptyPictureShowsGridOnly();
    void gridLinesOnRoundedPixels();
    void fewerSamplesThanColumns();
    void clampingAndRectifying();
    void moreSamplesThanColumnsTakePeaks();
    void gateAndMarkers();
    void narrowPictureHasNoGate();
    void otherModesStayInsideThePicture();
    void paintCopiesThePicture();
    void contextMenuEmitsSignals();
};

void TestVectorDrawFrame::emptyPictureShowsGridOnly()
{
    QVectorDrawFrame early;
    early.vectorChanged(nullptr, 0, nullptr); // before initPicture: nothing to draw into
    signed short one = 5;
    early.vectorChanged(&one, 1, nullptr);

    Probe frame(431, 281);
    QCOMPARE(count(frame.image(), kGray), 431 * 281);
    AScanParams params = gateAndMarker(50, 150, 50, 100, 30);
    frame.showVector(constant(239, 60), &params);
    QVERIFY(count(frame.image(), kGreen) > 0);
    QVERIFY(count(frame.image(), kRed) > 0);
    // A null vector or a count of 0 goes back to the empty picture: no trace, gate or markers.
    frame.vectorChanged(nullptr, 239, &params);
    QCOMPARE(count(frame.image(), kGray), 431 * 281);
    frame.showVector({}, &params);
    QCOMPARE(count(frame.image(), kGray), 431 * 281);

    frame.hLinesShown = true;
    frame.setHorizontalGrid(0, 100, 0, 25);
    frame.showVector({}, &params);
    const QImage image = frame.image();
    QVERIFY(count(image, kGray) < 431 * 281);
    QCOMPARE(count(image, kGreen) + count(image, kRed) + count(image, kYellow), 0);
}

void TestVectorDrawFrame::gridLinesOnRoundedPixels()
{
    Probe frame(431, 281);
    frame.hLinesShown = true;
    frame.setHorizontalGrid(0, 100, 0, 25); // a line every 70.25 pixels
    frame.showVector({});
    QImage image = frame.image();
    const QList<int> rows = {0, 70, 141, 211};
    for (int y = 0; y < 281; ++y)
        QVERIFY2((count(image, kGray, QRect(0, y, 431, 1)) < 431) == rows.contains(y),
                 qPrintable(QString("row %1").arg(y)));
    // Dotted white at half opacity from x = 1; the line at the offset is drawn by both passes and
    // comes out lighter.
    QCOMPARE(image.pixel(0, 70), kGray);
    QVERIFY(qGray(image.pixel(1, 70)) > qGray(kGray));
    QVERIFY(qGray(image.pixel(1, 0)) > qGray(image.pixel(1, 70)));

    frame.hLinesShown = false;
    frame.vLinesShown = true;
    frame.setVerticalGrid(0, 10, 0, 1); // every 43.1 pixels
    frame.showVector({});
    image = frame.image();
    const QList<int> columns = {0, 43, 86, 129, 172, 216, 259, 302, 345, 388};
    for (int x = 0; x < 431; ++x)
        QVERIFY2((count(image, kGray, QRect(x, 0, 1, 281)) < 281) == columns.contains(x),
                 qPrintable(QString("column %1").arg(x)));

    // A grid set on a span of 0 has no lines and does not hang.
    frame.setVerticalGrid(0, 0, 0, 1);
    frame.showVector({});
    QCOMPARE(count(frame.image(), kGray), 431 * 281);
}

void TestVectorDrawFrame::fewerSamplesThanColumns()
{
    // 239 samples rising from 0 to 118 over 431 columns: each sample covers one or two columns
    // and the last column shows sample 238.
    std::vector<signed short> samples(239);
    for (int i = 0; i < 239; ++i)
        samples[std::size_t(i)] = static_cast<signed short>(i * 118 / 238);
    Probe frame(431, 281);
    frame.showVector(samples);
    QCOMPARE(frame.lastSampleOf(430), 238);

    std::vector<int> values(431);
    const float step = float(239.0 / 431.0);
    float acc = 0.0f;
    for (int x = 0; x < 431; ++x) {
        values[std::size_t(x)] = samples[std::size_t(int(acc))];
        acc = acc + step;
    }
    const QImage image = frame.image();
    QCOMPARE(image, expectedPolyline(image.size(), values, 118));
    // The maximum reaches the top row and the first column sits on the bottom row.
    QCOMPARE(image.pixel(430, 0), kGreen);
    QCOMPARE(image.pixel(0, 280), kGreen);
}

void TestVectorDrawFrame::clampingAndRectifying()
{
    // As many samples as columns: 500 (beyond valueMax) on the left, -59 on the right.
    std::vector<signed short> samples(431, -59);
    std::fill(samples.begin(), samples.begin() + 100, 500);
    Probe frame(431, 281);
    frame.showVector(samples);
    const QImage image = frame.image();
    // Flat on the top row, then on the middle row.
    QCOMPARE(image.pixel(50, 0), kGreen);
    QCOMPARE(image.pixel(300, 140), kGreen);
    std::vector<int> values(431, 59);
    std::fill(values.begin(), values.begin() + 100, 118);
    QCOMPARE(image, expectedPolyline(image.size(), values, 118));
}

void TestVectorDrawFrame::moreSamplesThanColumnsTakePeaks()
{
    // Two samples per column: pixel x ends at sample 2x, so it owns samples 2x - 1 and 2x, and
    // pixel 0 only sample 0. The odd samples are negative peaks that only rectifying brings up.
    std::vector<signed short> samples(862, 0);
    std::vector<int> values(431);
    for (int x = 1; x < 431; ++x) {
        values[std::size_t(x)] = x % 119;
        samples[std::size_t(2 * x - 1)] = static_cast<signed short>(-(x % 119));
    }
    samples[0] = -30000; // limited to valueMax
    values[0] = 118;
    samples[861] = 100; // after the last pixel's last sample: not looked at
    // The sample index is accumulated in single precision: on 100 columns, 15 steps of 2.4f
    // reach 36.000001 (in double they would stay just below 36).
    Probe narrow(100, 50);
    narrow.showVector(constant(240, 0));
    QCOMPARE(narrow.lastSampleOf(14), 33);
    QCOMPARE(narrow.lastSampleOf(15), 36);
    QCOMPARE(narrow.lastSampleOf(99), 237);
    Probe frame(431, 281);
    frame.showVector(samples);
    QCOMPARE(frame.image(), expectedPolyline(QSize(431, 281), values, 118));
}

void TestVectorDrawFrame::gateAndMarkers()
{
    Probe frame(431, 281);
    AScanParams params = gateAndMarker(50, 150, 59, 100, 30);
    params.mark2Shown = false; // set but hidden
    params.mark2Position = 200;
    params.mark2Level = 30;
    frame.showVector(constant(239, 0), &params);
    QImage image = frame.image();

    // 239 samples on 431 columns and 118 units on 281 rows: samples 50 and 150 fall on columns
    // 90 and 271, level 59 on row 141. The gate, 2 pixels wide, has end strokes 3 pixels up and
    // down.
    const int x1 = 90;
    const int x2 = 271;
    const int y = 141;
    QVERIFY(count(image, kRed, QRect(x1, y - 1, x2 - x1 + 1, 2)) >= 2 * (x2 - x1));
    QVERIFY(count(image, kRed, QRect(x1 - 1, y - 3, 2, 7)) >= 12);
    QVERIFY(count(image, kRed, QRect(x2 - 1, y - 3, 2, 7)) >= 12);
    QCOMPARE(count(image, kRed, QRect(x1 + 3, 0, x2 - x1 - 6, y - 2)), 0);
    QCOMPARE(count(image, kRed, QRect(x1 + 3, y + 2, x2 - x1 - 6, 281 - y - 2)), 0);
    // The trace of zeros on the bottom row.
    QCOMPARE(count(image, kGreen, QRect(0, 280, 431, 1)), 431);

    // Marker 1: a downward arrowhead with its tip on (180, 71).
    const int mx = 180;
    const int my = 71;
    QCOMPARE(image.pixel(mx, my - 1), kYellow);
    QCOMPARE(image.pixel(mx - 3, my - 4), kYellow);
    QCOMPARE(image.pixel(mx + 3, my - 4), kYellow);
    QVERIFY(image.pixel(mx - 4, my - 1) != kYellow);
    QCOMPARE(count(image, kYellow, QRect(mx - 6, my - 6, 13, 8)), count(image, kYellow));
    QVERIFY(!rowHas(image, my + 1, kYellow));
    // Marker 2 is hidden.
    QCOMPARE(count(image, kYellow, QRect(340, 0, 91, 281)), 0);

    params.mark2Shown = true;
    frame.showVector(constant(239, 0), &params);
    image = frame.image();
    QCOMPARE(image.pixel(361, my - 1), kYellow);
}

void TestVectorDrawFrame::narrowPictureHasNoGate()
{
    AScanParams params = gateAndMarker(2, 8, 20, 4, 30);
    for (int width : {9, 10}) {
        Probe frame(width, 50);
        frame.showVector(constant(10, 50), &params);
        const QImage image = frame.image();
        QVERIFY(count(image, kGreen) > 0);
        QCOMPARE(count(image, kRed) > 0, width >= 10);
        QCOMPARE(count(image, kYellow) > 0, width >= 10);
    }
}

void TestVectorDrawFrame::otherModesStayInsideThePicture()
{
    // Bars in orientation 0 with valueMax 100 on 281 rows: the factor would be 0 and counts as
    // one amplitude unit per pixel.
    Probe bars(431, 281);
    bars.displayMode = QVectorDrawFrame::ModeBars;
    bars.valueMax = 100;
    bars.showVector(constant(431, -50));
    QImage image = bars.image();
    for (int x = 0; x < 431; x += 43) {
        QCOMPARE(count(image, kGreen, QRect(x, 0, 1, 281)), 51);
        QCOMPARE(image.pixel(x, 230), kGreen);
    }

    // Envelope in orientation 0: factor 2, so +/-100 reach 50 rows above and below the middle.
    Probe envelope(431, 281);
    envelope.displayMode = QVectorDrawFrame::ModeEnvelope;
    envelope.valueMin = -300;
    envelope.valueMax = 300;
    std::vector<signed short> samples(862);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<signed short>(i % 2 ? 100 : -100);
    envelope.showVector(samples);
    image = envelope.image();
    QCOMPARE(image.pixel(200, 140 - 50), kGreen);
    QCOMPARE(image.pixel(200, 140 + 50), kGreen);
    QVERIFY(!rowHas(image, 140 - 51, kGreen));
    QVERIFY(!rowHas(image, 140 + 51, kGreen));

    // Every mode in both orientations, with small and large amplitude ranges and vectors
    // shorter, equal to and longer than the picture, stays crash-free.
    for (int mode = 0; mode < 4; ++mode)
        for (int orientation = 0; orientation < 3; ++orientation)
            for (int valueMax : {0, 50, 5000})
                for (int n : {1, 200, 281, 431, 2000}) {
                    Probe frame(431, 281);
                    frame.orientation = orientation;
                    frame.initPicture();
                    frame.displayMode = mode;
                    frame.valueMin = -valueMax;
                    frame.valueMax = valueMax;
                    AScanParams params;
                    params.gateEnd = n;
                    frame.showVector(constant(n, -7000), &params);
                    frame.orientation = 1 - orientation; // arrays now shorter than the other side
                    frame.showVector(constant(n, 7000), &params);
                }
}

void TestVectorDrawFrame::paintCopiesThePicture()
{
    Probe frame(120, 80);
    frame.setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    frame.showVector(constant(60, 40));
    const QImage painted = frame.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(painted, frame.image()); // the border lies under the picture
}

void TestVectorDrawFrame::contextMenuEmitsSignals()
{
    Probe frame(100, 60);
    QSignalSpy save(&frame, &QVectorDrawFrame::saveAScan);
    QSignalSpy clip(&frame, &QVectorDrawFrame::ascanToClipboard);
    for (int choice = 0; choice < 2; ++choice) {
        QStringList texts;
        QTimer::singleShot(0, [&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(menu != nullptr);
            QCOMPARE(menu->parentWidget(), &frame);
            for (QAction *action : menu->actions())
                texts << action->text();
            menu->actions().at(choice)->trigger();
            menu->close();
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                frame.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&frame, &event);
        QCOMPARE(texts, QStringList({"Save picture", "To clipboard"}));
        QCOMPARE(frame.findChildren<QMenu *>().size(), 0); // the menu lives only while it runs
    }
    QCOMPARE(save.count(), 1);
    QCOMPARE(clip.count(), 1);
}

QTEST_MAIN(TestVectorDrawFrame)
#include "tst_vectordrawframe.moc"
