// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/searchsettings.h"

#include "device/kvtustester.h"
#include "services/programsettings.h"

#include <algorithm>

namespace
{

const QString kPortsKey = QStringLiteral("search/ports");

bool parseRange(const QString &item, QList<int> *ports)
{
    const QStringList ends = item.split('-');
    bool firstOk = false;
    bool lastOk = false;
    const int first = ends.first().trimmed().toInt(&firstOk);
    const int last = ends.last().trimmed().toInt(&lastOk);
    if (ends.size() > 2 || !firstOk || !lastOk || first < 1 || last < first ||
        last >= CKVTUSTester::kPortSlots)
        return false;
    for (int n = first; n <= last; ++n)
        ports->append(n);
    return true;
}

} // namespace

QList<int> CSearchSettings::ports()
{
    QList<int> list;
    return parse(CProgramSettings::open().value(kPortsKey).toString(), &list) ? list : QList<int>();
}

bool CSearchSettings::setPorts(const QList<int> &ports, QString *problem)
{
    return CProgramSettings::set(kPortsKey, ports.isEmpty() ? QVariant() : format(ports), problem);
}

bool CSearchSettings::parse(const QString &text, QList<int> *ports)
{
    ports->clear();
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed == QStringLiteral("all"))
        return true;
    for (const QString &item : trimmed.split(',')) {
        if (!parseRange(item, ports)) {
            ports->clear();
            return false;
        }
    }
    std::sort(ports->begin(), ports->end());
    ports->erase(std::unique(ports->begin(), ports->end()), ports->end());
    return true;
}

// Runs of neighbours are written as ranges.
QString CSearchSettings::format(const QList<int> &ports)
{
    QStringList items;
    for (int i = 0; i < ports.size();) {
        int j = i;
        while (j + 1 < ports.size() && ports[j + 1] == ports[j] + 1)
            ++j;
        items.append(j == i ? QString::number(ports[i])
                            : QStringLiteral("%1-%2").arg(ports[i]).arg(ports[j]));
        i = j + 1;
    }
    return items.join(',');
}
