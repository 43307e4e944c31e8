#include "measurementrecord.h"

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
    default:
        return 2;
    }
}

} // namespace

QString formatResult(const MeasurementRecord &record)
{
    if (record.divisor == 0 || record.divisor == 1)
        return QString::number(record.rawValue);
    const double value = double(record.rawValue) / double(record.divisor);
    return QString::number(value, 'f', decimalsOf(record.divisor));
}
