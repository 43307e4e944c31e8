// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "format/ascanparams.h"

#include <QByteArray>
#include <QMap>
#include <QVector>

// One A-scan fetched from the tester: its drawing parameters, its samples and the reply they
// were read from (kept with the download).
struct AScanEntry {
    AScanParams params;
    QVector<signed short> trace;
    QByteArray reply;
};

// The A-scan held for a table row, or null.
inline const AScanEntry *aScanOfRow(const QMap<int, AScanEntry> &aScans, int row)
{
    const auto entry = aScans.constFind(row);
    return entry == aScans.cend() ? nullptr : &*entry;
}
