// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/limitssection.h"

#include "evaluation/designminimum.h"
#include "evaluation/evaluation.h"
#include "format/resultstatistics.h"
#include "report/reportcanvas.h"

#include <QLocale>

namespace
{

QString whenText(const QDateTime &at)
{
    return at.isValid() ? at.toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QStringLiteral("-");
}

} // namespace

CLimitsSection::CLimitsSection(const CEvaluation &evaluation, const CCsvWriter &format)
    : evaluation(evaluation), format(format)
{
    for (const GroupSummary &s : evaluation.summaries()) {
        if (evaluation.limitsOf(s.group) != nullptr)
            paragraphs << paragraphOf(s.group);
    }
}

QString CLimitsSection::paragraphOf(int group) const
{
    const GroupLimits &limits = *evaluation.limitsOf(group);
    const ObjectRules rules = evaluation.rulesOf(group);
    const int unit = evaluation.unitOf(group);
    const auto figure = [this](double value, int decimals) {
        return CResultStatistics::number(value, decimals, format.decimalSeparator);
    };
    QString text =
        tr("Group %1: nominal %2, minimum %3, warning margin %4 %5, set by %6 on %7. Growth "
           "tolerance %8, minimum interval %9 days, interval rule %10, governing rate %11.")
            .arg(evaluation.groupLabel(group), figure(limits.nominal, 3), figure(limits.minimum, 3),
                 figure(limits.warning, 3), format.unitText(unit),
                 limits.setBy.isEmpty() ? QStringLiteral("-") : limits.setBy,
                 whenText(limits.setAt), figure(rules.toleranceIn(unit), 3))
            .arg(rules.minimumIntervalDays)
            .arg(ObjectRules::nameOf(rules.rule), ObjectRules::nameOf(rules.rate));
    if (rules.design)
        text += QLatin1Char(' ') +
                tr("The minimum comes from the design data set by %1 on %2: %3.")
                    .arg(rules.designSetBy, whenText(rules.designSetAt),
                         CDesignMinimum::derivation(*rules.design, 3, format.decimalSeparator));
    return text;
}

QList<int> CLimitsSection::pageStarts(const CReportCanvas &canvas) const
{
    QList<int> starts{0};
    double top = canvas.headingHeight();
    for (int i = 0; i < paragraphs.size(); ++i) {
        const double height = canvas.paragraphHeight(paragraphs.at(i)) + canvas.line / 2;
        if (top + height > canvas.bottom && top > 0 && i > starts.last()) {
            starts << i;
            top = 0;
        }
        top += height;
    }
    return starts;
}

int CLimitsSection::pageCount(const CReportCanvas &canvas) const
{
    return paragraphs.isEmpty() ? 0 : int(pageStarts(canvas).size());
}

void CLimitsSection::drawPage(QPainter &painter, const CReportCanvas &canvas, int page)
{
    const QList<int> starts = pageStarts(canvas);
    double top = 0;
    if (page == 0) {
        canvas.drawHeading(painter, 0, tr("Limits in force"));
        top = canvas.headingHeight();
    }
    const int end = page + 1 < starts.size() ? starts.at(page + 1) : int(paragraphs.size());
    for (int i = starts.at(page); i < end; ++i) {
        canvas.drawParagraph(painter, top, paragraphs.at(i));
        top += canvas.paragraphHeight(paragraphs.at(i)) + canvas.line / 2;
    }
}
