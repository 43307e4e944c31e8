// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/atomicfile.h"

#include <QSaveFile>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace
{

std::atomic<qint64> byteLimit{-1};

// A save file that runs out of room at the byte limit.
class CLimitedSaveFile : public QSaveFile
{
public:
    using QSaveFile::QSaveFile;

protected:
    qint64 writeData(const char *data, qint64 length) override
    {
        const qint64 limit = byteLimit.load();
        if (limit >= 0 && written + length > limit) {
            setErrorString(QString::fromLocal8Bit(std::strerror(ENOSPC)));
            refused = true;
            return -1;
        }
        written += length;
        return QSaveFile::writeData(data, length);
    }

public:
    bool refused = false;

private:
    qint64 written = 0;
};

} // namespace

bool CAtomicFile::write(const QString &path, const Writer &writer, QString *problem)
{
    CLimitedSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *problem = file.errorString();
        return false;
    }
    // A writer that does not look at each write's result is caught out by the limit all the same.
    if (!writer(file) || file.refused) {
        // The writer's own failure, or the device's when it has one to tell.
        const bool told = file.refused || file.error() != QFileDevice::NoError;
        *problem = told ? file.errorString() : tr("the data could not be written");
        file.cancelWriting();
        return false;
    }
    // The last buffered bytes go out here: commit() would overlook a failure to write them and
    // rename a cut file into place.
    if (!file.flush()) {
        *problem = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *problem = file.errorString();
        return false;
    }
    return true;
}

bool CAtomicFile::write(const QString &path, const QByteArray &bytes, QString *problem)
{
    return write(
        path, [&bytes](QIODevice &out) { return out.write(bytes) == bytes.size(); }, problem);
}

void CAtomicFile::setByteLimit(qint64 bytes)
{
    byteLimit = bytes;
}
