// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <functional>

class QIODevice;

// A file written whole or not at all. The bytes go to a temporary file in the target's folder,
// which is flushed to the disk and renamed over the target only when every write succeeded; a
// failure leaves an earlier file of that name as it was, and nothing new under the name.
class CAtomicFile
{
    Q_DECLARE_TR_FUNCTIONS(CAtomicFile)

public:
    // Writes the file's content; false when a write failed.
    using Writer = std::function<bool(QIODevice &out)>;

    // False with the reason in *problem.
    static bool write(const QString &path, const Writer &writer, QString *problem);
    static bool write(const QString &path, const QByteArray &bytes, QString *problem);

    // From now on every file refuses the bytes past this many, as a full disk does; a negative
    // limit lifts it. It lets a test fail each writer after any number of bytes.
    static void setByteLimit(qint64 bytes);
};
