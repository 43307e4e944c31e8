// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

// Byte ring buffer whose control block (read, write, start, capacity) sits in the first 16 bytes
// of its storage, so it works on storage of its own or on a block the caller supplies.
// One byte always stays free, so a buffer of capacity C holds at most C - 1 bytes.
class KCyclicBuffer
{
public:
    static constexpr int kControlSize = 16;

    KCyclicBuffer() = default;
    KCyclicBuffer(const KCyclicBuffer &) = delete;
    KCyclicBuffer &operator=(const KCyclicBuffer &) = delete;
    virtual ~KCyclicBuffer();

    // storage null: allocate size + 16 bytes, capacity size. Otherwise use the caller's block of
    // size bytes, capacity size - 16. A block too small for the control block leaves no storage.
    void init(void *storage, int size);
    void clear();
    int used() const;
    int capacity() const;
    int write(const void *data, int n);
    int read(void *out, int n);

private:
    enum Word { Read, Write, Start, Capacity };

    // The control words are offsets from the block start; memcpy keeps caller blocks of any
    // alignment legal.
    std::uint32_t word(Word w) const;
    void setWord(Word w, std::uint32_t value);
    void release();
    // Moves count bytes at ring offset `offset` in at most two pieces (up to the end of the data
    // area, then from its start) and returns the offset after them.
    template <typename Copy> std::uint32_t transfer(std::uint32_t offset, int count, Copy copy);

    std::uint8_t *control = nullptr;
    std::uint8_t *ownedStorage = nullptr;
    std::uint8_t *end = nullptr;
};
