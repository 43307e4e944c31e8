// SPDX-License-Identifier: GPL-3.0-or-later
#include "ascan/vectordrawframe.h"

#include "ascan/pixelmath.h"
#include "format/ascanparams.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace
{

// Visits the grid lines at offset + k * step (accumulated step by step, rounded to whole pixels)
// that lie in 0 .. limit - 1: first upwards, then downwards. Both passes visit the line at the
// offset, so it is drawn twice. A step that is not positive or an offset that is not finite (a
// grid set on a span of 0) gives no lines.
template <typename Line> void walkGrid(double offset, double step, int limit, Line line)
{
    if (!(step > 0.0) || !std::isfinite(offset))
        return;
    for (double a = offset, y = std::trunc(a); y < limit; a += step, y = roundHalfAway(a))
        if (y >= 0.0)
            line(int(y));
    for (double a = offset, y = std::trunc(a); y >= 0.0; a -= step, y = roundHalfAway(a))
        if (y < limit)
            line(int(y));
}

} // namespace

QVectorDrawFrame::QVectorDrawFrame(QWidget *parent) : QFrame(parent)
{
    createActions();
}

QVectorDrawFrame::~QVectorDrawFrame() = default;

void QVectorDrawFrame::createActions()
{
    savePictureAction = new QAction(tr("Save picture"), this);
    copyPictureAction = new QAction(tr("To clipboard"), this);
    connect(savePictureAction, &QAction::triggered, this, &QVectorDrawFrame::saveAScan);
    connect(copyPictureAction, &QAction::triggered, this, &QVectorDrawFrame::ascanToClipboard);
}

void QVectorDrawFrame::initPicture()
{
    picture = QPixmap(width(), height());
    picture.fill(empty ? emptyColor : backgroundColor);
    pixelCount = orientation == 0 ? picture.width() : picture.height();
    columnMax = std::make_unique<int[]>(pixelCount);
    columnMin = std::make_unique<int[]>(pixelCount);
    columnIndex = std::make_unique<int[]>(pixelCount);
}

void QVectorDrawFrame::setHorizontalGrid(double minValue, double span, double anchor, double step)
{
    const double valuesPerPixel = span / picture.height();
    hLineOffset = (anchor - minValue) / valuesPerPixel;
    hLineStep = step / valuesPerPixel;
}

void QVectorDrawFrame::setVerticalGrid(double minValue, double span, double anchor, double step)
{
    const double valuesPerPixel = span / picture.width();
    vLineOffset = (anchor - minValue) / valuesPerPixel;
    vLineStep = step / valuesPerPixel;
}

// Before initPicture() there is no picture to draw into, and the call does nothing.
void QVectorDrawFrame::vectorChanged(signed short *pVector, int iVectorSize, void *pParams)
{
    if (picture.isNull())
        return;
    empty = pVector == nullptr || iVectorSize <= 0;
    if (!empty) {
        samples = pVector;
        sampleCount = iVectorSize;
        buildColumnIndex(iVectorSize);
    }
    renderPicture();
    if (!empty)
        drawGateAndMarkers(static_cast<const AScanParams *>(pParams));
    update();
}

void QVectorDrawFrame::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture);
}

void QVectorDrawFrame::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    menu.addAction(savePictureAction);
    menu.addAction(copyPictureAction);
    menu.exec(event->globalPos());
}

// Pixel i ends at sample truncate(i * count / E), accumulated in single precision.
void QVectorDrawFrame::buildColumnIndex(int count)
{
    if (!columnIndex)
        return;
    const int extent = std::min(orientation == 0 ? picture.width() : picture.height(), pixelCount);
    if (extent <= 0)
        return;
    const float step = float(double(count) / extent);
    float acc = 0.0f;
    for (int i = 0; i < extent; ++i) {
        columnIndex[i] = int(acc);
        acc = acc + step;
    }
}

// Rounding in the accumulated index, or entries left from a longer vector, must not reach past
// the samples.
int QVectorDrawFrame::lastSampleOf(int pixel) const
{
    return std::min(columnIndex[pixel], sampleCount - 1);
}

// Calls visit(pixel, first, last) with the samples each pixel owns: those after the previous
// pixel's last sample up to its own. first > last when a pixel owns none.
template <typename Visit> void QVectorDrawFrame::forEachColumnRun(Visit visit) const
{
    int next = 0;
    for (int i = 0; i < pixelCount; ++i) {
        const int last = lastSampleOf(i);
        visit(i, next, last);
        next = std::max(next, last + 1);
    }
}

