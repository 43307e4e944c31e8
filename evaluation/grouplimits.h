// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The limits of one object (group), in the unit of its thickness readings. A warning margin of
// 0 means none: a reading is then either below its minimum or ok.
struct GroupLimits {
    double nominal = 0.0;
    double minimum = 0.0;
    double warning = 0.0;
};
