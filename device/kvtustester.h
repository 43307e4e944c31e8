// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/comport.h"
#include "device/cyclicbuffer.h"

#include <array>
#include <cstdint>
#include <memory>

struct AScanEntry;
struct AScanParams;

// The conversation with the tester: the device search over COM1..COM499, the dump transfer
// (one start command, then a stream collected chunk by chunk) and single A-scan requests.
// Every exchange opens the current port and closes it again; the waits block the caller.
class CKVTUSTester
{
public:
    static constexpr int kPortSlots = 500;
    static constexpr int kRingCapacity = 2500000;
    static constexpr int kChunkSize = 2048;
    static constexpr int kBlockSize = 256;
    static constexpr int kReplyTimeoutMs = 500;
    // How often a reply that is still arriving is looked at again.
    static constexpr int kReplyStepMs = 10;

    enum Command {
        Identify = 0x01,
        StartDump = 0x06,
        StartExtendedDump = 0x09,
        ProbeExtended = 0x0A,
        RequestAScan = 0x0C,
    };

    CKVTUSTester();
    CKVTUSTester(const CKVTUSTester &) = delete;
    CKVTUSTester &operator=(const CKVTUSTester &) = delete;
    virtual ~CKVTUSTester();

    // Scans the ports and asks each in turn who it is; stops at the first tester.
    bool findDevice();
    int scanPorts();
    // The two probes, on the open current port.
    bool identify();
    bool probeExtended();
    // Writes the frame "KVT M47T", command, param, length, payload (length + 11 bytes).
    bool sendCommand(int command, int param, int length, const void *payload);

    bool startTransfer();
    // One reception step: reads what has arrived, returns the bytes accepted and reports the
    // received 256-byte blocks against the announced count in percent (0..100).
    int poll(int *progress);
    void stopTransfer();
    // Moves everything received into dump; *data stays valid until the next call.
    int takeDump(std::uint8_t **data, int *size);

    // samples needs room for 240 samples followed by the 144-byte parameter area; *count gets
    // 239. params may be null.
    bool requestAScan(int group, int cell, signed short *samples, int *count, AScanParams *params);
    // The same exchange into an entry that also holds the reply as it came, to be kept.
    bool requestAScan(int group, int cell, AScanEntry *entry);

    bool extendedProtocol = false;
    // A transfer or an A-scan exchange holds the current port.
    bool busy = false;
    int blocksReceived = 0;
    int blocksExpected = 0;
    int dumpSize = 0;
    KCyclicBuffer ringBuffer;
    std::unique_ptr<std::uint8_t[]> dump;
    int baudRate = 38400;
    CCOMPort *currentPort = nullptr;
    std::array<CCOMPort, kPortSlots> ports;
    int portCount = 0;
    bool deviceFound = false;

private:
    void resetReception();
    bool probe(int command, const char *answer, int answerLength);
    int readReply(std::uint8_t *reply, int wanted);
    // The A-scan exchange; reply gets the first 384 bytes of a complete answer.
    bool exchangeAScan(int group, int cell, std::uint8_t *reply);
    int acceptDumpStart(std::uint8_t *chunk, int size);
    bool announceBlocks(const std::uint8_t *header, int size);
    int progressPercent() const;
};
