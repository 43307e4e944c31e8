// SPDX-License-Identifier: GPL-3.0-or-later
#include "frameparser.h"

const QByteArray CFrameParser::kMagic("KVT M47T");

bool CFrameParser::next(CommandFrame *out)
{
    const int start = int(pending.indexOf(kMagic));
    if (start < 0) {
        // Keep a tail that may still become the start of a frame.
        skip(std::max(0, int(pending.size()) - int(kMagic.size()) + 1));
        return false;
    }
    skip(start);
    if (pending.size() < kHeaderSize)
        return false;
    const int length = quint8(pending[10]);
    if (pending.size() < kHeaderSize + length)
        return false;
    out->code = quint8(pending[8]);
    out->param = quint8(pending[9]);
    out->payload = pending.mid(kHeaderSize, length);
    pending.remove(0, kHeaderSize + length);
    return true;
}

int CFrameParser::takeSkipped()
{
    const int n = skipped;
    skipped = 0;
    return n;
}

void CFrameParser::skip(int count)
{
    pending.remove(0, count);
    skipped += count;
}
