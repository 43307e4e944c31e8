// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/programsettings.h"

QSettings CProgramSettings::open()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("collatrix"),
                     QStringLiteral("collatrix"));
}
