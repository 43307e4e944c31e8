// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSettings>

// The program's own settings ($XDG_CONFIG_HOME/collatrix/collatrix.ini), apart from the settings
// file beside the program.
class CProgramSettings
{
public:
    static QSettings open();
    // Sets one value, or removes the key for a null value, and writes the file at once (whole,
    // through a temporary file); false with the reason in *problem.
    static bool set(const QString &key, const QVariant &value, QString *problem);
};
