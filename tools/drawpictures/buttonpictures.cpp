// SPDX-License-Identifier: GPL-3.0-or-later
#include "buttonpictures.h"

#include "iconkit.h"

#include <QDir>
#include <QPainter>

using namespace iconkit;

namespace buttonpictures
{

namespace
{

const qreal kOutline = 1.3;

QPainterPath roundedRect(qreal x, qreal y, qreal w, qreal h, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, w, h), radius, radius);
    return path;
}

QPainterPath circle(QPointF centre, qreal radius)
{
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    return path;
}

void paintWhiteStroke(QPainter &p, const QPainterPath &line, qreal width)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(line);
    p.restore();
}

void paintWhiteShape(QPainter &p, const QPainterPath &shape)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(shape);
    p.restore();
}

// A monitor bezel with its screen inset; returns the screen's shape.
QPainterPath paintMonitor(QPainter &p, const QRectF &bezel, qreal border)
{
    paintBody(p, roundedRect(bezel.x(), bezel.y(), bezel.width(), bezel.height(), 3), grey(),
              kOutline);
    const QRectF glass = bezel.adjusted(border, border, -border, -border - 1);
    return roundedRect(glass.x(), glass.y(), glass.width(), glass.height(), 1.5);
}

void paintTransfer(QPainter &p)
{
    // Cable first, so the monitor covers where it plugs in.
    QPainterPath cable;
    cable.moveTo(30, 20.5);
    cable.cubicTo(39, 20.5, 38.5, 27, 37.5, 31.5);
    paintCable(p, cable, red(), 2.6);
    paintBody(p, roundedRect(34.5, 31.5, 6, 6, 1), red(), kOutline);
    paintBody(p, roundedRect(35.5, 37.5, 4, 2.5, 0.5), grey(), 1.0);

    QPainterPath neck;
    neck.moveTo(14.5, 26);
    neck.lineTo(21.5, 26);
    neck.lineTo(23, 32.5);
    neck.lineTo(13, 32.5);
    neck.closeSubpath();
    paintBody(p, neck, grey(), kOutline);
    paintBody(p, roundedRect(6.5, 32.5, 23, 4.5, 2), grey(), kOutline);

    const QPainterPath glass = paintMonitor(p, QRectF(2.5, 4.5, 31, 23), 3.5);
    paintBody(p, glass, blue(), 1.0);
    paintGloss(p, glass);
}

void paintSave(QPainter &p)
{
    QPainterPath disk;
    disk.moveTo(6.5, 4.5);
    disk.lineTo(33, 4.5);
    disk.lineTo(37.5, 9);
    disk.lineTo(37.5, 35.5);
    disk.quadTo(37.5, 37.5, 35.5, 37.5);
    disk.lineTo(6.5, 37.5);
    disk.quadTo(4.5, 37.5, 4.5, 35.5);
    disk.lineTo(4.5, 6.5);
    disk.quadTo(4.5, 4.5, 6.5, 4.5);
    disk.closeSubpath();
    paintBody(p, disk, blue(), kOutline);

    paintBody(p, roundedRect(11.5, 4.5, 18, 11.5, 1), grey(), kOutline);
    paintBody(p, roundedRect(23, 6.5, 4, 7.5, 0.8), blue(), 1.0);

    paintBody(p, roundedRect(9.5, 21.5, 23, 16, 1.5), paper(), kOutline);
    p.save();
    p.setPen(QPen(QColor(120, 160, 215), 1.2));
    for (qreal y : {26.5, 30.5})
        p.drawLine(QPointF(13, y), QPointF(29, y));
    p.restore();
}

