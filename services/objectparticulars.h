// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>

class CArchive;
class CZRData;

// The report particulars of the objects (groups) a download holds, as the archive remembers
// them, so that the next survey of an object starts from the last values.
class CObjectParticulars
{
public:
    static QList<int> groupsOf(const CZRData &data);
    // The latest values of the download's groups; where two groups differ, the lower one's.
    static QMap<QString, QString> of(CArchive &archive, const CZRData &data, QString *problem);
    // Remembers the values for every group of the download; an empty value forgets its key.
    static bool remember(CArchive &archive, const CZRData &data,
                         const QMap<QString, QString> &values, const QDateTime &at,
                         QString *problem);
};
