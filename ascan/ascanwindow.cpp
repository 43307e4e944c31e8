// SPDX-License-Identifier: GPL-3.0-or-later
#include "ascan/ascanwindow.h"

#include "ui_ascanwindowgui.h"

#include "format/ascanentry.h"
#include "format/atomicfile.h"
#include "format/csvwriter.h"

#include "ascan/scaleframe.h"
#include "ascan/vectordrawframe.h"

#include <QBuffer>
#include <QDir>

AScanWindow::AScanWindow(QWidget *parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), ui(new Ui::ascanWindowGUI)
{
    ui->setupUi(this);
}

AScanWindow::~AScanWindow() = default;

QVectorDrawFrame *AScanWindow::trace() const
{
    return ui->ascanFrame;
}

void AScanWindow::setup()
{
    QVectorDrawFrame *frame = ui->ascanFrame;
    frame->initPicture();
    frame->displayMode = QVectorDrawFrame::ModePolyline;
    frame->hLinesShown = true;
    frame->setHorizontalGrid(0, 100, 0, 25);
    frame->vLinesShown = true;
    frame->setVerticalGrid(0, 10, 0, 1);
    frame->valueMin = 0;
    frame->valueMax = 118; // the amplitude scale's 100 % sits at sample value 118
    QScaleFrame *amplitude = ui->VScaleFrame;
    amplitude->position = QAbstractScale::ScaleLeft;
    amplitude->direction = -1;
    amplitude->setRange(0, 100);
    amplitude->setTicks(0, 25, 12.5, QStringLiteral("%"));
    QScaleFrame *depth = ui->HScaleFrame;
    depth->position = QAbstractScale::ScaleBottom;
    depth->direction = 1;
    depth->setRange(0, 10);
    depth->setTicks(0, 1, 0.5, QStringLiteral("mm"));
    ui->LValue->clear();
    ui->LGroup->clear();
    ui->LNumber->clear();
}

void AScanWindow::showResult(const AScanParams *params, const MeasurementRecord *record)
{
    QString unit = labels.millimetres;
    bool mm = true;
    if (record != nullptr) {
        const float value = float(double(record->rawValue) / record->divisor);
        QString valueText;
        valueText.setNum(value, 'g', 6);
        mm = record->unit == UnitMillimetres;
        unit = mm ? labels.millimetres : labels.inches;
        ui->LValue->setText(valueText + QLatin1Char(' ') + unit);
        ui->LGroup->setText(labels.group + QStringLiteral("  ") + QString::number(record->group));
        ui->LNumber->setText(labels.cell + QStringLiteral("  ") + QString::number(record->cell));
    } else {
        ui->LValue->clear();
        ui->LGroup->clear();
        ui->LNumber->clear();
    }
    if (params != nullptr) {
        const double span = params->rangeEnd - params->rangeStart;
        QScaleFrame *depth = ui->HScaleFrame;
        depth->setRange(params->rangeStart, span);
        const double step = QScaleFrame::depthStep(span, mm);
        depth->setTicks(0.0, step, 0.5 * step, unit);
        depth->repaint();
    }
}

QPixmap AScanWindow::picture()
{
    return grab(QRect(0, 0, -1, -1));
}

QPixmap AScanWindow::pictureOf(const MeasurementRecord &record, const AScanEntry &entry)
{
    QVector<signed short> samples(kTraceBufferSamples, 0);
    std::copy(entry.trace.cbegin(), entry.trace.cend(), samples.begin());
    AScanParams params = entry.params;
    showResult(&params, &record);
    ui->ascanFrame->vectorChanged(samples.data(), int(entry.trace.size()), &params);
    return picture();
}

bool AScanWindow::savePictures(const QString &folder, const CZRData &data, const QList<int> &rows,
                               const std::function<const AScanEntry *(int row)> &aScanOf,
                               QStringList *failures)
{
    bool folderMade = false;
    for (int row : rows) {
        MeasurementRecord record;
        data.recordAt(row, &record);
        const QString path = folder + CCsvWriter::aScanFileName(record.group, record.cell);
        const AScanEntry *entry = record.hasAScan ? aScanOf(row) : nullptr;
        if (entry == nullptr)
            continue;
        if (!folderMade)
            folderMade = makePath(folder);
        QString problem;
        if (!savePicture(pictureOf(record, *entry), path, "BMP", &problem))
            failures->append(QDir::toNativeSeparators(path) + QStringLiteral(": ") + problem);
    }
    return failures->isEmpty();
}

bool AScanWindow::savePicture(const QPixmap &picture, const QString &path, const char *format,
                              QString *problem)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, format)) {
        *problem = tr("the picture cannot be made in this format");
        return false;
    }
    return CAtomicFile::write(path, bytes, problem);
}

bool AScanWindow::makePath(const QString &folder)
{
    return QDir().mkpath(folder);
}
