// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "format/ascanentry.h"
#include "format/keptdownload.h"

#include <QMap>
#include <QString>

#include <functional>

class CArchiveService;
class CKVTUSTester;
class CZRData;

// The steps after a download, one way for the window and the command line: the reception is kept
// in a file of its own when it holds a result and recorded in the archive; its A-scans, fetched
// one after the other on the open port, are added to the kept file, which is recorded again.
class CDownloadSteps
{
public:
    explicit CDownloadSteps(CArchiveService *archive) : archive(archive) {}

    // A reception has ended: what came, and what the tester said it is.
    void received(CKeptDownload reception, const QString &identification);
    // Keeps the reception, decoded into data, with the outcome's name when it holds a result, and
    // records it. False with the reason in *problem when it could not be kept; the download goes
    // on without.
    bool keep(const CZRData &data, const QString &outcome, QString *problem);
    // Every A-scan the results mark, one request after the other while the port stays open.
    // after(row) runs after each row; the run stops when it returns false.
    static void fetchAScans(CKVTUSTester *tester, const CZRData &data,
                            QMap<int, AScanEntry> *aScans,
                            const std::function<bool(int row)> &after = {});
    // Adds the A-scans to the kept file and records it again; true when nothing was kept.
    bool keepAScans(const CZRData &data, const QMap<int, AScanEntry> &aScans, QString *problem);
    // The results came from a file: it is kept already (a bare dump is not), and nothing is
    // added to it.
    void opened(CKeptDownload file, const QString &path);

    // The results' download as it is kept, and the file that holds it (empty when none does).
    CKeptDownload kept;
    QString keptFile;
    // What the tester that sent the results said it is; empty for results from a file.
    QString identification;
    bool fromFile = false;

private:
    void record();

    CArchiveService *archive;
};
