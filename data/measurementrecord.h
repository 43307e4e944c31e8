#pragma once

#include <QString>

// One stored measurement. The defaults are what a lookup starts from before it fills the record.
struct MeasurementRecord {
    int group = 0;
    int cell = 0;
    int rawValue = 0;
    int divisor = 1;
    int mode = 3;
    int unit = 2;
    bool hasAScan = false;
};

// The record's value as text with a point and as many decimals as the divisor implies.
QString formatResult(const MeasurementRecord &record);
