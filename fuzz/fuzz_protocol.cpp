// SPDX-License-Identifier: GPL-3.0-or-later
// The tester conversation over a scripted line: the input is a sequence of steps (bytes
// arriving, polls, transfer start and end with the dump decoded, device searches and A-scan
// requests with scripted answers). After every step the tester must be in a sane state, and
// after every exchange but a running transfer its port must be closed.
#include "device/kvtustester.h"
#include "device/scriptedline.h"
#include "format/ascanparams.h"
#include "format/zrdata.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace
{

enum Step { Arrive, ArriveFill, Poll, Start, Finish, Find, AScan, StepCount };

void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool portClosed(const CKVTUSTester &tester)
{
    return (tester.currentPort == nullptr || !tester.currentPort->isOpen()) &&
           CScriptedLine::instance().portsOpen == 0;
}

void poll(CKVTUSTester &tester)
{
    int progress = -1;
    const int accepted = tester.poll(&progress);
    check(accepted >= 0 && progress >= 0 && progress <= 100);
    check(tester.ringBuffer.used() < CKVTUSTester::kRingCapacity);
}

void finish(CKVTUSTester &tester, bool extended)
{
    tester.stopTransfer();
    check(!tester.busy && portClosed(tester));
    const int expected = tester.ringBuffer.used();
    std::uint8_t *dump = nullptr;
    int size = -1;
    check(tester.takeDump(&dump, &size) == expected && size == expected);
    check(tester.ringBuffer.used() == 0);
    CZRData data;
    data.decodeDump(dump, size, extended);
    check(data.groupCount <= CZRData::kMaxGroups);
}

// A search while an exchange holds the port is refused and changes nothing.
void find(CKVTUSTester &tester)
{
    const bool wasBusy = tester.busy;
    const bool wasFound = tester.deviceFound;
    const bool found = tester.findDevice();
    if (wasBusy) {
        check(!found && tester.busy && tester.deviceFound == wasFound);
        return;
    }
    check(found == tester.deviceFound && !tester.busy && portClosed(tester));
}

void requestAScan(CKVTUSTester &tester, FuzzedDataProvider &in)
{
    const bool wasBusy = tester.busy;
    const int group = in.ConsumeIntegralInRange(0, 300);
    const int cell = in.ConsumeIntegralInRange(0, 70000);
    std::vector<signed short> samples(kAScanSampleBytes + kAScanParamBytes, 0);
    int count = 0;
    AScanParams params;
    const bool ok = tester.requestAScan(group, cell, samples.data(), &count, &params);
    check(!ok || count == kAScanTraceLength);
    check(!(ok && wasBusy));
    // A refused request leaves a running transfer alone.
    if (!wasBusy)
        check(!tester.busy && portClosed(tester));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t length)
{
    FuzzedDataProvider in(bytes, length);
    CScriptedLine &line = CScriptedLine::instance();
    line.reset();
    CKVTUSTester tester;
    tester.extendedProtocol = in.ConsumeBool();
    tester.scanPorts();
    for (int steps = 0; steps < 64 && in.remaining_bytes() > 0; ++steps) {
        switch (in.ConsumeIntegralInRange<int>(0, StepCount - 1)) {
        case Arrive:
            line.arrive(in.ConsumeRandomLengthString(4096));
            break;
        case ArriveFill: // enough to overrun the ring in a few steps
            line.arriveFill(in.ConsumeIntegral<std::uint8_t>(),
                            in.ConsumeIntegralInRange(1, CKVTUSTester::kRingCapacity));
            break;
        case Poll: // up to a whole ring's worth of chunks, and one more once the line is dry
            for (int n = in.ConsumeIntegralInRange(1, 1300); n > 0 && line.queued() > 0; --n)
                poll(tester);
            poll(tester);
            break;
        case Start:
            line.openFails = in.ConsumeBool();
            line.answerNextWrite(in.ConsumeRandomLengthString(4096));
            check(tester.startTransfer() == tester.busy);
            line.openFails = false;
            break;
        case Finish:
            finish(tester, tester.extendedProtocol);
            break;
        case Find:
            line.answerNextWrite(in.ConsumeRandomLengthString(64));
            find(tester);
            break;
        case AScan:
            line.openFails = in.ConsumeBool();
            line.answerNextWrite(in.ConsumeRandomLengthString(1024));
            requestAScan(tester, in);
            line.openFails = false;
            break;
        }
    }
    finish(tester, tester.extendedProtocol);
    return 0;
}
