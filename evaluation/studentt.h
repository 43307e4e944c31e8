// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Student's t distribution, as far as the least-squares bound needs it. Computed here from the
// regularized incomplete beta function rather than taken from a library: Boost's headers would
// be a large build dependency for one quantile, and one the Windows cross-compile cannot see.
class CStudentT
{
public:
    // P(T ≤ t) for degreesOfFreedom > 0.
    static double cdf(double t, int degreesOfFreedom);
    // The t with P(T ≤ t) = p, for 0.5 ≤ p < 1.
    static double quantile(double p, int degreesOfFreedom);
    // quantile(0.95, n), remembered for the degrees of freedom a point's surveys give.
    static double upper95(int degreesOfFreedom);
};
