// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/measurementrecord.h"

namespace
{

int decimalsOf(int divisor)
{
    switch (divisor) {
    case 10:
        return 1;
    case 100:
        return 2;
    case 1000:
        return 3;
    case 10000:
        return 4;
    default:
        return 2;
    }
}

} // namespace

int resultDecimals(const MeasurementRecord &record)
{
    return record.divisor == 0 || record.divisor == 1 ? 0 : decimalsOf(record.divisor);
}

double resultValue(const MeasurementRecord &record)
{
    return record.divisor == 0 ? double(record.rawValue)
                               : double(record.rawValue) / double(record.divisor);
}

QString formatResult(const MeasurementRecord &record)
{
    const int decimals = resultDecimals(record);
    return decimals == 0 ? QString::number(record.rawValue)
                         : QString::number(resultValue(record), 'f', decimals);
}
