// SPDX-License-Identifier: GPL-3.0-or-later
#include "evaluation/leastsquares.h"

#include "evaluation/studentt.h"

#include <algorithm>
#include <cmath>

std::optional<CLeastSquares::Fit> CLeastSquares::fit(const std::vector<Sample> &samples)
{
    const auto n = int(samples.size());
    if (n < kMinimumSamples)
        return std::nullopt;
    const auto [first, last] =
        std::minmax_element(samples.cbegin(), samples.cend(),
                            [](const Sample &a, const Sample &b) { return a.years < b.years; });
    if (last->years - first->years < kMinimumSpanYears)
        return std::nullopt;
    double meanX = 0.0;
    double meanY = 0.0;
    for (const Sample &s : samples) {
        meanX += s.years / n;
        meanY += s.thickness / n;
    }
    double sxx = 0.0;
    double sxy = 0.0;
    for (const Sample &s : samples) {
        sxx += (s.years - meanX) * (s.years - meanX);
        sxy += (s.years - meanX) * (s.thickness - meanY);
    }
    const double slope = sxy / sxx;
    double residuals = 0.0;
    for (const Sample &s : samples) {
        const double r = s.thickness - (meanY + slope * (s.years - meanX));
        residuals += r * r;
    }
    const double error = std::sqrt(residuals / (n - 2) / sxx);
    return Fit{-slope, error, -slope + CStudentT::upper95(n - 2) * error};
}
