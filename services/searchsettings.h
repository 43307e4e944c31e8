// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

// The ports the device search may try, kept in the program's own settings
// ($XDG_CONFIG_HOME/collatrix/collatrix.ini, key search/ports), not in the settings file beside
// the program. Written as a list such as "3,5-7"; empty or "all" lets the search try every port.
class CSearchSettings
{
public:
    static QList<int> ports();
    // False with the reason in *problem when the settings cannot be written.
    static bool setPorts(const QList<int> &ports, QString *problem);

    // False when the text is not such a list; port numbers run from 1 to 499.
    static bool parse(const QString &text, QList<int> *ports);
    static QString format(const QList<int> &ports);
};
