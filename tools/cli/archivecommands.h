// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>

class CArchiveSet;
class CKeptDownload;

// The option that chooses the archive, for every command that reads or writes one.
inline const QString kArchiveOption = QStringLiteral("--archive");

// collatrix-cli archive list|history GROUP CELL|name GROUP NAME|import PATH...|sync
//     |limits GROUP [--nominal X --minimum Y [--warning W]] [--archive URL]
//     [--decimal-separator C]
int runArchiveCommand(const QStringList &args);

// The archives chosen by the URL (empty: $COLLATRIX_ARCHIVE or the embedded file), open; null
// after naming the fault.
std::unique_ptr<CArchiveSet> openArchives(const QString &url);

// ISO 8601 to the second with the UTC offset as +hh:mm, also for an offset of zero.
QString isoTime(const QDateTime &time);
