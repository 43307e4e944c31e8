// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/comport.h"
#include "device/cyclicbuffer.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>

struct AScanEntry;
struct AScanParams;

// The conversation with the tester: the device search over COM1..COM499, the dump transfer
// (one start command, then a stream collected chunk by chunk) and single A-scan requests.
// Every exchange opens the current port and closes it again, except within an A-scan session,
// which holds it from one request to the next; the waits block the caller.
class CKVTUSTester
{
public:
    static constexpr int kPortSlots = 500;
    static constexpr int kRingCapacity = 2500000;
    static constexpr int kChunkSize = 2048;
    static constexpr int kBlockSize = 256;
    static constexpr int kReplyTimeoutMs = 500;
    // After a probe's answer the line must be quiet this long: the identify reply is longer
    // than the part compared. An A-scan reply is taken the moment it is complete; the next
    // request drops whatever followed it.
    static constexpr int kReplyQuietMs = 10;

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

    // A port the search left alone, and why.
    struct SkippedPort {
        int number;
        QString reason;
    };

    // Scans the ports and asks each in turn who it is; stops at the first tester.
    bool findDevice();
    // Lists the ports that open, only those of searchPorts when it names any; skippedPorts
    // gets the ones that belong to other programs.
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
    // Holds the current port open for the A-scan requests that follow, so that each costs only
    // its time on the line. A transfer or a search ends the session as well.
    bool beginAScans();
    void endAScans();

    // What the dump's own structure says is still on the way: the bytes up to the end that its
    // header announces, and in the extended protocol the rest of a record begun. 0 before a
    // header has come.
    int bytesStillMissing() const;

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
    // The found tester's whole identify reply, printable ASCII as it came and every other byte
    // as \xNN; empty until a tester answered.
    QString identification;
    // The ports the search may try; empty: every one.
    QList<int> searchPorts;
    QList<SkippedPort> skippedPorts;

private:
    void resetReception();
    bool openForExchange();
    void closeAfterExchange();
    bool probe(int command, const char *answer, int answerLength, QByteArray *reply = nullptr);
    int readReply(std::uint8_t *reply, int wanted, int quietMs);
    // The A-scan exchange; reply gets the first 384 bytes of a complete answer.
    bool exchangeAScan(int group, int cell, std::uint8_t *reply);
    int acceptDumpStart(std::uint8_t *chunk, int size);
    bool announceBlocks(const std::uint8_t *header, int size);
    int progressPercent() const;

    // The current port stays open between A-scan requests.
    bool sessionOpen = false;
    // The byte count that the dump header announces; 0 until one has come.
    int announcedSize = 0;
};
