// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/downloadsteps.h"

#include "device/kvtustester.h"
#include "format/zrdata.h"
#include "services/archiveservice.h"
#include "services/keptfolder.h"

void CDownloadSteps::received(CKeptDownload reception, const QString &testerSaid)
{
    kept = std::move(reception);
    keptFile.clear();
    identification = testerSaid;
    fromFile = false;
}

bool CDownloadSteps::keep(const CZRData &data, const QString &outcome, QString *problem)
{
    kept.outcome = outcome;
    if (data.totalCount() == 0)
        return true;
    // The folder as it is now: its place may have changed since the program started.
    keptFile = CKeptFolder().keep(kept, problem);
    if (keptFile.isEmpty())
        return false;
    record();
    return true;
}

void CDownloadSteps::fetchAScans(CKVTUSTester *tester, const CZRData &data,
                                 QMap<int, AScanEntry> *aScans,
                                 const std::function<bool(int row)> &after)
{
    tester->beginAScans();
    MeasurementRecord record;
    for (int row = 0; data.recordAt(row, &record); ++row) {
        AScanEntry entry;
        if (record.hasAScan && tester->requestAScan(record.group, record.cell, &entry))
            aScans->insert(row, entry);
        if (after && !after(row))
            break;
    }
    tester->endAScans();
}

bool CDownloadSteps::keepAScans(const CZRData &data, const QMap<int, AScanEntry> &aScans,
                                QString *problem)
{
    if (keptFile.isEmpty() || fromFile)
        return true;
    kept.setAScans(data, aScans);
    if (!CKeptFolder::rewrite(keptFile, kept, problem))
        return false;
    record();
    return true;
}

void CDownloadSteps::opened(CKeptDownload file, const QString &path)
{
    keptFile = file.bareDump ? QString() : path;
    kept = std::move(file);
    identification.clear();
    fromFile = true;
}

void CDownloadSteps::record()
{
    if (archive)
        archive->record(kept, keptFile, identification);
}
