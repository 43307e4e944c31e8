// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/kvtustester.h"

#include "format/ascanentry.h"
#include "format/ascanparams.h"
#include "format/zrdata.h"

#include <algorithm>
#include <cstring>

namespace
{

constexpr int kFrameSize = 256;
constexpr char kFrameMagic[] = "KVT M47T";
constexpr int kFrameHeaderSize = 11;
constexpr char kIdentifyAnswer[] = "Tarn Qellix";
constexpr char kExtendedAnswer[] = "Yeah";
// Layout 1 announces its count of 257-byte blocks in one byte.
constexpr int kLayout1BlockSize = 257;
constexpr int kHeldMax = CZRData::kHeaderSize - 1;
constexpr int kExtendedRecordSize = 32;

// A reply as text that any database column or terminal takes: nothing of it is lost.
QString printable(const QByteArray &bytes)
{
    QString text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\')
            text += QLatin1Char(c);
        else
            text += QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
    }
    return text;
}

} // namespace

CKVTUSTester::CKVTUSTester()
{
    ringBuffer.init(nullptr, kRingCapacity);
}

CKVTUSTester::~CKVTUSTester()
{
    if (currentPort != nullptr)
        currentPort->close();
}

void CKVTUSTester::resetReception()
{
    blocksReceived = 0;
    blocksExpected = 0;
    announcedSize = 0;
    dumpSize = 0;
    ringBuffer.clear();
}

int CKVTUSTester::scanPorts()
{
    endAScans();
    const std::shared_ptr<const void> owners = CCOMPort::surveyOwners();
    portCount = 0;
    skippedPorts.clear();
    CCOMPort scratch;
    for (int n = 1; n < kPortSlots; ++n) {
        if (!searchPorts.isEmpty() && !searchPorts.contains(n))
            continue;
        scratch.setPortNumber(n);
        if (scratch.open(true) && portCount < kPortSlots) {
            ports[portCount].setPortNumber(n);
            ports[portCount].baudRate = baudRate;
            ++portCount;
        } else if (!scratch.refusal().isEmpty()) {
            skippedPorts.append({n, scratch.refusal()});
        }
        scratch.close();
    }
    currentPort = portCount >= 1 ? &ports[0] : nullptr;
    return portCount;
}

bool CKVTUSTester::findDevice()
{
    // A search would close and renumber the port of the exchange that is running.
    if (busy)
        return false;
    deviceFound = false;
    identification.clear();
    // One look at the other programs' ports serves the scan and the probes that follow.
    const std::shared_ptr<const void> owners = CCOMPort::surveyOwners();
    if (scanPorts() == 0)
        return false;
    for (int i = 0; i < portCount; ++i) {
        currentPort = &ports[i];
        resetReception();
        if (!currentPort->open(true))
            continue;
        const bool answered = identify();
        busy = false;
        extendedProtocol = probeExtended();
        if (answered)
            currentPort->markAsTester();
        currentPort->close();
        if (answered) {
            deviceFound = true;
            return true;
        }
    }
    return false;
}

bool CKVTUSTester::identify()
{
    QByteArray reply;
    const bool answered = probe(Identify, kIdentifyAnswer, sizeof kIdentifyAnswer - 1, &reply);
    identification = answered ? printable(reply) : QString();
    return answered;
}

bool CKVTUSTester::probeExtended()
{
    return probe(ProbeExtended, kExtendedAnswer, sizeof kExtendedAnswer - 1);
}

bool CKVTUSTester::probe(int command, const char *answer, int answerLength, QByteArray *reply)
{
    if (!sendCommand(command, 0, 0, nullptr)) {
        busy = false;
        return false;
    }
    std::uint8_t bytes[kChunkSize] = {};
    const int got = readReply(bytes, answerLength, kReplyQuietMs);
    if (reply != nullptr)
        *reply = QByteArray(reinterpret_cast<const char *>(bytes), got);
    return got >= answerLength && std::memcmp(bytes, answer, answerLength) == 0;
}