QPainterPath pulseTrace(const QRectF &area)
{
    // An initial pulse, then a smaller back-wall echo, on a baseline near the bottom.
    const qreal base = area.bottom() - 3.5;
    const qreal x0 = area.left() + 2;
    QPainterPath trace;
    trace.moveTo(x0, base);
    trace.lineTo(x0 + 3, base);
    trace.lineTo(x0 + 4.5, area.top() + 3);
    trace.lineTo(x0 + 6, base + 1.5);
    trace.lineTo(x0 + 7.5, base - 5);
    trace.lineTo(x0 + 9, base);
    trace.lineTo(x0 + 16, base);
    trace.lineTo(x0 + 17.5, area.top() + 8);
    trace.lineTo(x0 + 19, base + 1);
    trace.lineTo(x0 + 20.5, base - 2.5);
    trace.lineTo(x0 + 22, base);
    trace.lineTo(area.right() - 2, base);
    return trace;
}

void paintAScan(QPainter &p)
{
    const QPainterPath glass = paintMonitor(p, QRectF(2.5, 5.5, 37, 31), 4);
    paintBody(p, glass, screen(), 1.0);
    const QRectF area = glass.boundingRect();
    p.save();
    p.setClipPath(glass);
    p.setPen(QPen(QColor(60, 200, 90, 60), 1));
    for (int i = 1; i < 4; ++i) {
        const qreal x = area.left() + area.width() * i / 4;
        const qreal y = area.top() + area.height() * i / 4;
        p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    }
    const QPainterPath trace = pulseTrace(area);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(70, 255, 110, 90), 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(trace);
    p.setPen(QPen(QColor(150, 255, 160), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(trace);
    p.restore();
    paintGloss(p, glass);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 220, 100));
    p.drawEllipse(QPointF(34, 33.5), 1.1, 1.1);
    p.restore();
}

void paintHelp(QPainter &p)
{
    const QPainterPath badge = circle(QPointF(21, 21), 17.5);
    paintBody(p, badge, blue(), kOutline);
    paintGloss(p, badge);

    QPainterPath hook;
    hook.arcMoveTo(QRectF(15, 9.5, 12, 12), 165);
    hook.arcTo(QRectF(15, 9.5, 12, 12), 165, -215);
    hook.quadTo(21, 21.5, 21, 24.5);
    paintWhiteStroke(p, hook, 3.8);
    paintWhiteShape(p, circle(QPointF(21, 30.5), 2.4));
}

void paintAbout(QPainter &p)
{
    QPainterPath bubble = roundedRect(3.5, 4.5, 35, 27, 9);
    QPainterPath tail;
    tail.moveTo(9, 27);
    tail.lineTo(7, 38.5);
    tail.lineTo(19, 30);
    tail.closeSubpath();
    bubble = bubble.united(tail);
    paintBody(p, bubble, blue(), kOutline);
    paintGloss(p, bubble);

    paintWhiteShape(p, circle(QPointF(21, 10.8), 2.4));
    QPainterPath letter;
    letter.moveTo(17.5, 15);
    letter.lineTo(22.8, 15);
    letter.lineTo(22.8, 24);
    letter.lineTo(24.8, 24);
    letter.lineTo(24.8, 26.5);
    letter.lineTo(17.2, 26.5);
    letter.lineTo(17.2, 24);
    letter.lineTo(19.2, 24);
    letter.lineTo(19.2, 17.3);
    letter.lineTo(17.5, 17.3);
    letter.closeSubpath();
    paintWhiteShape(p, letter);
}

// A filing cabinet: two drawers of kept surveys, each with its label and handle.
void paintArchive(QPainter &p)
{
    const QPainterPath cabinet = roundedRect(6.5, 3.5, 29, 35, 3);
    paintBody(p, cabinet, blue(), kOutline);
    paintGloss(p, cabinet);
    for (const qreal top : {7.5, 22.0}) {
        paintBody(p, roundedRect(10, top, 22, 12.5, 1.5), paper(), 1.0);
        p.save();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 60, 70));
        p.drawRoundedRect(QRectF(16, top + 7.5, 10, 2.6), 1.2, 1.2);
        p.setBrush(QColor(200, 205, 215));
        p.drawRect(QRectF(17.5, top + 2.5, 7, 3));
        p.restore();
    }
}

