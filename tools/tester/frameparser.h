// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// One command from the host: "KVT M47T", code, parameter, payload length, payload.
struct CommandFrame {
    int code = 0;
    int param = 0;
    QByteArray payload;
};

// Cuts command frames out of the bytes the host writes. Bytes that do not form a frame are
// skipped up to the next "KVT M47T", as the gauge's firmware does.
class CFrameParser
{
public:
    static const QByteArray kMagic;
    static constexpr int kHeaderSize = 11;

    void feed(const QByteArray &bytes) { pending += bytes; }
    // Takes the next complete frame; false while none is complete.
    bool next(CommandFrame *out);
    // The count of bytes skipped since the last call.
    int takeSkipped();

private:
    void skip(int count);

    QByteArray pending;
    int skipped = 0;
};
