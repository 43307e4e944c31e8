// SPDX-License-Identifier: GPL-3.0-or-later
#include "emblempictures.h"

#include "iconkit.h"

#include <QDir>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <vector>

namespace emblempictures
{

namespace
{

const char kWordmark[] = "Collatrix";

// The motif in a 100 x 100 box: a straight-beam transducer pointing down, with three wave arcs
// below its face. Returned as an outline to fill.
QPainterPath motif()
{
    QPainterPath shape;
    shape.addRoundedRect(QRectF(46, 1, 8, 10), 1.5, 1.5); // connector pin
    shape.addRoundedRect(QRectF(41, 8, 18, 6), 1.5, 1.5); // connector nut
    QPainterPath housing;
    housing.addRoundedRect(QRectF(36, 15, 28, 27), 3, 3);
    QPainterPath groove;
    groove.addRect(QRectF(30, 21, 40, 2.5));
    shape.addPath(housing.subtracted(groove));
    shape.addRoundedRect(QRectF(32, 41, 36, 6), 2, 2); // wear face
    QPainterPathStroker stroker;
    stroker.setWidth(5);
    stroker.setCapStyle(Qt::RoundCap);
    for (qreal radius : {14.0, 27.0, 40.0}) {
        const qreal span = 64 - radius * 0.5; // outer arcs a little narrower, like a beam
        const QRectF box(50 - radius, 50 - radius, 2 * radius, 2 * radius);
        QPainterPath arc;
        arc.arcMoveTo(box, 270 - span / 2);
        arc.arcTo(box, 270 - span / 2, span);
        shape.addPath(stroker.createStroke(arc));
    }
    return shape.simplified();
}

QPainterPath motifIn(const QRectF &box)
{
    QTransform toBox;
    toBox.translate(box.x(), box.y());
    toBox.scale(box.width() / 100, box.height() / 100);
    return toBox.map(motif());
}

QPainterPath wordmark(qreal pixelSize, QPointF centre)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(int(pixelSize));
    font.setBold(true);
    font.setLetterSpacing(QFont::PercentageSpacing, 104);
    QPainterPath text;
    text.addText(0, 0, font, QLatin1String(kWordmark));
    const QRectF box = text.boundingRect();
    return text.translated(centre - box.center());
}

QPainterPath ring(QPointF centre, qreal outer, qreal inner)
{
    QPainterPath path;
    path.addEllipse(centre, outer, outer);
    path.addEllipse(centre, inner, inner);
    return path;
}

// ---- Background: a height field lit from the top left ----

using Field = std::vector<float>;

Field coverage(const QSize &size, const QPainterPath &shape)
{
    QImage img(size, QImage::Format_Grayscale8);
    img.fill(0);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(shape, Qt::white);
    }
    Field field(size_t(size.width() * size.height()));
    for (int y = 0; y < size.height(); ++y) {
        const uchar *line = img.constScanLine(y);
        for (int x = 0; x < size.width(); ++x)
            field[size_t(y * size.width() + x)] = line[x] / 255.0f;
    }
    return field;
}

float at(const Field &f, const QSize &size, int x, int y)
{
    x = std::clamp(x, 0, size.width() - 1);
    y = std::clamp(y, 0, size.height() - 1);
    return f[size_t(y * size.width() + x)];
}

// One box blur pass along x and along y; rounds the shoulders of the raised shapes.
Field blurred(const Field &f, const QSize &size, int radius)
{
    Field along(f.size()), out(f.size());
    const float n = float(2 * radius + 1);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            float sum = 0;
            for (int d = -radius; d <= radius; ++d)
                sum += at(f, size, x + d, y);
            along[size_t(y * size.width() + x)] = sum / n;
        }
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            float sum = 0;
            for (int d = -radius; d <= radius; ++d)
                sum += at(along, size, x, y + d);
            out[size_t(y * size.width() + x)] = sum / n;
        }
    return out;
}

QImage emboss(const Field &height, const QSize &size)
{
    const float ground = 161, slope = 150, raise = 20;
    QImage img(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const float lit = at(height, size, x + 1, y + 1) - at(height, size, x - 1, y - 1);
            const float h = at(height, size, x, y);
            const int v = std::clamp(int(std::lround(ground + slope * lit + raise * h)), 0, 255);
            img.setPixel(x, y, qRgb(v, v, v));
        }
    return img;
}

// ---- The blue badge shared by the logo and the window icon ----

void paintBadge(QPainter &p, QPointF centre, qreal radius)
{
    QPainterPath disc;
    disc.addEllipse(centre, radius, radius);
    iconkit::paintBody(p, disc, iconkit::blue(), radius / 13);
    iconkit::paintGloss(p, disc);
    const qreal side = radius * 1.3;
    const QRectF box(centre.x() - side / 2, centre.y() - side * 0.47, side, side);
    p.fillPath(motifIn(box), Qt::white);
}

} // namespace

QImage background()
{
    const QSize size(288, 355);
    const QPointF centre(144, 150);
    // A low medallion with a sunken groove near its rim; the motif and the wordmark stand
    // higher.
    QPainterPath disc;
    disc.addEllipse(centre, 112, 112);
    const QPainterPath motifShape = motifIn(QRectF(centre.x() - 70, centre.y() - 74, 140, 140));
    const QPainterPath text = wordmark(38, QPointF(144, 305));
    Field height = blurred(coverage(size, disc), size, 2);
    const Field groove = blurred(coverage(size, ring(centre, 103, 99)), size, 1);
    const Field raised = blurred(coverage(size, motifShape.united(text)), size, 1);
    for (size_t i = 0; i < height.size(); ++i)
        height[i] = 0.45f * height[i] - 0.35f * groove[i] + 0.8f * raised[i];
    return emboss(height, size);
}

QImage logo()
{
    QImage img(210, 152, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    paintBadge(p, QPointF(105, 54), 46);
    p.fillPath(wordmark(28, QPointF(105, 128)), iconkit::blue().outline);
    return img;
}

QImage windowIcon()
{
    QImage img(128, 128, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    paintBadge(p, QPointF(64, 64), 60);
    return img;
}

bool writeAll(const QString &folder)
{
    bool ok = QDir().mkpath(folder);
    ok = background().save(folder + QLatin1String("/background.bmp"), "BMP") && ok;
    ok = logo().save(folder + QLatin1String("/logo.bmp"), "BMP") && ok;
    ok = windowIcon().save(folder + QLatin1String("/orbex.ico"), "ICO") && ok;
    return ok;
}

} // namespace emblempictures