// A thickness map: a sheet of cells from red (thin) to green, the thinnest one framed.
void paintEvaluation(QPainter &p)
{
    const QPainterPath sheet = roundedRect(3.5, 3.5, 35, 35, 3);
    paintBody(p, sheet, paper(), kOutline);
    const QColor colours[3][3] = {
        {QColor(60, 170, 80), QColor(150, 200, 90), QColor(60, 170, 80)},
        {QColor(240, 200, 80), QColor(215, 50, 40), QColor(150, 200, 90)},
        {QColor(150, 200, 90), QColor(240, 200, 80), QColor(60, 170, 80)}};
    p.save();
    p.setPen(QPen(QColor(255, 255, 255), 1.2));
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            p.setBrush(colours[row][column]);
            p.drawRect(QRectF(7.5 + column * 9, 7.5 + row * 9, 9, 9));
        }
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(30, 30, 30), 2.2));
    p.drawRect(QRectF(16.5, 16.5, 9, 9));
    p.restore();
    paintGloss(p, sheet);
}

// A calendar sheet: a red binding with its two rings, a grid of days and the day due circled.
void paintDue(QPainter &p)
{
    const QPainterPath sheet = roundedRect(4.5, 6.5, 33, 32, 3);
    paintBody(p, sheet, paper(), kOutline);
    paintBody(p, roundedRect(4.5, 6.5, 33, 9, 3), red(), kOutline);
    for (const qreal x : {13.0, 29.0})
        paintBody(p, roundedRect(x - 1.5, 3, 3, 7.5, 1.5), grey(), 1.0);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 130, 145));
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column)
            p.drawRect(QRectF(9 + column * 7, 19.5 + row * 5.5, 3.5, 3));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(215, 40, 30), 2.2));
    p.drawEllipse(QPointF(24.75, 26.5), 4.6, 4.1);
    p.restore();
    paintGloss(p, sheet);
}

const int kSize = 42;

struct Button {
    const char *name; // file name without extension
    void (*paint)(QPainter &p);
};

const Button kButtons[] = {
    {"data_transf", paintTransfer},  {"save_file", paintSave},
    {"ascan", paintAScan},           {"help", paintHelp},
    {"about", paintAbout},           {"archive", paintArchive},
    {"evaluation", paintEvaluation}, {"due", paintDue},
};

const QRgb kMagenta = qRgb(255, 0, 255);

struct MaskedBitmap {
    QImage bitmap;
    QImage mask;
};

MaskedBitmap render(const Button &button)
{
    QImage art(kSize, kSize, QImage::Format_ARGB32);
    art.fill(Qt::transparent);
    {
        QPainter p(&art);
        p.setRenderHint(QPainter::Antialiasing);
        button.paint(p);
    }
    MaskedBitmap out{QImage(kSize, kSize, QImage::Format_RGB32),
                     QImage(kSize, kSize, QImage::Format_RGB32)};
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            // Unpremultiplied, so a half-covered edge pixel has the full colour of its object.
            const QRgb pixel = art.pixel(x, y);
            const bool opaque = qAlpha(pixel) >= 128;
            out.bitmap.setPixel(x, y, opaque ? (pixel | 0xff000000u) : kMagenta);
            out.mask.setPixel(x, y, opaque ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        }
    }
    out.mask = out.mask.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    return out;
}

} // namespace

bool writeAll(const QString &folder)
{
    bool ok = QDir().mkpath(folder);
    for (const Button &button : kButtons) {
        const MaskedBitmap picture = render(button);
        const QString base = folder + QLatin1Char('/') + QLatin1String(button.name);
        ok = picture.bitmap.save(base + QLatin1String(".bmp"), "BMP") && ok;
        ok = picture.mask.save(base + QLatin1String("_mask.bmp"), "BMP") && ok;
    }
    return ok;
}

} // namespace buttonpictures
