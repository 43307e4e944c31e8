// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

// The statistical rate of a point: the straight line through its thickness against time by
// ordinary least squares, with the standard error of its slope and a one-sided 95 % upper bound
// on the rate (Student's t with n − 2 degrees of freedom).
class CLeastSquares
{
public:
    struct Sample {
        double years;
        double thickness;
    };
    struct Fit {
        double rate;
        double error;
        double upper;
    };

    static constexpr int kMinimumSamples = 3;
    static constexpr double kMinimumSpanYears = 1.0;

    // None with fewer than three samples or a span under a year.
    static std::optional<Fit> fit(const std::vector<Sample> &samples);
};
