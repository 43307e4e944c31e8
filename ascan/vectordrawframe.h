// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFrame>
#include <QPixmap>

#include <memory>

class QAction;
class QPainter;
struct AScanParams;

// Draws an A-scan: the samples are reduced to one value (or a minimum and a maximum) per pixel
// column, drawn as a trace into an off-screen picture with a dotted grid, the gate and the
// markers, and the picture is copied to the screen on every paint. The picture is drawn only
// when a vector arrives; call initPicture() once the widget has its final size.
class QVectorDrawFrame : public QFrame
{
    Q_OBJECT

public:
    enum DisplayMode { ModeEnvelope = 0, ModeBars = 1, ModePolyline = 2 };

    explicit QVectorDrawFrame(QWidget *parent = nullptr);
    ~QVectorDrawFrame() override;

    // Makes a picture as large as the widget and per-pixel arrays to match.
    void initPicture();
    // Grid lines in value units mapped onto the picture's height (horizontal lines) or width
    // (vertical lines); call after initPicture().
    void setHorizontalGrid(double minValue, double span, double anchor, double step);
    void setVerticalGrid(double minValue, double span, double anchor, double step);

    int displayMode = ModeEnvelope;
    // 0: samples along x, amplitude upwards; 1: samples along y, amplitude along x.
    int orientation = 0;
    int valueMin = 0;
    int valueMax = 0;
    bool hLinesShown = false;
    bool vLinesShown = false;

public slots:
    // pParams points to the vector's AScanParams. The vector is read only during this call.
    void vectorChanged(signed short *pVector, int iVectorSize, void *pParams);

signals:
    void saveAScan();
    void ascanToClipboard();

protected:
    void paintEvent(QPaintEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

    void buildColumnIndex(int count);
    void reduceSamples();
    void renderPicture();
    void drawTrace();
    void drawEnvelopeAlongX(QPainter &painter);
    void drawEnvelopeAlongY(QPainter &painter);
    void drawBarsAlongX(QPainter &painter);
    void drawBarsAlongY(QPainter &painter);
    void drawPolylineAlongX(QPainter &painter);
    void drawPolylineAlongY(QPainter &painter);
    void drawGateAndMarkers(const AScanParams *p);
    void drawGrid();

    QColor backgroundColor = Qt::black;
    QColor emptyColor = Qt::gray;
    QColor traceColor = Qt::green;
    QColor gateColor = Qt::red;
    QColor markerColor = Qt::yellow;
    QPixmap picture;
    const signed short *samples = nullptr;
    int sampleCount = 0;
    // Per pixel: maximum (envelope) or peak absolute value.
    std::unique_ptr<int[]> columnMax;
    // Per pixel: minimum, or the previous column's value (envelope only).
    std::unique_ptr<int[]> columnMin;
    int pixelCount = 0;
    // Per pixel: index of the last sample that belongs to it.
    std::unique_ptr<int[]> columnIndex;
    bool empty = true;
    double hLineOffset = 0.0;
    double vLineOffset = 0.0;
    double hLineStep = 100.0;
    double vLineStep = 100.0;
    QAction *savePictureAction = nullptr;
    QAction *copyPictureAction = nullptr;

private:
    void createActions();
    int lastSampleOf(int pixel) const;
    template <typename Visit> void forEachColumnRun(Visit visit) const;
    void reduceEnvelope();
    void reduceRectified();
    int clampedValue(int pixel) const;
    int traceLength(int extent) const;
    int amplitudeFactor(int extent) const;
    void drawMarker(QPainter &painter, int position, int level, float samplesPerPixel,
                    float valuesPerPixel);
};
