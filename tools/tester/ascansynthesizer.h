// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "testerrecord.h"

#include <QByteArray>
#include <cstdint>

// Builds the 384-byte A-scan reply of the simulated tester: a rectified ultrasonic trace with
// the initial pulse at the left and back-wall echoes where the record's thickness lies, and the
// parameter area with the depth range, the gate and the markers.
class CAScanSynthesizer
{
public:
    // Full-scale amplitude of the gauge's screen. The host draws the gate and marker levels
    // downwards from the top of the picture, so the gauge sends them as the distance below
    // this full scale: a marker on a peak of amplitude a has the level kScreenTop - a.
    static constexpr int kScreenTop = 118;

    // The reply for a thickness record (mm or inches); the same for the same record and seed.
    static QByteArray reply(const TesterRecord &record, std::uint64_t seed);
    // What the gauge sends for a group and cell that hold no A-scan: a flat trace.
    static QByteArray flatReply();
    // The sample at which a depth lies when the trace spans rangeStart..rangeEnd.
    static double sampleAt(double depth, double rangeStart, double rangeEnd);
};
