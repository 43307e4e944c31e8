// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/transferengine.h"

#include "device/comport.h"
#include "device/kvtustester.h"
#include "services/evaluationsettings.h"

CTransferEngine::CTransferEngine(CKVTUSTester *tester) : tester(tester) {}

bool CTransferEngine::start()
{
    accepted = false;
    bytes = 0;
    inTail = false;
    return tester != nullptr && tester->startTransfer();
}

void CTransferEngine::stop()
{
    accepted = false;
    if (tester != nullptr)
        tester->stopTransfer();
}

int CTransferEngine::pollOnce(int *progress)
{
    if (tester == nullptr) {
        *progress = 100; // nothing can arrive: the transfer ends as failed
        return 0;
    }
    const int got = tester->poll(progress);
    if (got > 0) {
        accepted = true;
        bytes += got;
    }
    return got;
}

CTransferEngine::Step CTransferEngine::step(int *progress)
{
    const bool got = pollOnce(progress) > 0;
    if (!inTail) {
        const Step s = classify(got, *progress);
        if (s != Step::Ended || !got)
            return s;
        inTail = true;
        quietTicks = 0;
    }
    const Step s = tailStep(got);
    if (got)
        readTail(progress);
    return s;
}

CTransferEngine::Step CTransferEngine::tailStep(bool got)
{
    quietTicks = got ? 0 : quietTicks + 1;
    if (quietTicks == 0)
        return Step::Receiving;
    const bool missing = tester != nullptr && tester->bytesStillMissing() > 0;
    return missing && quietTicks < kMissingWaitTicks ? Step::Receiving : Step::Ended;
}

void CTransferEngine::readTail(int *progress)
{
    int quiet = 0;
    for (int waited = 0; quiet < kQuietMs && waited < kTickMs; waited += kQuietStepMs) {
        sleepMs(kQuietStepMs);
        quiet = pollOnce(progress) > 0 ? 0 : quiet + kQuietStepMs;
    }
}

int CTransferEngine::run(const std::function<void(int, int)> &report)
{
    start(); // a port that does not open shows as a silent device
    for (;;) {
        sleepMs(kTickMs);
        int progress = 0;
        const Step s = step(&progress);
        if (s != Step::Waiting && report)
            report(progress, bytes);
        if (s == Step::Ended) {
            stop();
            return progress;
        }
    }
}

CTransferEngine::Step CTransferEngine::classify(bool got, int progress)
{
    if (!got && progress <= 0)
        return Step::Waiting;
    if (got && progress < 100)
        return Step::Receiving;
    return Step::Ended;
}

CTransferEngine::Outcome CTransferEngine::outcome(bool decoded, int groupCount, int progress)
{
    if (!decoded)
        return Outcome::Failed;
    if (groupCount == 0)
        return Outcome::NoMeasurements;
    return progress >= 100 ? Outcome::Completed : Outcome::Incomplete;
}

CKeptDownload CTransferEngine::reception(const std::uint8_t *dump, int size) const
{
    CKeptDownload kept;
    // On the day the program takes for today, so a demonstration can survey on days past.
    kept.time = CEvaluationSettings::now();
    if (tester->currentPort != nullptr)
        kept.port = QStringLiteral("COM%1").arg(tester->currentPort->portNumber());
    kept.extended = tester->extendedProtocol;
    kept.programVersion = QStringLiteral(COLLATRIX_VERSION);
    kept.dump = QByteArray(reinterpret_cast<const char *>(dump), size);
    return kept;
}

QString CTransferEngine::outcomeName(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Completed:
        return QStringLiteral("completed");
    case Outcome::Incomplete:
        return QStringLiteral("incomplete");
    case Outcome::NoMeasurements:
        return QStringLiteral("no measurements");
    case Outcome::Failed:
        break;
    }
    return QStringLiteral("failed");
}
