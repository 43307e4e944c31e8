// SPDX-License-Identifier: GPL-3.0-or-later
#include "evaluation/readingchecks.h"

namespace
{

// Readings are decimals held in doubles: 10.7 + 0.5 must not come out above 11.2.
constexpr double kRounding = 1e-9;

} // namespace

ReadingCheck CReadingChecks::check(double thickness, std::optional<double> previousCounted,
                                   ReadingDecision decision, double tolerance)
{
    if (decision == ReadingDecision::Rejected)
        return ReadingCheck::Rejected;
    ReadingCheck found = ReadingCheck::Counted;
    if (previousCounted && thickness - *previousCounted > tolerance + kRounding)
        found = ReadingCheck::SuspectThicker;
    else if (previousCounted && thickness < kHalfRatio * *previousCounted - kRounding)
        found = ReadingCheck::SuspectHalf;
    if (found != ReadingCheck::Counted && decision == ReadingDecision::Verified)
        return ReadingCheck::Verified;
    return found;
}

std::vector<ReadingCheck> CReadingChecks::checkAll(const std::vector<const PointReading *> &ordered,
                                                   double tolerance,
                                                   std::vector<ReadingCheck> *findings)
{
    std::vector<ReadingCheck> checks;
    checks.reserve(ordered.size());
    std::optional<double> previous;
    for (const PointReading *reading : ordered) {
        const double thickness = reading->value();
        checks.push_back(check(thickness, previous, reading->decision, tolerance));
        if (findings != nullptr)
            findings->push_back(check(thickness, previous, ReadingDecision::None, tolerance));
        if (counts(checks.back()))
            previous = thickness;
    }
    return checks;
}
