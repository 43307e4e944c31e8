// SPDX-License-Identifier: GPL-3.0-or-later
#include "ascansynthesizer.h"

#include "format/ascanparams.h"
#include "testerrandom.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{

constexpr int kLastSample = kAScanTraceLength - 1;
constexpr double kPi = 3.14159265358979323846;

// Depth ranges a gauge offers: 1, 1.5, 2, 2.5, 3, 4, 5, 6, 8 times a power of ten.
double niceRangeAbove(double value)
{
    static const double steps[] = {1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0, 8.0, 10.0};
    const double decade = std::pow(10.0, std::floor(std::log10(value)));
    for (double s : steps) {
        if (s * decade >= value)
            return s * decade;
    }
    return 10.0 * decade;
}

struct Pulse {
    double position;
    double amplitude;
    double width;    // envelope half-width in samples
    double halfWave; // samples per rectified lobe
};

// A full-wave rectified burst whose highest lobe sits exactly on its position.
double pulseAt(const Pulse &p, int i)
{
    const double d = i - p.position;
    return p.amplitude * std::exp(-(d * d) / (p.width * p.width)) *
           std::fabs(std::cos(kPi * d / p.halfWave));
}

void putHundredths24(QByteArray &b, int offset, double value)
{
    const int v = int(std::lround(value * 100.0));
    b[offset] = char(v & 0xFF);
    b[offset + 1] = char((v >> 8) & 0xFF);
    b[offset + 2] = char((v >> 16) & 0xFF);
}

int levelBelowTop(int amplitude)
{
    return std::clamp(CAScanSynthesizer::kScreenTop - amplitude, 0, 255);
}

struct Trace {
    std::vector<int> samples = std::vector<int>(kAScanSampleBytes, 0);
    std::vector<int> echoes; // sample positions of the back-wall echoes inside the picture
};

Trace synthesizeTrace(double thickness, double rangeEnd, CTesterRandom &rng)
{
    const double halfWave = rng.uniform(2.0, 2.8);
    std::vector<Pulse> pulses;
    // The initial pulse saturates the receiver, so it is cut at the top of the screen.
    pulses.push_back({0.0, rng.uniform(150.0, 190.0), rng.uniform(7.0, 10.0), halfWave});
    const double first = rng.uniform(80.0, 108.0);
    const double decay = rng.uniform(0.35, 0.8);
    Trace t;
    for (int n = 1;; ++n) {
        const double position =
            std::round(CAScanSynthesizer::sampleAt(n * thickness, 0.0, rangeEnd));
        if (position > kLastSample)
            break;
        t.echoes.push_back(int(position));
        pulses.push_back(
            {position, first * std::exp(-decay * (n - 1)), rng.uniform(3.0, 4.5), halfWave});
    }
    const double grass = rng.uniform(2.0, 5.0);
    for (int i = 0; i < kAScanSampleBytes; ++i) {
        double v = 1.0 + rng.uniform(0.0, grass);
        for (const Pulse &p : pulses)
            v = std::max(v, pulseAt(p, i) + rng.uniform(0.0, 2.0));
        t.samples[i] = std::clamp(int(std::lround(v)), 0, CAScanSynthesizer::kScreenTop + 9);
    }
    // The echo peaks stay the highest samples of their echo, whatever the noise added.
    for (int e : t.echoes) {
        const int peak = std::max(t.samples[e - 1], t.samples[e + 1]) + 1;
        t.samples[e] = std::max(t.samples[e], peak);
    }
    return t;
}

QByteArray replyBytes(const std::vector<int> &samples)
{
    QByteArray b(kAScanReplySize, '\0');
    for (int i = 0; i < kAScanSampleBytes; ++i)
        b[i] = char(samples[i]);
    return b;
}

} // namespace

double CAScanSynthesizer::sampleAt(double depth, double rangeStart, double rangeEnd)
{
    return (depth - rangeStart) / (rangeEnd - rangeStart) * kAScanTraceLength;
}

QByteArray CAScanSynthesizer::reply(const TesterRecord &record, std::uint64_t seed)
{
    CTesterRandom rng(seed, record.group, record.cell, 3);
    const double thickness = record.thickness();
    // Between one and about three echoes fit the range the operator chose.
    const double rangeEnd = niceRangeAbove(thickness * rng.uniform(1.25, 3.3));
    const Trace t = synthesizeTrace(thickness, rangeEnd, rng);
    QByteArray b = replyBytes(t.samples);
    char *area = b.data() + kAScanSampleBytes;
    const int e1 = t.echoes.front();
    area[0] = char(e1);
    area[1] = char(levelBelowTop(t.samples[e1]));
    if (t.echoes.size() > 1) {
        const int e2 = t.echoes[1];
        area[2] = char(e2);
        area[3] = char(levelBelowTop(t.samples[e2]));
    } else {
        area[5] = 1;
    }
    area[6] = char(std::max(0, e1 - rng.between(5, 10)));
    area[7] = char(std::min(kLastSample, e1 + rng.between(6, 12)));
    area[8] = char(levelBelowTop(int(t.samples[e1] * rng.uniform(0.3, 0.5))));
    putHundredths24(b, kAScanSampleBytes + 9, 0.0);
    putHundredths24(b, kAScanSampleBytes + 12, rangeEnd);
    return b;
}

QByteArray CAScanSynthesizer::flatReply()
{
    QByteArray b = replyBytes(std::vector<int>(kAScanSampleBytes, 0));
    char *area = b.data() + kAScanSampleBytes;
    area[4] = 1;
    area[5] = 1;
    putHundredths24(b, kAScanSampleBytes + 12, 10.0);
    return b;
}