void QVectorDrawFrame::reduceSamples()
{
    if (displayMode == ModeEnvelope)
        reduceEnvelope();
    else
        reduceRectified();
}

void QVectorDrawFrame::reduceEnvelope()
{
    if (sampleCount > pixelCount) {
        forEachColumnRun([this](int i, int first, int last) {
            int high = valueMin;
            int low = valueMax;
            for (int j = first; j <= last; ++j) {
                high = std::max(high, int(samples[j]));
                low = std::min(low, int(samples[j]));
            }
            columnMax[i] = std::min(high, valueMax);
            columnMin[i] = std::max(low, valueMin);
        });
    } else if (sampleCount == pixelCount) {
        for (int i = 0; i < pixelCount; ++i)
            columnMax[i] = columnMin[i] = samples[i];
    } else {
        // Fewer samples than pixels: each column spans from the previous value to its own.
        int previous = int((qint64(valueMax) + valueMin) / 2);
        for (int i = 0; i < pixelCount; ++i) {
            columnMax[i] = samples[lastSampleOf(i)];
            columnMin[i] = previous;
            previous = columnMax[i];
        }
    }
}

void QVectorDrawFrame::reduceRectified()
{
    if (sampleCount > pixelCount) {
        forEachColumnRun([this](int i, int first, int last) {
            int peak = valueMin;
            for (int j = first; j <= last; ++j)
                peak = std::max(peak, std::abs(int(samples[j])));
            columnMax[i] = std::min(peak, valueMax);
        });
    } else {
        for (int i = 0; i < pixelCount; ++i)
            columnMax[i] = std::abs(int(samples[sampleCount == pixelCount ? i : lastSampleOf(i)]));
    }
}

void QVectorDrawFrame::renderPicture()
{
    picture.fill(empty ? emptyColor : backgroundColor);
    if (!empty) {
        reduceSamples();
        drawTrace();
    }
    drawGrid();
}

// A mode outside 0 .. 2 or an orientation outside 0 .. 1 draws no trace.
void QVectorDrawFrame::drawTrace()
{
    if (orientation != 0 && orientation != 1)
        return;
    const bool alongX = orientation == 0;
    QPainter painter(&picture);
    painter.setPen(traceColor);
    switch (displayMode) {
    case ModeEnvelope:
        alongX ? drawEnvelopeAlongX(painter) : drawEnvelopeAlongY(painter);
        break;
    case ModeBars:
        alongX ? drawBarsAlongX(painter) : drawBarsAlongY(painter);
        break;
    case ModePolyline:
        alongX ? drawPolylineAlongX(painter) : drawPolylineAlongY(painter);
        break;
    }
}

// |columnMax| limited to valueMin .. valueMax.
int QVectorDrawFrame::clampedValue(int pixel) const
{
    return std::max(valueMin, std::min(valueMax, std::abs(columnMax[pixel])));
}

// The per-pixel arrays may be shorter than the picture's other side after a change of
// orientation.
int QVectorDrawFrame::traceLength(int extent) const
{
    return std::min(extent, pixelCount);
}

// Amplitude units per pixel, as a whole number.
int QVectorDrawFrame::amplitudeFactor(int extent) const
{
    return int((qint64(valueMax) - valueMin) / extent);
}

// The envelope and bar members scale by a whole factor; an amplitude range smaller than the
// picture (factor 0) is drawn at one amplitude unit per pixel and clipped by the picture.
void QVectorDrawFrame::drawEnvelopeAlongX(QPainter &painter)
{
    const int k = std::max(1, amplitudeFactor(picture.height()));
    const int mid = picture.height() / 2;
    int previousMid = 0;
    for (int x = 0; x < traceLength(picture.width()); ++x) {
        const int yMax = mid - columnMax[x] / k;
        const int yMin = mid - columnMin[x] / k;
        const int yMid = (yMin + yMax) / 2;
        painter.drawLine(x, yMin, x, yMax);
        if (x > 0)
            painter.drawLine(x - 1, previousMid, x, yMid);
        previousMid = yMid;
    }
}

void QVectorDrawFrame::drawEnvelopeAlongY(QPainter &painter)
{
    const int k = std::max(1, amplitudeFactor(picture.width()));
    const int mid = picture.width() / 2;
    for (int y = 0; y < traceLength(picture.height()); ++y)
        painter.drawLine(mid + columnMin[y] / k, y, mid + columnMax[y] / k, y);
}

