// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "evaluation/pointreading.h"

#include <optional>
#include <vector>

// What the checks made of a reading. A wall does not grow: a reading more than the tolerance
// above the previous counted one is doubted, and so is one under 60 % of it (a doubled echo or a
// lamination), until an engineer verifies it.
enum class ReadingCheck : char { Counted, SuspectThicker, SuspectHalf, Verified, Rejected };

class CReadingChecks
{
public:
    static constexpr double kHalfRatio = 0.6;

    // One reading against the previous counted reading of its point, if there is one.
    static ReadingCheck check(double thickness, std::optional<double> previousCounted,
                              ReadingDecision decision, double tolerance);
    // The readings of one point in time order, each checked against the counted ones before it.
    // findings, when given, gets what each reading was found before any decision on it.
    static std::vector<ReadingCheck> checkAll(const std::vector<const PointReading *> &ordered,
                                              double tolerance,
                                              std::vector<ReadingCheck> *findings = nullptr);
    static bool counts(ReadingCheck check)
    {
        return check == ReadingCheck::Counted || check == ReadingCheck::Verified;
    }
    static bool suspect(ReadingCheck check)
    {
        return check == ReadingCheck::SuspectThicker || check == ReadingCheck::SuspectHalf;
    }
};
