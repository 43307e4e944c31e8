// SPDX-License-Identifier: GPL-3.0-or-later
#include "designcommand.h"

#include "clioptions.h"

#include "archive/archive.h"
#include "evaluation/designminimum.h"
#include "services/archiveevaluation.h"

#include <cstdio>

namespace
{

const QString kShape = QStringLiteral("--shape");
const QString kDiameter = QStringLiteral("--diameter");
const QString kRadius = QStringLiteral("--radius");

struct Figure {
    QString option;
    double DesignData::*value;
    bool required;
};

const QList<Figure> kFigures{{QStringLiteral("--pressure"), &DesignData::pressure, true},
                             {QStringLiteral("--stress"), &DesignData::stress, true},
                             {QStringLiteral("--joint"), &DesignData::joint, false},
                             {QStringLiteral("--weld"), &DesignData::weld, false},
                             {QStringLiteral("--y"), &DesignData::y, false},
                             {QStringLiteral("--structural"), &DesignData::structural, false}};

bool figureOf(const CCliOptions &opt, const QString &option, double *value)
{
    bool ok = false;
    *value = opt.values.value(option).toDouble(&ok);
    if (!ok)
        printError(
            QStringLiteral("%1 needs a number, not '%2'").arg(option, opt.values.value(option)));
    return ok;
}

// A pipe and a head are sized by a diameter, a shell by its radius.
bool sizeOf(const CCliOptions &opt, DesignData *design)
{
    const QString option = design->shape == DesignShape::Shell ? kRadius : kDiameter;
    const QString other = design->shape == DesignShape::Shell ? kDiameter : kRadius;
    if (!opt.values.contains(option) || opt.values.contains(other)) {
        printError(QStringLiteral("a %1 is sized by %2")
                       .arg(CDesignMinimum::shapeName(design->shape), option));
        return false;
    }
    return figureOf(opt, option, &design->size);
}

bool designOf(const CCliOptions &opt, DesignData *design)
{
    const std::optional<DesignShape> shape = CDesignMinimum::shapeNamed(opt.values.value(kShape));
    if (!shape) {
        printError(QStringLiteral("--shape takes pipe, shell or head"));
        return false;
    }
    design->shape = *shape;
    if (!sizeOf(opt, design))
        return false;
    for (const Figure &f : kFigures) {
        if (f.required && !opt.values.contains(f.option)) {
            printError(QStringLiteral("archive design needs %1").arg(f.option));
            return false;
        }
        if (opt.values.contains(f.option) && !figureOf(opt, f.option, &(design->*f.value)))
            return false;
    }
    const QString problem = CDesignMinimum::problemOf(*design);
    if (!problem.isEmpty())
        printError(problem);
    return problem.isEmpty();
}

} // namespace

QSet<QString> designOptions()
{
    QSet<QString> options{kShape, kDiameter, kRadius};
    for (const Figure &f : kFigures)
        options.insert(f.option);
    return options;
}

int setDesign(CArchive &archive, const CCliOptions &opt)
{
    bool groupOk = false;
    const int group = opt.positional.value(1).toInt(&groupOk);
    DesignData design;
    if (opt.positional.size() != 2 || !groupOk || group < 1 || !designOf(opt, &design))
        return CliUsage;
    QString problem;
    if (!CArchiveEvaluation::setDesign(archive, group, design,
                                       opt.values.value(QStringLiteral("--reason")), &problem)) {
        printError(problem);
        return CliFailed;
    }
    std::printf("%s\n", qPrintable(QString::number(CDesignMinimum::minimum(design), 'f', 3)));
    return CliOk;
}
