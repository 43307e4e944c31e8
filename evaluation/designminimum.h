// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "evaluation/designdata.h"

#include <QCoreApplication>
#include <QString>

#include <optional>

// The minimum allowable thickness from the design: the pressure design thickness of the code's
// formula for the shape, or the structural minimum where that is larger.
class CDesignMinimum
{
    Q_DECLARE_TR_FUNCTIONS(CDesignMinimum)

public:
    static double pressureThickness(const DesignData &design);
    static double minimum(const DesignData &design);
    // Why the data give no thickness (a zero or negative denominator, a missing input); empty
    // when they do.
    static QString problemOf(const DesignData &design);

    // The shape as the archive and the command line name it: pipe, shell, head.
    static QString shapeName(DesignShape shape);
    static std::optional<DesignShape> shapeNamed(const QString &name);
    // The formula in words and symbols, for the window and the report.
    static QString formula(DesignShape shape);
    // The inputs, the formula and both thicknesses in a line, the thicknesses with the given
    // decimals, every figure with the given decimal separator.
    static QString derivation(const DesignData &design, int decimals,
                              QChar separator = QLatin1Char('.'));

    // How the archive keeps the data: "pipe P=2 D=168.3 S=138 E=1 W=1 Y=0.4 T=0".
    static QString text(const DesignData &design);
    static std::optional<DesignData> fromText(const QString &text);

private:
    static QString sizeSymbol(DesignShape shape);
};
