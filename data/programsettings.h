// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSettings>

// The program's own settings ($XDG_CONFIG_HOME/collatrix/collatrix.ini), apart from the settings
// file beside the program.
class CProgramSettings
{
public:
    static QSettings open();
};
