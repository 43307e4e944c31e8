// SPDX-License-Identifier: GPL-3.0-or-later
#include "evaluation/designminimum.h"

#include <QStringList>

#include <algorithm>

namespace
{

const QStringList kShapeNames{QStringLiteral("pipe"), QStringLiteral("shell"),
                              QStringLiteral("head")};

double denominator(const DesignData &d)
{
    switch (d.shape) {
    case DesignShape::Pipe:
        return 2 * (d.stress * d.joint * d.weld + d.pressure * d.y);
    case DesignShape::Shell:
        return d.stress * d.joint - 0.6 * d.pressure;
    case DesignShape::Head:
        break;
    }
    return 2 * d.stress * d.joint - 0.2 * d.pressure;
}

QString figure(double value)
{
    return QString::number(value, 'g', 10);
}

} // namespace

double CDesignMinimum::pressureThickness(const DesignData &design)
{
    return design.pressure * design.size / denominator(design);
}

double CDesignMinimum::minimum(const DesignData &design)
{
    return std::max(pressureThickness(design), design.structural);
}

QString CDesignMinimum::problemOf(const DesignData &design)
{
    if (design.pressure <= 0 || design.size <= 0 || design.stress <= 0 || design.joint <= 0 ||
        design.weld <= 0 || design.y < 0 || design.structural < 0)
        return tr("the pressure, the size, the stress and the factors must be positive");
    if (denominator(design) <= 0)
        return tr("the pressure is too high for the allowable stress: the formula gives no "
                  "thickness");
    return QString();
}

QString CDesignMinimum::shapeName(DesignShape shape)
{
    return kShapeNames.at(int(shape));
}

std::optional<DesignShape> CDesignMinimum::shapeNamed(const QString &name)
{
    const qsizetype at = kShapeNames.indexOf(name);
    return at < 0 ? std::nullopt : std::optional<DesignShape>(DesignShape(at));
}

QString CDesignMinimum::formula(DesignShape shape)
{
    switch (shape) {
    case DesignShape::Pipe:
        return tr("straight pipe under internal pressure: t = P·D / (2·(S·E·W + P·Y))");
    case DesignShape::Shell:
        return tr("cylindrical shell, circumferential stress: t = P·R / (S·E − 0.6·P)");
    case DesignShape::Head:
        break;
    }
    return tr("2:1 ellipsoidal head: t = P·D / (2·S·E − 0.2·P)");
}

QString CDesignMinimum::sizeSymbol(DesignShape shape)
{
    return shape == DesignShape::Shell ? QStringLiteral("R") : QStringLiteral("D");
}

QString CDesignMinimum::derivation(const DesignData &design, int decimals, QChar separator)
{
    const auto shown = [separator](const QString &number) {
        return QString(number).replace(QLatin1Char('.'), separator);
    };
    const auto input = [&shown](const QString &symbol, double value) {
        return symbol + QStringLiteral(" = ") + shown(figure(value));
    };
    QStringList inputs{
        input(QStringLiteral("P"), design.pressure), input(sizeSymbol(design.shape), design.size),
        input(QStringLiteral("S"), design.stress), input(QStringLiteral("E"), design.joint)};
    if (design.shape == DesignShape::Pipe)
        inputs << input(QStringLiteral("W"), design.weld) << input(QStringLiteral("Y"), design.y);
    return tr("%1, with %2: pressure thickness %3, structural minimum %4, minimum allowable %5")
        .arg(formula(design.shape), inputs.join(QStringLiteral("; ")),
             shown(QString::number(pressureThickness(design), 'f', decimals)),
             shown(QString::number(design.structural, 'f', decimals)),
             shown(QString::number(minimum(design), 'f', decimals)));
}

QString CDesignMinimum::text(const DesignData &design)
{
    return QStringLiteral("%1 P=%2 %3=%4 S=%5 E=%6 W=%7 Y=%8 T=%9")
        .arg(shapeName(design.shape), figure(design.pressure), sizeSymbol(design.shape),
             figure(design.size), figure(design.stress), figure(design.joint), figure(design.weld),
             figure(design.y), figure(design.structural));
}

std::optional<DesignData> CDesignMinimum::fromText(const QString &text)
{
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    DesignData design;
    const std::optional<DesignShape> shape = shapeNamed(words.value(0));
    if (!shape || words.size() != 8)
        return std::nullopt;
    design.shape = *shape;
    double *const values[] = {&design.pressure, &design.size, &design.stress,    &design.joint,
                              &design.weld,     &design.y,    &design.structural};
    for (int i = 0; i < 7; ++i) {
        bool ok = false;
        *values[i] = words.at(i + 1).section(QLatin1Char('='), 1).toDouble(&ok);
        if (!ok)
            return std::nullopt;
    }
    return problemOf(design).isEmpty() ? std::optional<DesignData>(design) : std::nullopt;
}
