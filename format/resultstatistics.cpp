// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/resultstatistics.h"

#include "format/zrdata.h"

#include <QMap>

#include <algorithm>

namespace
{

void add(GroupStatistics *s, const MeasurementRecord &record)
{
    const double value = resultValue(record);
    s->minimum = s->count == 0 ? value : std::min(s->minimum, value);
    s->maximum = s->count == 0 ? value : std::max(s->maximum, value);
    // Results have at most three decimals, so thousandths add up without rounding.
    s->thousandthsSum += qint64(record.rawValue) * 1000 / std::max(record.divisor, 1);
    s->decimals = std::max(s->decimals, resultDecimals(record));
    ++s->count;
}

// The mean at the shown decimals, rounded half up, so 10.1 and 10.2 give 10.2 as by hand.
double meanOf(const GroupStatistics &s)
{
    qint64 scale = 1;
    for (int d = 0; d < s.decimals; ++d)
        scale *= 10;
    const qint64 doubled = 2 * s.thousandthsSum * scale;
    const qint64 divisor = 2 * 1000 * qint64(s.count);
    const qint64 rounded = (doubled + (doubled >= 0 ? 1000 : -1000) * s.count) / divisor;
    return double(rounded) / double(scale);
}

} // namespace

QList<GroupStatistics> CResultStatistics::compute(const CZRData &data, const QList<int> &rows,
                                                  bool includeEmpty)
{
    QMap<int, QList<GroupStatistics>> byGroup;
    if (includeEmpty) {
        for (int g = 1; g <= data.groupCount; ++g)
            byGroup[g];
    }
    for (int row : rows) {
        MeasurementRecord record;
        if (!data.recordAt(row, &record))
            continue;
        QList<GroupStatistics> &units = byGroup[record.group];
        auto s = std::find_if(units.begin(), units.end(), [&record](const GroupStatistics &u) {
            return u.unit == record.unit;
        });
        if (s == units.end())
            s = units.insert(units.end(), GroupStatistics{record.group, record.unit});
        add(&*s, record);
    }
    QList<GroupStatistics> all;
    for (auto g = byGroup.cbegin(); g != byGroup.cend(); ++g) {
        if (g->isEmpty())
            all.append(GroupStatistics{g.key(), UnitMillimetres});
        for (GroupStatistics s : *g) {
            s.mean = meanOf(s);
            all.append(s);
        }
    }
    return all;
}

QString CResultStatistics::number(double value, int decimals, QChar separator)
{
    return QString::number(value, 'f', decimals).replace(QLatin1Char('.'), separator);
}