// At 38400 baud a reply takes up to 100 ms on the line, and an infrared receiver or a USB
// adapter hands it over piece by piece: reading goes on, each piece as soon as it is there,
// until the bytes that are compared or parsed have come or the reply window has run out. Then
// it goes on while more follows within quietMs, so that the rest of a longer reply does not
// spoil the next one.
int CKVTUSTester::readReply(std::uint8_t *reply, int wanted, int quietMs)
{
    const std::int64_t deadline = clockMs() + kReplyTimeoutMs;
    int held = 0;
    for (;;) {
        held += currentPort->read(reply + held, kChunkSize - held, 0);
        const int left = static_cast<int>(deadline - clockMs());
        const int wait = held >= wanted ? std::min(quietMs, left) : left;
        if (held >= kChunkSize || wait <= 0 || !currentPort->waitReadable(wait))
            return held;
    }
}

bool CKVTUSTester::sendCommand(int command, int param, int length, const void *payload)
{
    if (currentPort == nullptr || length < 0 || length > kFrameSize - kFrameHeaderSize)
        return false;
    std::uint8_t frame[kFrameSize] = {};
    std::memcpy(frame, kFrameMagic, sizeof kFrameMagic - 1);
    frame[8] = static_cast<std::uint8_t>(command);
    frame[9] = static_cast<std::uint8_t>(param);
    frame[10] = static_cast<std::uint8_t>(length);
    if (payload != nullptr)
        std::memcpy(frame + kFrameHeaderSize, payload, static_cast<size_t>(length));
    return currentPort->write(frame, length + kFrameHeaderSize);
}

bool CKVTUSTester::startTransfer()
{
    sessionOpen = false; // the transfer takes the port over
    resetReception();
    if (currentPort == nullptr || !currentPort->open(false)) {
        busy = false;
        return false;
    }
    busy = true;
    sendCommand(extendedProtocol ? StartExtendedDump : StartDump, 0, 0, nullptr);
    return true;
}

void CKVTUSTester::stopTransfer()
{
    busy = false;
    if (currentPort != nullptr)
        currentPort->close();
}

// Before any announcement a quiet step reports 100, which ends a transfer that never started.
int CKVTUSTester::progressPercent() const
{
    if (blocksExpected == 0)
        return 100;
    return std::min(100, static_cast<int>(blocksReceived * 100.0 / blocksExpected));
}

int CKVTUSTester::poll(int *progress)
{
    // Room in front of the chunk for a held-back dump start.
    std::uint8_t buffer[kHeldMax + kChunkSize];
    std::uint8_t *chunk = buffer + kHeldMax;
    const int got = busy && currentPort != nullptr ? currentPort->read(chunk, kChunkSize, 0) : 0;
    int accepted = got;
    if (got > 0) {
        if (ringBuffer.used() < CZRData::kHeaderSize)
            accepted = acceptDumpStart(chunk, got);
        else
            ringBuffer.write(chunk, got);
        blocksReceived = ringBuffer.used() / kBlockSize;
    }
    // A dropped or held-back chunk reports 0, so the controller keeps waiting.
    const int p = got > 0 && accepted == 0 ? 0 : progressPercent();
    if (progress != nullptr)
        *progress = p;
    return accepted;
}

// Until a whole header has arrived the ring holds at most a held-back start of fewer than 11
// bytes, and only while it can still become a header; anything else is dropped at once, so
// line noise before the dump cannot spoil the header that follows. chunk has kHeldMax bytes of
// room in front of it. Returns the bytes accepted now: 0 when they were held back or dropped.
int CKVTUSTester::acceptDumpStart(std::uint8_t *chunk, int size)
{
    const int held = ringBuffer.used();
    std::uint8_t *start = chunk - held;
    ringBuffer.read(start, held);
    int total = held + size;
    if (!CZRData::isHeaderStart(start, std::min(total, int(CZRData::kHeaderSize)))) {
        start = chunk; // the held bytes were noise after all; the chunk stands on its own
        total = size;
    }
    if (total < CZRData::kHeaderSize) {
        if (CZRData::isHeaderStart(start, total))
            ringBuffer.write(start, total);
        return 0;
    }
    if (!announceBlocks(start, total))
        return 0;
    ringBuffer.write(start, total);
    return total;
}

