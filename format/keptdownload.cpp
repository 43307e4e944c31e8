// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/keptdownload.h"

#include "format/importeddump.h"
#include "format/zrdata.h"

#include <QCryptographicHash>
#include <QFile>
#include <QHash>
#include <QtEndian>

// PNG's trick: a line-end or text-mode conversion on the way breaks the signature itself.
const QByteArray CKeptDownload::kMagic = QByteArrayLiteral("CLXD\r\n\x1a\n");

namespace
{

constexpr int kHashSize = 32;
constexpr int kAScanHeaderSize = 4;

void putLe(QByteArray *out, quint32 value, int size)
{
    for (int i = 0; i < size; ++i)
        out->append(char(value >> (8 * i)));
}

// Reads the file front to back; reading past the end leaves it failed, not crashed.
class Cursor
{
public:
    explicit Cursor(const QByteArray &bytes) : bytes(bytes) {}

    quint32 le(int size)
    {
        const QByteArray part = take(size);
        quint32 value = 0;
        for (int i = part.size() - 1; i >= 0; --i)
            value = value << 8 | quint8(part.at(i));
        return value;
    }
    QByteArray take(qint64 size)
    {
        if (size < 0 || size > bytes.size() - at) {
            failed = true;
            at = bytes.size();
            return QByteArray();
        }
        const QByteArray part = bytes.mid(at, size);
        at += size;
        return part;
    }
    qint64 left() const { return bytes.size() - at; }

    const QByteArray &bytes;
    qint64 at = 0;
    bool failed = false;
};

QByteArray hashOf(const QByteArray &bytes, qint64 size)
{
    return QCryptographicHash::hash(QByteArrayView(bytes.constData(), size),
                                    QCryptographicHash::Sha256);
}

// The local time with its offset from UTC, so the file says when it happened wherever it is read.
QString timeWithOffset(const QDateTime &time)
{
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

bool decodeInto(CZRData *data, const QByteArray &dump, bool extended)
{
    return data->decodeDump(reinterpret_cast<const std::uint8_t *>(dump.constData()),
                            int(dump.size()), extended);
}

} // namespace

QByteArray CKeptDownload::metadata() const
{
    const QString lines =
        QStringLiteral("time=%1\nport=%2\nprotocol=%3\noutcome=%4\nprogram=%5\n")
            .arg(timeWithOffset(time), port,
                 extended ? QStringLiteral("extended") : QStringLiteral("standard"), outcome,
                 programVersion);
    return lines.toUtf8();
}

QByteArray CKeptDownload::toBytes() const
{
    const QByteArray meta = metadata();
    QByteArray out = kMagic;
    out.reserve(dump.size() + aScans.size() * (kAScanHeaderSize + kAScanReplySize) + 256);
    putLe(&out, kFormatVersion, 2);
    putLe(&out, 0, 2);
    putLe(&out, quint32(meta.size()), 4);
    out += meta;
    putLe(&out, quint32(dump.size()), 4);
    out += dump;
    putLe(&out, quint32(aScans.size()), 4);
    for (const KeptAScan &a : aScans) {
        putLe(&out, quint32(a.group), 2);
        putLe(&out, quint32(a.cell), 2);
        out += a.reply;
    }
    return out + hashOf(out, out.size());
}

bool CKeptDownload::readMetadata(const QByteArray &bytes, QString *problem)
{
    QHash<QString, QString> values;
    for (const QByteArray &line : bytes.split('\n')) {
        const int equals = int(line.indexOf('='));
        if (equals > 0)
            values.insert(QString::fromUtf8(line.left(equals)),
                          QString::fromUtf8(line.mid(equals + 1)));
    }
    const QString protocol = values.value(QStringLiteral("protocol"));
    if (protocol != QLatin1String("standard") && protocol != QLatin1String("extended")) {
        *problem = tr("the file is damaged (its description names no protocol)");
        return false;
    }
    extended = protocol == QLatin1String("extended");
    time = QDateTime::fromString(values.value(QStringLiteral("time")), Qt::ISODateWithMs);
    port = values.value(QStringLiteral("port"));
    outcome = values.value(QStringLiteral("outcome"));
    programVersion = values.value(QStringLiteral("program"));
    return true;
}

bool CKeptDownload::fromBytes(const QByteArray &bytes, bool bareExtended, QString *problem)
{
    *this = CKeptDownload();
    if (bytes.isEmpty()) {
        *problem = tr("the file is empty");
        return false;
    }
    if (!bytes.startsWith(kMagic)) {
        bareDump = true;
        extended = bareExtended;
        dump = bytes;
        *problem = dumpProblem(dump, extended);
        return problem->isEmpty();
    }
    Cursor in(bytes);
    in.take(kMagic.size());
    const quint32 version = in.le(2);
    if (!in.failed && version > kFormatVersion) {
        *problem = tr("the file was kept by a newer version of the program (format %1; "
                      "this one reads format %2)")
                       .arg(version)
                       .arg(kFormatVersion);
        return false;
    }
    in.le(2);
    const QByteArray meta = in.take(in.le(4));
    dump = in.take(in.le(4));
    const quint32 count = in.le(4);
    for (quint32 i = 0; i < count && !in.failed; ++i) {
        KeptAScan a;
        a.group = int(in.le(2));
        a.cell = int(in.le(2));
        a.reply = in.take(kAScanReplySize);
        aScans.append(a);
    }
    if (in.failed || in.left() < kHashSize) {
        *problem = tr("the file is cut short");
        return false;
    }
    if (in.left() != kHashSize || in.take(kHashSize) != hashOf(bytes, in.at)) {
        *problem = tr("the file is damaged (its checksum does not match)");
        return false;
    }
    return readMetadata(meta, problem);
}

bool CKeptDownload::readFile(const QString &path, bool bareExtended, QString *problem)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *problem = file.errorString();
        return false;
    }
    return fromBytes(file.readAll(), bareExtended, problem);
}

