// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The shared archive of a team, as the window's settings choose it: a URL kept in the
// program's own settings ($XDG_CONFIG_HOME/collatrix/collatrix.ini, key archive/shared), never
// with a password. $COLLATRIX_ARCHIVE, when set, comes first.
class CArchiveSettings
{
public:
    static QString sharedUrl();
    // False with the reason in *problem when the settings cannot be written.
    static bool setSharedUrl(const QString &url, QString *problem);
    // What the program opens: $COLLATRIX_ARCHIVE, else the setting; empty for the embedded file.
    static QString chosenUrl();
};
