// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "format/ascanentry.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>

class CZRData;

// One A-scan reply as the tester sent it, with the result it belongs to.
struct KeptAScan {
    int group = 0;
    int cell = 0;
    QByteArray reply;
};

// A download as it is kept on disk: the dump exactly as received, the A-scan replies fetched
// after it, and where and when it came from. The file layout is described in the README
// ("Kept downloads"); every integer is little-endian and a SHA-256 of everything before it
// closes the file, so a cut or damaged file is told apart from a good one.
class CKeptDownload
{
    Q_DECLARE_TR_FUNCTIONS(CKeptDownload)

public:
    static constexpr int kFormatVersion = 1;
    static const QByteArray kMagic;

    QDateTime time;
    QString port;
    bool extended = false;
    QString outcome;
    QString programVersion;
    QByteArray dump;
    QList<KeptAScan> aScans;
    // Read from a bare dump rather than a kept file: nothing but the dump is known.
    bool bareDump = false;

    QByteArray toBytes() const;
    // A kept file, or failing its signature a bare dump, read as layout 3 only when
    // bareExtended. False with the reason in *problem.
    bool fromBytes(const QByteArray &bytes, bool bareExtended, QString *problem);
    bool readFile(const QString &path, bool bareExtended, QString *problem);

    // The results and the A-scans by table row. False with the reason in *problem.
    bool decode(CZRData *data, QMap<int, AScanEntry> *aScansByRow, QString *problem) const;
    // Takes the A-scan replies held for the rows of data.
    void setAScans(const CZRData &data, const QMap<int, AScanEntry> &aScansByRow);

    // Why a dump yields no results, in a few words; empty when it decodes into at least one.
    static QString dumpProblem(const QByteArray &dump, bool extended);
    static AScanEntry entryFromReply(const QByteArray &reply);

private:
    QByteArray metadata() const;
    bool readMetadata(const QByteArray &text, QString *problem);
};
