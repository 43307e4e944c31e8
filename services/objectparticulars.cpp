// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/objectparticulars.h"

#include "archive/archive.h"
#include "format/zrdata.h"

QList<int> CObjectParticulars::groupsOf(const CZRData &data)
{
    QList<int> groups;
    for (int g = 0; g < CZRData::kMaxGroups; ++g) {
        if (!data.groups[g].empty())
            groups << g + 1;
    }
    return groups;
}

QMap<QString, QString> CObjectParticulars::of(CArchive &archive, const CZRData &data,
                                              QString *problem)
{
    QMap<QString, QString> values;
    for (int group : groupsOf(data)) {
        const QMap<QString, QString> own = archive.particulars(group, problem);
        for (auto it = own.cbegin(); it != own.cend(); ++it) {
            if (!values.contains(it.key()))
                values.insert(it.key(), it.value());
        }
    }
    return values;
}

bool CObjectParticulars::remember(CArchive &archive, const CZRData &data,
                                  const QMap<QString, QString> &values, const QDateTime &at,
                                  QString *problem)
{
    for (int group : groupsOf(data)) {
        if (!archive.setParticulars(group, values, at, problem))
            return false;
    }
    return true;
}
