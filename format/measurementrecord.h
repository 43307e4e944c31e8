// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The unit codes a record carries; they index the unit texts.
enum Unit { UnitMetresPerSecond = 0, UnitMicroseconds = 1, UnitMillimetres = 2, UnitInches = 3 };
constexpr int kUnitCount = 4;

// One stored measurement. The defaults are what a lookup starts from before it fills the record.
struct MeasurementRecord {
    int group = 0;
    int cell = 0;
    int rawValue = 0;
    int divisor = 1;
    int mode = 3;
    int unit = UnitMillimetres;
    bool hasAScan = false;
};

// The record's value as text with a point and as many decimals as the divisor implies.
QString formatResult(const MeasurementRecord &record);
int resultDecimals(const MeasurementRecord &record);
double resultValue(const MeasurementRecord &record);
