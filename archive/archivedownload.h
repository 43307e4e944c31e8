// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

// One download as the archive lists it.
struct ArchiveDownload {
    qint64 id = 0;
    QDateTime time;
    QString port;
    QString protocol;
    QString outcome;
    // The tester's type as its dump names it.
    QString tester;
    QString program;
    // The tester's identify reply (as CKVTUSTester::identification gives it); empty for a
    // download imported from a file.
    QString identification;
    QString file;
    QString sha256;
    int results = 0;
    int aScans = 0;
    // Recorded here but not yet in the shared archive.
    bool waiting = false;
};
