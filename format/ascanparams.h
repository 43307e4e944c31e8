// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Sizes of the tester's A-scan reply: 240 sample bytes (the last one is not part of the trace)
// followed by a 144-byte parameter area.
constexpr int kAScanTraceLength = 239;
constexpr int kAScanSampleBytes = 240;
constexpr int kAScanParamBytes = 144;
constexpr int kAScanReplySize = kAScanSampleBytes + kAScanParamBytes;

// Drawing parameters of one A-scan trace; positions are sample indexes, levels are amplitudes.
struct AScanParams {
    double rangeStart = 0.0;
    double rangeEnd = 0.0;
    bool mark1Shown = false;
    int mark1Level = 0;
    int mark1Position = 0;
    bool mark2Shown = false;
    int mark2Level = 0;
    int mark2Position = 0;
    int gateStart = 0;
    int gateEnd = 0;
    int gateLevel = 0;
};

// Reads the 144-byte parameter area of an A-scan reply.
AScanParams parseAScanParams(const std::uint8_t *area);

// Fills the 239-sample trace and the parameters from a reply of at least 384 bytes; only the
// first 384 are read. Either output may be null. False when the reply is too short.
bool parseAScanReply(const std::uint8_t *reply, int size, signed short *trace, AScanParams *params);
