// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One stored reading as the tester keeps it in its index, so an A-scan request can find it.
// A layout-1 record is known by its group and cell only.
struct TesterRecord {
    int group = 0;
    int cell = 0;
    int value = 0;
    bool fine = false;
    bool inches = false;
    bool hasAScan = false;

    // The reading in mm or inches: tenths of a mm or hundredths of an inch, ten times finer
    // with the fine flag.
    double thickness() const { return value / ((inches ? 100.0 : 10.0) * (fine ? 10.0 : 1.0)); }

    bool operator==(const TesterRecord &o) const
    {
        return group == o.group && cell == o.cell && value == o.value && fine == o.fine &&
               inches == o.inches && hasAScan == o.hasAScan;
    }
};