void QVectorDrawFrame::drawBarsAlongX(QPainter &painter)
{
    const int k = std::max(1, amplitudeFactor(picture.height()));
    const int base = picture.height() - 1;
    for (int x = 0; x < traceLength(picture.width()); ++x)
        painter.drawLine(x, base, x, base - clampedValue(x) / k);
}

void QVectorDrawFrame::drawBarsAlongY(QPainter &painter)
{
    const int k = std::max(1, amplitudeFactor(picture.width()));
    for (int y = 0; y < traceLength(picture.height()); ++y)
        painter.drawLine(0, y, clampedValue(y) / k, y);
}

// The display the program uses. v is not offset by valueMin; with valueMin 0, v = valueMax lands
// on row 0. No amplitude range (valueMax == valueMin) draws no trace.
void QVectorDrawFrame::drawPolylineAlongX(QPainter &painter)
{
    const int height = picture.height();
    const double f = (double(valueMax) - valueMin) / height;
    const int count = traceLength(picture.width());
    if (f == 0.0 || count <= 0)
        return;
    const int base = height - 1;
    int previousY = int(base - clampedValue(0) / f);
    for (int x = 1; x < count; ++x) {
        const int y = int(base - clampedValue(x) / f + 0.5);
        painter.drawLine(x - 1, previousY, x, y);
        previousY = y;
    }
}

void QVectorDrawFrame::drawPolylineAlongY(QPainter &painter)
{
    const int k = amplitudeFactor(picture.width());
    if (picture.width() < 10 || k < 1)
        return;
    int previousX = 0;
    for (int y = 0; y < traceLength(picture.height()); ++y) {
        const int x = clampedValue(y) / k;
        painter.drawLine(previousX, y, x, y);
        previousX = x;
    }
}

// Gate and marker levels are counted from the top edge. A picture narrower than 10 pixels, or
// one without an amplitude range, gets neither.
void QVectorDrawFrame::drawGateAndMarkers(const AScanParams *p)
{
    const int width = picture.width();
    if (p == nullptr || width < 10)
        return;
    const float valuesPerPixel = float((double(valueMax) - valueMin) / picture.height());
    const float samplesPerPixel = float(double(sampleCount) / width);
    if (valuesPerPixel == 0.0f)
        return;
    QPainter painter(&picture);
    painter.setPen(QPen(gateColor, 2));
    const int x1 = int(p->gateStart / samplesPerPixel + 0.5);
    const int x2 = int(p->gateEnd / samplesPerPixel + 0.5);
    const int y = int(p->gateLevel / valuesPerPixel + 0.5);
    painter.drawLine(x1, y, x2, y);
    painter.drawLine(x1, y - 3, x1, y + 3);
    painter.drawLine(x2, y - 3, x2, y + 3);
    painter.setBrush(QBrush(markerColor, Qt::SolidPattern));
    painter.setPen(markerColor);
    if (p->mark1Shown)
        drawMarker(painter, p->mark1Position, p->mark1Level, samplesPerPixel, valuesPerPixel);
    if (p->mark2Shown)
        drawMarker(painter, p->mark2Position, p->mark2Level, samplesPerPixel, valuesPerPixel);
}

// A filled downward arrowhead with its tip on (position, level).
void QVectorDrawFrame::drawMarker(QPainter &painter, int position, int level, float samplesPerPixel,
                                  float valuesPerPixel)
{
    const int x = int(position / samplesPerPixel + 0.5);
    const int y = int(level / valuesPerPixel + 0.5);
    const QPoint arrow[3] = {{x, y}, {x - 5, y - 5}, {x + 5, y - 5}};
    painter.drawPolygon(arrow, 3, Qt::OddEvenFill);
}

void QVectorDrawFrame::drawGrid()
{
    const int width = picture.width();
    const int height = picture.height();
    QPainter painter(&picture);
    QPen pen;
    pen.setColor(Qt::white);
    pen.setStyle(Qt::DotLine);
    painter.setPen(pen);
    painter.setOpacity(0.5);
    if (hLinesShown)
        walkGrid(hLineOffset, hLineStep, height, [&](int y) { painter.drawLine(1, y, width, y); });
    if (vLinesShown)
        walkGrid(vLineOffset, vLineStep, width, [&](int x) { painter.drawLine(x, 1, x, height); });
}
