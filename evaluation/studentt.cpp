// SPDX-License-Identifier: GPL-3.0-or-later
#include "evaluation/studentt.h"

#include <array>
#include <cmath>
#include <limits>

namespace
{

constexpr int kIterations = 300;
constexpr double kEpsilon = 1e-15;
constexpr double kTiny = 1e-300;
constexpr int kRemembered = 128;

// The continued fraction of the incomplete beta function, by the modified Lentz method.
double betaFraction(double a, double b, double x)
{
    double c = 1.0;
    double d = 1.0 - (a + b) * x / (a + 1.0);
    d = 1.0 / (std::abs(d) < kTiny ? kTiny : d);
    double h = d;
    for (int m = 1; m <= kIterations; ++m) {
        for (const double coefficient :
             {m * (b - m) * x / ((a + 2 * m - 1) * (a + 2 * m)),
              -(a + m) * (a + b + m) * x / ((a + 2 * m) * (a + 2 * m + 1))}) {
            d = 1.0 + coefficient * d;
            d = 1.0 / (std::abs(d) < kTiny ? kTiny : d);
            c = 1.0 + coefficient / c;
            c = std::abs(c) < kTiny ? kTiny : c;
            h *= d * c;
        }
        if (std::abs(d * c - 1.0) < kEpsilon)
            break;
    }
    return h;
}

// The regularized incomplete beta function I_x(a, b).
double incompleteBeta(double a, double b, double x)
{
    if (x <= 0.0)
        return 0.0;
    if (x >= 1.0)
        return 1.0;
    const double front = std::exp(std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) +
                                  a * std::log(x) + b * std::log1p(-x));
    // The fraction converges quickly on this side only; the other side by symmetry.
    if (x < (a + 1.0) / (a + b + 2.0))
        return front * betaFraction(a, b, x) / a;
    return 1.0 - front * betaFraction(b, a, 1.0 - x) / b;
}

} // namespace

double CStudentT::cdf(double t, int degreesOfFreedom)
{
    const double n = degreesOfFreedom;
    const double tail = 0.5 * incompleteBeta(n / 2, 0.5, n / (n + t * t));
    return t >= 0 ? 1.0 - tail : tail;
}

// Bisection: the distribution function is monotone, and a hundred halvings of the bracket leave
// no digit of a double in doubt.
double CStudentT::quantile(double p, int degreesOfFreedom)
{
    double low = 0.0;
    double high = 1.0;
    while (cdf(high, degreesOfFreedom) < p)
        high *= 2;
    for (int i = 0; i < 100; ++i) {
        const double middle = (low + high) / 2;
        (cdf(middle, degreesOfFreedom) < p ? low : high) = middle;
    }
    return (low + high) / 2;
}

double CStudentT::upper95(int degreesOfFreedom)
{
    static const std::array<double, kRemembered> remembered = [] {
        std::array<double, kRemembered> values{};
        values[0] = std::numeric_limits<double>::quiet_NaN();
        for (int n = 1; n < kRemembered; ++n)
            values[size_t(n)] = quantile(0.95, n);
        return values;
    }();
    return degreesOfFreedom < kRemembered ? remembered[size_t(degreesOfFreedom)]
                                          : quantile(0.95, degreesOfFreedom);
}