QString CKeptDownload::dumpProblem(const QByteArray &dump, bool extended)
{
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(dump.constData());
    const int size = int(dump.size());
    const int minimum = extended ? CZRData::kHeaderSize + 32 : CZRData::kHeaderSize;
    if (size < minimum)
        return tr("too short for a tester dump (%1 bytes, a dump has at least %2)")
            .arg(size)
            .arg(minimum);
    if (!extended && !CZRData::isZR2604Header(bytes, size) && !CZRData::isM47Header(bytes, size) &&
        !CImportedDump::isHeader(bytes, size))
        return tr("neither a kept download nor a tester dump with a known header "
                  "(a dump of 32-byte records is read as extended)");
    CZRData data;
    if (!decodeInto(&data, dump, extended))
        return tr("no records in the dump");
    if (data.totalCount() == 0)
        return tr("no records in groups 1 to 256");
    return QString();
}

AScanEntry CKeptDownload::entryFromReply(const QByteArray &reply)
{
    AScanEntry entry;
    entry.trace.resize(kAScanTraceLength);
    parseAScanReply(reinterpret_cast<const std::uint8_t *>(reply.constData()), int(reply.size()),
                    entry.trace.data(), &entry.params);
    entry.reply = reply;
    return entry;
}

bool CKeptDownload::decode(CZRData *data, QMap<int, AScanEntry> *aScansByRow,
                           QString *problem) const
{
    data->clear();
    aScansByRow->clear();
    *problem = dumpProblem(dump, extended);
    if (!problem->isEmpty())
        return false;
    decodeInto(data, dump, extended);
    if (aScans.isEmpty())
        return true; // no row index for a dump without A-scans, 300,000 rows of it
    QHash<QPair<int, int>, int> rowOf;
    MeasurementRecord record;
    for (int row = 0; data->recordAt(row, &record); ++row)
        rowOf.insert({record.group, record.cell}, row);
    for (const KeptAScan &a : aScans) {
        const auto row = rowOf.constFind({a.group, a.cell});
        if (row != rowOf.cend())
            aScansByRow->insert(*row, entryFromReply(a.reply));
    }
    return true;
}

void CKeptDownload::setAScans(const CZRData &data, const QMap<int, AScanEntry> &aScansByRow)
{
    aScans.clear();
    for (auto entry = aScansByRow.cbegin(); entry != aScansByRow.cend(); ++entry) {
        MeasurementRecord record;
        if (entry->reply.size() == kAScanReplySize && data.recordAt(entry.key(), &record))
            aScans.append(KeptAScan{record.group, record.cell, entry->reply});
    }
}
