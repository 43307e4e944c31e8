#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

// Exactly sized byte vectors, so AddressSanitizer catches a read past the end.
using Bytes = std::vector<std::uint8_t>;

inline Bytes bytes(std::initializer_list<int> values)
{
    Bytes b;
    for (int v : values)
        b.push_back(static_cast<std::uint8_t>(v));
    return b;
}

inline Bytes operator+(Bytes a, const Bytes &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes zeros(int n)
{
    return Bytes(static_cast<std::size_t>(n), 0);
}
