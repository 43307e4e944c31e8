// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "testerrecord.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <vector>

// The results memory of the simulated tester: the dump bytes exactly as the device streams
// them, and an index of the stored readings, for the A-scan requests that name a group and a
// cell.
class CTesterMemory
{
public:
    // The host's receive ring holds one byte less than this.
    static constexpr int kMaxDumpSize = 2499999;

    // Why a generated memory with these settings cannot exist; empty when it can.
    static QString checkGeneration(int layout, int groups, int cells);
    // A plausible memory of groups x cells readings, the same for the same seed. A valid time
    // taken is kept in each 32-byte record as the time the reading was saved (layout 3).
    static CTesterMemory generate(int layout, int groups, int cells, std::uint64_t seed,
                                  const QDateTime &taken = QDateTime());
    // The readings of a survey as a list, a line "group;cell;thickness in mm" each (blank lines
    // left out), for a memory of layout 2 or 3. False with the reason.
    static bool readReadings(const QByteArray &text, int layout, std::vector<TesterRecord> *out,
                             QString *error);
    // A memory holding exactly these readings in this order, fine millimetres, each with its
    // A-scan in layout 3; the A-scans and the bytes the host does not read follow the seed.
    static CTesterMemory planned(int layout, const std::vector<TesterRecord> &readings,
                                 std::uint64_t seed, const QDateTime &taken);
    // A raw dump. A layout-1 header is recognised; otherwise layoutHint says 2 or 3.
    static CTesterMemory fromDump(const QByteArray &bytes, int layoutHint);

    const QByteArray &bytes() const { return dump; }
    int layout() const { return dumpLayout; }
    // Only a memory of 32-byte records answers the extended probe.
    bool isExtended() const { return dumpLayout == 3; }
    // The stored readings in memory order; empty slots are left out.
    const std::vector<TesterRecord> &records() const { return index; }

    // The block count in the header, as the host reads it for its progress.
    int announcedBlocks() const;
    // The byte count at which the host's progress reaches 100 % and it stops reading.
    int receptionBoundary() const;
    // The first record whose (group - 1) and (cell - 1) have these low 8 bits, as the A-scan
    // request carries them.
    bool findRecord(int groupByte, int cellByte, TesterRecord *out) const;

private:
    CTesterMemory(const QByteArray &bytes, int layout, std::vector<TesterRecord> records);

    QByteArray dump;
    int dumpLayout;
    std::vector<TesterRecord> index;
};
