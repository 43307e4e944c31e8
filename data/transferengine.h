// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "format/keptdownload.h"

#include <QString>

#include <cstdint>
#include <functional>

class CKVTUSTester;

// One download as every front end runs it: the start command, one reception step per 500 ms
// tick with the end rule, and the outcome the user is told. The window drives it from its
// timer; the command-line tool, the benchmark and the soak let run() do the ticking.
class CTransferEngine
{
public:
    static constexpr int kTickMs = 500;
    // Once the count is reached, the reception ends when the line has been quiet this long:
    // many character times at 38400 baud, and longer than a USB adapter holds back a packet.
    static constexpr int kQuietMs = 20;
    static constexpr int kQuietStepMs = 5;
    // After the count is reached the reception goes on until a whole tick brings nothing: a
    // device may pause before its last bytes (reading its next memory page, an infrared link
    // that stalls). While the dump's own structure says bytes are missing, it waits this many
    // quiet ticks before it gives up on them.
    static constexpr int kMissingWaitTicks = 4;

    enum class Step {
        Waiting,   // nothing arrived and nothing was announced, or a stray chunk was dropped
        Receiving, // bytes came and the count is not reached
        Ended,     // the count was reached, or a tick brought nothing
    };
    enum class Outcome { Failed, NoMeasurements, Incomplete, Completed };

    explicit CTransferEngine(CKVTUSTester *tester);

    bool start();
    void stop();
    // One tick. Once 100 % is reached the steps go on receiving until a tick is quiet, so the
    // last bytes of a dump still on the way are not lost; each step that brings bytes reads on
    // until the line is quiet for a moment.
    Step step(int *progress);
    // Ticks until the reception ends and stops it; report sees every step that is not waiting.
    // Returns the last progress.
    int run(const std::function<void(int progress, int bytes)> &report = {});

    // At least one chunk has been accepted since the start.
    bool active() const { return accepted; }
    int bytesReceived() const { return bytes; }

    static Step classify(bool got, int progress);
    static Outcome outcome(bool decoded, int groupCount, int progress);
    // What was received, to be kept: the dump with the time, the port and the protocol.
    CKeptDownload reception(const std::uint8_t *dump, int size) const;
    // The outcome as a kept download records it.
    static QString outcomeName(Outcome outcome);

private:
    int pollOnce(int *progress);
    void readTail(int *progress);
    Step tailStep(bool got);

    CKVTUSTester *tester;
    bool accepted = false;
    int bytes = 0;
    // The count has been reached; quietTicks counts the ticks since bytes last came.
    bool inTail = false;
    int quietTicks = 0;
};
