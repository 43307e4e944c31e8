// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/cyclicbuffer.h"

#include <algorithm>
#include <cstring>

KCyclicBuffer::~KCyclicBuffer()
{
    release();
}

void KCyclicBuffer::release()
{
    delete[] ownedStorage;
    ownedStorage = nullptr;
    control = nullptr;
    end = nullptr;
}

std::uint32_t KCyclicBuffer::word(Word w) const
{
    std::uint32_t v;
    std::memcpy(&v, control + 4 * w, sizeof v);
    return v;
}

void KCyclicBuffer::setWord(Word w, std::uint32_t value)
{
    std::memcpy(control + 4 * w, &value, sizeof value);
}

void KCyclicBuffer::init(void *storage, int size)
{
    release();
    int cap = 0;
    if (storage == nullptr) {
        if (size < 1)
            return;
        ownedStorage = new std::uint8_t[std::size_t(size) + kControlSize];
        control = ownedStorage;
        cap = size;
    } else {
        if (size <= kControlSize)
            return;
        control = static_cast<std::uint8_t *>(storage);
        cap = size - kControlSize;
    }
    setWord(Start, kControlSize);
    setWord(Capacity, std::uint32_t(cap));
    end = control + kControlSize + cap;
    clear();
}

void KCyclicBuffer::clear()
{
    if (control == nullptr)
        return;
    setWord(Read, kControlSize);
    setWord(Write, kControlSize);
}

int KCyclicBuffer::capacity() const
{
    return control == nullptr ? 0 : int(word(Capacity));
}

int KCyclicBuffer::used() const
{
    if (control == nullptr)
        return 0;
    const std::uint32_t r = word(Read);
    const std::uint32_t w = word(Write);
    return int(r <= w ? w - r : word(Capacity) - (r - w));
}

template <typename Copy>
std::uint32_t KCyclicBuffer::transfer(std::uint32_t offset, int count, Copy copy)
{
    std::uint8_t *pos = control + offset;
    const int first = int(std::min<std::ptrdiff_t>(count, end - pos));
    copy(pos, 0, first);
    pos += first;
    if (pos == end)
        pos = control + word(Start);
    copy(pos, first, count - first);
    return std::uint32_t(pos + (count - first) - control);
}

int KCyclicBuffer::write(const void *data, int n)
{
    const int count = std::min(n, capacity() - used() - 1);
    if (count <= 0)
        return 0;
    const auto *src = static_cast<const std::uint8_t *>(data);
    setWord(Write, transfer(word(Write), count, [src](std::uint8_t *ring, int done, int len) {
                std::memcpy(ring, src + done, std::size_t(len));
            }));
    return count;
}

int KCyclicBuffer::read(void *out, int n)
{
    const int count = std::min(n, used());
    if (count <= 0)
        return 0;
    auto *dst = static_cast<std::uint8_t *>(out);
    setWord(Read, transfer(word(Read), count, [dst](std::uint8_t *ring, int done, int len) {
                std::memcpy(dst + done, ring, std::size_t(len));
            }));
    return count;
}