// Sets blocksExpected from a dump header; false when the bytes do not begin a dump.
// Besides "ORBEXM47T" with its 16-bit count of 256-byte blocks, the layout-1 header is accepted
// too: its signed one-byte count of 257-byte records is turned into 256-byte blocks, and a
// count below 1 leaves the announcement open.
bool CKVTUSTester::announceBlocks(const std::uint8_t *header, int size)
{
    if (CZRData::isM47Header(header, size)) {
        blocksExpected = header[9] * 256 + header[10];
        announcedSize = CZRData::kHeaderSize + kBlockSize * blocksExpected;
        return true;
    }
    if (CZRData::isZR2604Header(header, size)) {
        const int count = static_cast<std::int8_t>(header[10]);
        announcedSize = count < 1 ? 0 : CZRData::kHeaderSize + kLayout1BlockSize * count;
        blocksExpected = announcedSize / kBlockSize;
        return true;
    }
    return false;
}

// In the extended protocol the count covers the whole 256-byte units of records only; what
// follows them ends with the last whole record.
int CKVTUSTester::bytesStillMissing() const
{
    const int used = ringBuffer.used();
    if (announcedSize == 0 || used < CZRData::kHeaderSize)
        return 0;
    if (used < announcedSize)
        return announcedSize - used;
    if (!extendedProtocol)
        return 0;
    const int partial = (used - CZRData::kHeaderSize) % kExtendedRecordSize;
    return partial == 0 ? 0 : kExtendedRecordSize - partial;
}

int CKVTUSTester::takeDump(std::uint8_t **data, int *size)
{
    dumpSize = ringBuffer.used();
    dump.reset(new std::uint8_t[static_cast<size_t>(dumpSize)]);
    ringBuffer.read(dump.get(), dumpSize);
    if (data != nullptr)
        *data = dump.get();
    if (size != nullptr)
        *size = dumpSize;
    return dumpSize;
}

bool CKVTUSTester::exchangeAScan(int group, int cell, std::uint8_t *reply)
{
    if (busy)
        return false;
    busy = true;
    resetReception();
    if (!openForExchange()) {
        busy = false;
        return false;
    }
    const std::uint8_t payload[4] = {0, static_cast<std::uint8_t>(group - 1), 0,
                                     static_cast<std::uint8_t>(cell - 1)};
    bool ok = sendCommand(RequestAScan, 0, sizeof payload, payload);
    if (ok) {
        std::uint8_t received[kChunkSize];
        ok = readReply(received, kAScanReplySize, 0) >= kAScanReplySize;
        if (ok)
            std::memcpy(reply, received, kAScanReplySize);
    }
    busy = false;
    closeAfterExchange();
    return ok;
}

// Within a session the port is already open; what came after the last reply is dropped.
bool CKVTUSTester::openForExchange()
{
    if (currentPort == nullptr)
        return false;
    if (sessionOpen && currentPort->isOpen()) {
        currentPort->flushInput();
        return true;
    }
    sessionOpen = false;
    return currentPort->open(false);
}

void CKVTUSTester::closeAfterExchange()
{
    if (!sessionOpen)
        currentPort->close();
}

bool CKVTUSTester::beginAScans()
{
    if (busy || currentPort == nullptr)
        return false;
    sessionOpen = currentPort->open(false);
    return sessionOpen;
}

void CKVTUSTester::endAScans()
{
    if (sessionOpen && !busy && currentPort != nullptr)
        currentPort->close();
    sessionOpen = false;
}

bool CKVTUSTester::requestAScan(int group, int cell, signed short *samples, int *count,
                                AScanParams *params)
{
    std::uint8_t reply[kAScanReplySize];
    if (!exchangeAScan(group, cell, reply))
        return false;
    parseAScanReply(reply, kAScanReplySize, samples, params);
    // The trace has 239 samples; the 240th and the parameter area follow it unchanged.
    samples[kAScanTraceLength] = reply[kAScanTraceLength];
    std::memcpy(samples + kAScanSampleBytes, reply + kAScanSampleBytes, kAScanParamBytes);
    *count = kAScanTraceLength;
    return true;
}

bool CKVTUSTester::requestAScan(int group, int cell, AScanEntry *entry)
{
    std::uint8_t reply[kAScanReplySize];
    if (!exchangeAScan(group, cell, reply))
        return false;
    entry->reply = QByteArray(reinterpret_cast<const char *>(reply), kAScanReplySize);
    entry->trace.resize(kAScanTraceLength);
    parseAScanReply(reply, kAScanReplySize, entry->trace.data(), &entry->params);
    return true;
}
