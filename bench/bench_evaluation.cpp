// SPDX-License-Identifier: GPL-3.0-or-later
// The evaluation of the largest download (240 groups of 1302 readings, 312,480 results) against
// ten earlier surveys of the same size, every reading checked and every point fitted by least
// squares, with the process's peak memory, and the redraw of a thickness map of 10,000 cells.
// Exits with 1 when a target is missed.
#include "benchtiming.h"
#include "evaluation/evaluation.h"
#include "evaluationview/thicknessmap.h"
#include "format/zrdata.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

namespace
{

constexpr double kEvaluationTarget = 1.0;
constexpr double kMapTarget = 0.1;
constexpr long kMemoryLimitMb = 200;
constexpr int kGroups = 240;
constexpr int kCells = 1302;
constexpr int kEarlierSurveys = 10;
constexpr int kMapCells = 10000;

// A wall that loses a little each year, more at some cells than at others.
int hundredthsAt(int group, int cell, int survey)
{
    return 1200 - survey * (1 + (group * 7 + cell * 13) % 5);
}

MeasurementRecord reading(int group, int cell, int survey)
{
    MeasurementRecord r;
    r.group = group, r.cell = cell, r.divisor = 100;
    r.rawValue = hundredthsAt(group, cell, survey);
    return r;
}

// Survey 0 is the oldest, one a year; the download evaluated is the one after the last. The
// readings of a survey share its time, as those the archive reads do.
EvaluationInput largestInput(CZRData *data)
{
    EvaluationInput input;
    input.data = data;
    const QDateTime first =
        QDateTime::fromString(QStringLiteral("2012-03-01T10:00:00+01:00"), Qt::ISODate);
    input.time = first.addYears(kEarlierSurveys);
    input.today = input.time.date();
    QList<QDateTime> times;
    for (int s = 0; s < kEarlierSurveys; ++s)
        times.append(first.addYears(s));
    for (int g = 1; g <= kGroups; ++g) {
        input.limits.insert(g, GroupLimits{12.0, 11.4, 0.2});
        for (int c = 1; c <= kCells; ++c) {
            data->append(reading(g, c, kEarlierSurveys));
            QList<PointReading> &history = input.history[TestPoint{g, c}];
            history.reserve(kEarlierSurveys);
            for (int s = 0; s < kEarlierSurveys; ++s)
                history.append(PointReading{reading(g, c, s), times.at(s)});
        }
    }
    return input;
}

bool evaluationWithinTargets()
{
    CZRData data;
    const EvaluationInput input = largestInput(&data);
    const bool fast = bench::measure("evaluate", kEvaluationTarget, [&input] {
        return bench::secondsOf([&input] {
            const CEvaluation evaluation(input);
            return !evaluation.summaries().isEmpty() && !evaluation.actionList().isEmpty();
        });
    });
    const long peak = bench::peakMemoryMb();
    const bool small = peak > 0 && peak < kMemoryLimitMb;
    std::printf("evaluate peak memory %ld MB, input included (limit: under %ld MB): %s\n", peak,
                kMemoryLimitMb, small ? "PASS" : "FAIL");
    return fast && small;
}

bool mapWithinTarget()
{
    QList<MapCell> cells;
    for (int c = 1; c <= kMapCells; ++c) {
        const double value = hundredthsAt(1, c, c % 11) / 100.0;
        cells.append(MapCell{c, value, QString::number(value, 'f', 2)});
    }
    const CThicknessMap map(cells, CThicknessScale(10.0, 12.0), 100);
    // Cells of 24 pixels, large enough for their values to be written in.
    QImage image(2400, 2400, QImage::Format_RGB32);
    return bench::measure("map", kMapTarget, [&map, &image] {
        return bench::secondsOf([&map, &image] {
            image.fill(Qt::white);
            QPainter painter(&image);
            map.paint(painter, QRectF(image.rect()));
            return true;
        });
    });
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const bool evaluation = evaluationWithinTargets();
    const bool map = mapWithinTarget();
    return evaluation && map ? 0 : 1;
}
