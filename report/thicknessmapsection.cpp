// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/thicknessmapsection.h"

#include "evaluation/evaluation.h"
#include "evaluationview/thicknessmap.h"
#include "format/resultstatistics.h"
#include "report/reportcanvas.h"

#include <QPainter>

namespace
{

constexpr int kScaleSteps = 20;

} // namespace

CThicknessMapSection::CThicknessMapSection(const CEvaluation &evaluation,
                                           const QMap<int, int> &widths, const CCsvWriter &format)
    : evaluation(evaluation), widths(widths), format(format)
{
    for (const GroupSummary &s : evaluation.summaries()) {
        if (s.figureCount > 0)
            groups.append(s);
    }
}

int CThicknessMapSection::pageCount(const CReportCanvas &) const
{
    return int(groups.size());
}

QString CThicknessMapSection::legend(const GroupSummary &s, const CThicknessMap &map) const
{
    const auto figure = [this, &s](double value) {
        return CResultStatistics::number(value, s.decimals, format.decimalSeparator);
    };
    const QString unit = format.unitText(s.unit);
    const QString scale =
        evaluation.limitsOf(s.group) != nullptr
            ? tr("Colours from red at the minimum, %1 %3, to green at the nominal, %2 %3.")
            : tr("No limits are set: colours from red at the thinnest reading, %1 %3, to green "
                 "at the thickest, %2 %3.");
    return scale.arg(figure(map.scale().low()), figure(map.scale().high()), unit) +
           QLatin1Char(' ') +
           tr("%1 cells to a row; a blank cell has no reading. The thinnest, cell %2 at %3 %4, "
              "is framed.")
               .arg(map.rowWidth())
               .arg(s.minimumCell)
               .arg(figure(s.minimum), unit);
}

void CThicknessMapSection::drawScale(QPainter &painter, const CReportCanvas &canvas, double top,
                                     const CThicknessMap &map) const
{
    const double step = canvas.width / 2 / kScaleSteps;
    const CThicknessScale &scale = map.scale();
    for (int i = 0; i < kScaleSteps; ++i) {
        const double value = scale.low() + (scale.high() - scale.low()) * i / (kScaleSteps - 1);
        painter.fillRect(QRectF(i * step, top, step, canvas.line), scale.colourOf(value));
    }
}

void CThicknessMapSection::drawPage(QPainter &painter, const CReportCanvas &canvas, int page)
{
    const GroupSummary &s = groups.at(page);
    const CThicknessMap map =
        CThicknessMap::ofGroup(evaluation, s.group, widths.value(s.group, 0), format);
    canvas.drawHeading(painter, 0,
                       tr("Thickness map: group %1").arg(evaluation.groupLabel(s.group)));
    double y = canvas.headingHeight();
    const QString text = legend(s, map);
    canvas.drawParagraph(painter, y, text);
    y += canvas.paragraphHeight(text) + 0.5 * canvas.line;
    drawScale(painter, canvas, y, map);
    y += 2 * canvas.line;
    map.paint(painter, QRectF(0, y, canvas.width, canvas.bottom - y - canvas.line));
}
