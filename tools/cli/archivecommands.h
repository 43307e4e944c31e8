// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class CArchiveSet;
class CKeptDownload;

// The option that chooses the archive, for every command that reads or writes one.
inline const QString kArchiveOption = QStringLiteral("--archive");

// collatrix-cli archive list|history GROUP CELL|name GROUP NAME [--reason TEXT]|import PATH...
//     |import-readings FILE.csv
//     |sync|limits GROUP [--nominal X] [--minimum Y] [--warning W] [--tolerance T]
//     [--min-interval DAYS] [--rule RULE] [--rate RATE] [--reason TEXT]|log [GROUP]
//     |points [GROUP]|points import FILE [--reason TEXT] [--archive URL] [--decimal-separator C]
int runArchiveCommand(const QStringList &args);

// The archives chosen by the URL (empty: $COLLATRIX_ARCHIVE or the embedded file), open; null
// after naming the fault.
std::unique_ptr<CArchiveSet> openArchives(const QString &url);
