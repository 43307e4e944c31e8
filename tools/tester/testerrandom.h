// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// A small deterministic generator (splitmix64). The standard distributions differ between
// library versions, so the tester draws its numbers here to keep a seed's data the same
// everywhere.
class CTesterRandom
{
public:
    explicit CTesterRandom(std::uint64_t seed) : state(seed) {}
    // A stream of its own for one record, so a record's data does not depend on its neighbours.
    CTesterRandom(std::uint64_t seed, int group, int cell, int salt)
        : state(seed * 0x9E3779B97F4A7C15ull ^ std::uint64_t(group) << 40 ^
                std::uint64_t(cell) << 16 ^ std::uint64_t(salt))
    {
        next();
    }

    std::uint64_t next()
    {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // An integer in [low, high].
    int between(int low, int high) { return low + int(next() % std::uint64_t(high - low + 1)); }
    // A real number in [low, high).
    double uniform(double low, double high)
    {
        return low + (high - low) * double(next() >> 11) / double(1ull << 53);
    }
    bool chance(double probability) { return uniform(0.0, 1.0) < probability; }

private:
    std::uint64_t state;
};
