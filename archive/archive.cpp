// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/archive.h"

#include "archive/archivelog.h"
#include "archive/archiveschema.h"
#include "archive/packedresults.h"
#include "format/keptdownload.h"
#include "format/zrdata.h"

#include <QAtomicInt>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <cstdlib>

namespace
{

constexpr int kResultColumns = 8;

const QString kDownloadColumns =
    QStringLiteral("id, sha256, time_ms, utc_offset, port, protocol, outcome, tester, program, "
                   "file, results, ascans, waiting, identification");

QString newConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("collatrix-archive-%1").arg(counter.fetchAndAddRelaxed(1));
}

// Runs a statement with its values bound; false with the reason in *problem.
bool run(QSqlQuery &query, const QString &sql, const QVariantList &values, QString *problem)
{
    if (!query.prepare(sql)) {
        *problem = query.lastError().text();
        return false;
    }
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        *problem = query.lastError().text();
        return false;
    }
    return true;
}

// A text column is never NULL: a bare dump knows no port, a null string binds as NULL.
QString text(const QString &value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

QDateTime timeOf(const QSqlQuery &query, int column)
{
    return QDateTime::fromMSecsSinceEpoch(query.value(column).toLongLong(), Qt::OffsetFromUTC,
                                          query.value(column + 1).toInt());
}

// A result's group, cell, raw value, divisor, unit and A-scan flag, from column first onward.
MeasurementRecord recordOf(const QSqlQuery &query, int first)
{
    MeasurementRecord r;
    r.group = query.value(first).toInt();
    r.cell = query.value(first + 1).toInt();
    r.rawValue = query.value(first + 2).toInt();
    r.divisor = query.value(first + 3).toInt();
    r.unit = query.value(first + 4).toInt();
    r.hasAScan = query.value(first + 5).toInt() != 0;
    return r;
}

ArchiveDownload downloadOf(const QSqlQuery &query)
{
    ArchiveDownload d;
    d.id = query.value(0).toLongLong();
    d.sha256 = query.value(1).toString();
    d.time = timeOf(query, 2);
    d.port = query.value(4).toString();
    d.protocol = query.value(5).toString();
    d.outcome = query.value(6).toString();
    d.tester = query.value(7).toString();
    d.program = query.value(8).toString();
    d.file = query.value(9).toString();
    d.results = query.value(10).toInt();
    d.aScans = query.value(11).toInt();
    d.waiting = query.value(12).toInt() != 0;
    d.identification = query.value(13).toString();
    return d;
}

// The results of a download in three columns instead of six: every value a driver hands over
// costs as much as SQLite's own reading of the row, and an evaluation reads millions. A cell
// is 16 bits wide in the tester's memory.
const QString kPackedResultSelect =
    QStringLiteral("SELECT grp * 65536 + cell, raw, divisor * 16 + unit * 2 + ascan "
                   "FROM results WHERE download_id = ? ORDER BY row_no");

MeasurementRecord packedRecordOf(const QSqlQuery &query)
{
    return CPackedResults::recordOf(query.value(0).toLongLong(), query.value(1).toLongLong(),
                                    query.value(2).toLongLong());
}

const QString kReadingSelect =
    QStringLiteral("SELECT d.time_ms, d.utc_offset, d.id, r.grp, r.cell, r.raw, r.divisor, "
                   "r.unit, r.ascan FROM results r JOIN downloads d ON d.id = r.download_id ");

// Runs a query and hands take each row.
bool eachRow(QSqlDatabase &db, const QString &sql, const QVariantList &values,
             const std::function<void(const QSqlQuery &)> &take, QString *problem)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!run(query, sql, values, problem))
        return false;
    while (query.next())
        take(query);
    return true;
}

QDateTime localTimeOf(const QSqlQuery &query, int column)
{
    return QDateTime::fromMSecsSinceEpoch(query.value(column).toLongLong());
}

// Every setting of the limits, oldest first.
bool readLimits(QSqlDatabase &db, QList<ArchiveLimits> *list, QString *problem,
                const QString &where = QString(), const QVariantList &values = {})
{
    list->clear();
    return eachRow(
        db,
        QStringLiteral("SELECT grp, nominal, minimum, warning, from_ms, set_by, db_role, reason "
                       "FROM group_limits %1 ORDER BY from_ms, id")
            .arg(where),
        values,
        [list](const QSqlQuery &query) {
            list->append({query.value(0).toInt(), query.value(1).toDouble(),
                          query.value(2).toDouble(), query.value(3).toDouble(),
                          localTimeOf(query, 4), query.value(5).toString(),
                          query.value(6).toString(), query.value(7).toString()});
        },
        problem);
}

// The query gives group, what, value, from, by, role and reason, oldest first.
bool readSettings(QSqlDatabase &db, const QString &sql, QList<ArchiveSetting> *list,
                  QString *problem)
{
    list->clear();
    return eachRow(
        db, sql, {},
        [list](const QSqlQuery &query) {
            list->append({query.value(0).toInt(), query.value(1).toString(),
                          query.value(2).toString(), localTimeOf(query, 3),
                          query.value(4).toString(), query.value(5).toString(),
                          query.value(6).toString()});
        },
        problem);
}

const QString kSettingsSelect =
    QStringLiteral("SELECT grp, setting, value, from_ms, set_by, db_role, reason "
                   "FROM object_settings ORDER BY from_ms, id");
const QString kNamesSelect =
    QStringLiteral("SELECT grp, 'name', name, from_ms, set_by, db_role, reason "
                   "FROM group_names ORDER BY from_ms, id");

// Every naming of the points of the group (0: all), oldest first.
bool readPointNames(QSqlDatabase &db, int group, QList<ArchivePointName> *list, QString *problem)
{
    list->clear();
    return eachRow(
        db,
        QStringLiteral("SELECT grp, cell, name, location, from_ms, set_by, db_role, reason "
                       "FROM point_names WHERE grp = ? OR ? = 0 ORDER BY from_ms, id"),
        {group, group},
        [list](const QSqlQuery &query) {
            list->append({query.value(0).toInt(), query.value(1).toInt(), query.value(2).toString(),
                          query.value(3).toString(), localTimeOf(query, 4),
                          query.value(5).toString(), query.value(6).toString(),
                          query.value(7).toString()});
        },
        problem);
}

QMap<QPair<int, int>, ArchivePointName> latestOf(const QList<ArchivePointName> &list)
{
    QMap<QPair<int, int>, ArchivePointName> latest;
    for (const ArchivePointName &p : list)
        latest.insert({p.group, p.cell}, p);
    return latest;
}

// A reading's time has the offset of the download that holds it, where it is known.
bool readDecisions(QSqlDatabase &db, bool waitingOnly, QList<ArchiveDecision> *list,
                   QString *problem)
{
    list->clear();
    return eachRow(
        db,
        QStringLiteral("SELECT r.grp, r.cell, r.time_ms, (SELECT d.utc_offset FROM downloads d "
                       "WHERE d.time_ms = r.time_ms ORDER BY d.id LIMIT 1), r.decision, "
                       "r.reason, r.set_ms, r.set_by, r.db_role FROM reading_decisions r "
                       "WHERE r.waiting >= ? ORDER BY r.set_ms, r.id"),
        {int(waitingOnly)},
        [list](const QSqlQuery &query) {
            list->append({query.value(0).toInt(), query.value(1).toInt(),
                          query.value(3).isNull() ? localTimeOf(query, 2) : timeOf(query, 2),
                          query.value(4).toString(), query.value(5).toString(),
                          localTimeOf(query, 6), query.value(7).toString(),
                          query.value(8).toString()});
        },
        problem);
}

// Which decision on which reading: the key that makes it one row in every archive.
QVariantList keyOf(const ArchiveDecision &d)
{
    return {d.group, d.cell, d.readingTime.toMSecsSinceEpoch(), d.decision,
            d.at.toMSecsSinceEpoch()};
}

QString placeholders(int rows)
{
    const QString row = QLatin1Char('(') +
                        QStringList(kResultColumns, QStringLiteral("?")).join(QLatin1Char(',')) +
                        QLatin1Char(')');
    return QStringList(rows, row).join(QLatin1Char(','));
}

} // namespace

CArchive::CArchive(const CArchiveLocation &location) : where(location), dialect(location.backend) {}

CArchive::~CArchive()
{
    disconnect();
}

QString CArchive::sha256Of(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

QString CArchive::loginName()
{
    for (const char *variable : {"USER", "LOGNAME"}) {
        const QString name = qEnvironmentVariable(variable);
        if (!name.isEmpty())
            return name;
    }
    return QDir::home().dirName();
}

QString CArchive::timeText(const QDateTime &time)
{
    const int offset = time.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) +
           QStringLiteral("%1%2:%3")
               .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
               .arg(minutes / 60, 2, 10, QLatin1Char('0'))
               .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

bool CArchive::open(QString *problem)
{
    disconnect();
    QString reason;
    if (!connect(&reason)) {
        disconnect();
        *problem =
            openProblem(QT_TR_NOOP("Cannot open the archive %1: %2"), reason, connectFailure);
        return false;
    }
    bool prepared = false;
    int from = 0;
    {
        CArchiveSchema schema(QSqlDatabase::database(connectionName, false), dialect);
        prepared = schema.prepare(&reason);
        wasCreated = schema.created;
        from = schema.migratedFrom;
        if (!prepared)
            *problem =
                openProblem(QT_TR_NOOP("Cannot use the archive %1: %2"), reason, schema.failure);
    }
    if (!prepared) {
        disconnect();
        return false;
    }
    opened = true;
    if (from > 0 && from < kFirstPackedVersion && !packEarlierDownloads(&reason)) {
        *problem = openProblem(QT_TR_NOOP("Cannot use the archive %1: %2"), reason, QSqlError());
        disconnect();
        opened = false;
    }
    return opened;
}

// The downloads an archive held before its results were packed are packed once, on the
// migration, so that reading them all is as fast as for new ones. Downloads recorded later by an
// earlier version of the program are read row by row instead.
bool CArchive::packEarlierDownloads(QString *problem)
{
    return write(
        [&](QSqlDatabase &db, QString *why) {
            QList<qint64> ids;
            if (!eachRow(
                    db,
                    QStringLiteral("SELECT id FROM downloads WHERE id NOT IN "
                                   "(SELECT download_id FROM packed_results)"),
                    {}, [&ids](const QSqlQuery &row) { ids << row.value(0).toLongLong(); }, why))
                return false;
            QSqlQuery insert(db);
            for (const qint64 id : ids) {
                std::vector<MeasurementRecord> records;
                if (!eachRow(
                        db, kPackedResultSelect, {id},
                        [&records](const QSqlQuery &row) {
                            records.push_back(packedRecordOf(row));
                        },
                        why) ||
                    !run(insert,
                         QStringLiteral("INSERT INTO packed_results (download_id, bytes) "
                                        "VALUES (?, ?) ON CONFLICT (download_id) DO NOTHING"),
                         {id, CPackedResults::pack(records)}, why))
                    return false;
            }
            return true;
        },
        problem);
}

QString CArchive::openProblem(const char *what, const QString &reason, const QSqlError &error) const
{
    const QString text = tr(what).arg(where.text(), reason);
    if (!dialect.cannotWrite(error))
        return text;
    return text + QLatin1Char(' ') +
           tr("The archive file or its folder is read-only: downloads are still kept as files, "
              "but they are not recorded until the archive can be written.");
}

bool CArchive::connect(QString *problem)
{
    connectFailure = QSqlError();
    if (!QSqlDatabase::isDriverAvailable(dialect.driverName())) {
        *problem = tr("the Qt SQL driver %1 is not installed (Debian: libqt6sql6-%2)")
                       .arg(dialect.driverName(),
                            where.isShared() ? QStringLiteral("psql") : QStringLiteral("sqlite"));
        return false;
    }
    if (!where.isShared())
        QDir().mkpath(QFileInfo(where.path).absolutePath());
    connectionName = newConnectionName();
    QSqlDatabase db = QSqlDatabase::addDatabase(dialect.driverName(), connectionName);
    dialect.configure(&db, where);
    if (!db.open()) {
        connectFailure = db.lastError();
        *problem = connectFailure.text();
        return false;
    }
    QSqlQuery query(db);
    if (!dialect.journalSetup().isEmpty())
        query.exec(dialect.journalSetup());
    for (const QString &statement : dialect.sessionSetup()) {
        if (!query.exec(statement)) {
            connectFailure = query.lastError();
            *problem = connectFailure.text();
            return false;
        }
    }
    return true;
}

void CArchive::disconnect()
{
    opened = false;
    if (connectionName.isEmpty())
        return;
    QSqlDatabase::database(connectionName, false).close();
    QSqlDatabase::removeDatabase(connectionName);
    connectionName.clear();
}

bool CArchive::write(const std::function<bool(QSqlDatabase &, QString *)> &body, QString *problem)
{
    return attempt(true, body, problem);
}

bool CArchive::read(const std::function<bool(QSqlDatabase &, QString *)> &body, QString *problem)
{
    return attempt(false, body, problem);
}

bool CArchive::attempt(bool transaction, const std::function<bool(QSqlDatabase &, QString *)> &body,
                       QString *problem)
{
    if (!opened) {
        *problem = tr("the archive %1 is not open").arg(where.text());
        return false;
    }
    for (int round = 0; round < 2; ++round) {
        // A server that restarted leaves the old connection with prepared statements it no
        // longer knows: only a connection of a new name starts clean.
        if (round > 0 && !reconnect(problem))
            return false;
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        QSqlQuery control(db);
        if ((!transaction || control.exec(dialect.beginWrite())) && body(db, problem) &&
            (!transaction || control.exec(QStringLiteral("COMMIT"))))
            return true;
        if (!control.lastError().text().trimmed().isEmpty())
            *problem = control.lastError().text();
        if (transaction && db.isOpen())
            control.exec(QStringLiteral("ROLLBACK"));
        if (!dialect.connectionLost(db))
            return false;
        control = QSqlQuery();
        db = QSqlDatabase();
        disconnect();
    }
    return false;
}

bool CArchive::reconnect(QString *problem)
{
    opened = connect(problem);
    if (!opened)
        disconnect();
    return opened;
}

CArchive::Recorded CArchive::record(const CKeptDownload &kept, const QByteArray &fileBytes,
                                    const QString &file, const QString &identification,
                                    QString *problem)
{
    CZRData data;
    QMap<int, AScanEntry> aScans;
    if (!kept.decode(&data, &aScans, problem))
        return Recorded::Failed;
    const QString sha256 = sha256Of(fileBytes);
    Recorded recorded = Recorded::Known;
    const bool done = write(
        [&](QSqlDatabase &db, QString *why) {
            if (!removeEarlierState(db, kept, file, sha256, why))
                return false;
            QSqlQuery insert(db);
            const QString sql =
                QStringLiteral("INSERT INTO downloads (sha256, time_ms, utc_offset, port, "
                               "protocol, outcome, tester, program, file, results, ascans, "
                               "identification) VALUES (?,?,?,?,?,?,?,?,?,?,?,?) "
                               "ON CONFLICT (sha256) DO NOTHING "
                               "RETURNING id");
            if (!run(insert, sql,
                     {sha256, kept.time.toMSecsSinceEpoch(), kept.time.offsetFromUtc(),
                      text(kept.port),
                      kept.extended ? QStringLiteral("extended") : QStringLiteral("standard"),
                      text(kept.outcome), text(data.deviceType), text(kept.programVersion),
                      text(file), data.totalCount(), int(aScans.size()), text(identification)},
                     why))
                return false;
            if (!insert.next()) {
                recorded = Recorded::Known;
                return true;
            }
            const qint64 id = insert.value(0).toLongLong();
            insert.finish();
            recorded = Recorded::New;
            return insertResults(db, id, data, aScans, why) &&
                   run(insert,
                       QStringLiteral(
                           "INSERT INTO packed_results (download_id, bytes) VALUES (?, ?)"),
                       {id, CPackedResults::pack(data, aScans)}, why) &&
                   (!where.isShared() || insertBytes(db, id, fileBytes, why));
        },
        problem);
    return done ? recorded : Recorded::Failed;
}

// The kept file is written again once its A-scans are fetched; its earlier record goes.
bool CArchive::removeEarlierState(QSqlDatabase &db, const CKeptDownload &kept, const QString &file,
                                  const QString &sha256, QString *problem)
{
    QSqlQuery query(db);
    const QVariantList key{file, kept.time.toMSecsSinceEpoch(), sha256};
    const QString match =
        QStringLiteral("SELECT id FROM downloads WHERE file = ? AND time_ms = ? AND sha256 <> ?");
    for (const QString &table : {QStringLiteral("results"), QStringLiteral("kept_files"),
                                 QStringLiteral("packed_results")}) {
        if (!run(query,
                 QStringLiteral("DELETE FROM %1 WHERE download_id IN (%2)").arg(table, match), key,
                 problem))
            return false;
    }
    return run(query,
               QStringLiteral("DELETE FROM downloads WHERE file = ? AND time_ms = ? AND "
                              "sha256 <> ?"),
               key, problem);
}

bool CArchive::insertResults(QSqlDatabase &db, qint64 id, const CZRData &data,
                             const QMap<int, AScanEntry> &aScans, QString *problem)
{
    const int total = data.totalCount();
    const int perStatement = dialect.rowsPerStatement();
    QSqlQuery insert(db);
    // Every statement but the last has the same rows, so it is prepared once.
    int prepared = 0;
    for (int first = 0; first < total; first += perStatement) {
        const int rows = std::min(perStatement, total - first);
        if (rows != prepared &&
            !insert.prepare(QStringLiteral("INSERT INTO results (download_id, row_no, grp, cell, "
                                           "raw, divisor, unit, ascan) VALUES ") +
                            placeholders(rows))) {
            *problem = insert.lastError().text();
            return false;
        }
        prepared = rows;
        int column = 0;
        for (int row = first; row < first + rows; ++row) {
            MeasurementRecord r;
            data.recordAt(row, &r);
            for (const QVariant &value :
                 {QVariant(id), QVariant(row), QVariant(r.group), QVariant(r.cell),
                  QVariant(r.rawValue), QVariant(r.divisor), QVariant(r.unit),
                  QVariant(int(aScans.contains(row)))})
                insert.bindValue(column++, value);
        }
        if (!insert.exec()) {
            *problem = insert.lastError().text();
            return false;
        }
    }
    return true;
}

bool CArchive::insertBytes(QSqlDatabase &db, qint64 id, const QByteArray &bytes, QString *problem)
{
    QSqlQuery insert(db);
    return run(insert, QStringLiteral("INSERT INTO kept_files (download_id, bytes) VALUES (?, ?)"),
               {id, bytes}, problem);
}

bool CArchive::setWaiting(const QString &sha256, bool waiting, QString *problem)
{
    return writeOne(QStringLiteral("UPDATE downloads SET waiting = ? WHERE sha256 = ?"),
                    {int(waiting), sha256}, problem);
}

bool CArchive::writeOne(const QString &sql, const QVariantList &values, QString *problem)
{
    return write(
        [&](QSqlDatabase &db, QString *why) {
            QSqlQuery query(db);
            return run(query, sql, values, why);
        },
        problem);
}

QString CArchive::insertWithWho(const QString &table, const QStringList &columns) const
{
    return QStringLiteral("INSERT INTO %1 (%2, set_by, db_role, reason) VALUES (%3?, %4, ?)")
        .arg(table, columns.join(QStringLiteral(", ")),
             QStringLiteral("?, ").repeated(columns.size()), dialect.currentRole());
}

QList<ArchiveDownload> CArchive::downloads(bool waitingOnly, QString *problem)
{
    QList<ArchiveDownload> list;
    read(
        [&](QSqlDatabase &db, QString *why) {
            list.clear();
            QSqlQuery query(db);
            query.setForwardOnly(true);
            const QString sql = QStringLiteral("SELECT %1 FROM downloads WHERE waiting >= ? "
                                               "ORDER BY time_ms DESC, id DESC")
                                    .arg(kDownloadColumns);
            if (!run(query, sql, {int(waitingOnly)}, why))
                return false;
            while (query.next())
                list << downloadOf(query);
            return true;
        },
        problem);
    return list;
}

bool CArchive::readReadings(const QString &sql, const QVariantList &values,
                            QList<ArchiveReading> *readings, QString *problem)
{
    return read(
        [&](QSqlDatabase &db, QString *why) {
            readings->clear();
            QSqlQuery query(db);
            query.setForwardOnly(true);
            if (!run(query, sql, values, why))
                return false;
            while (query.next()) {
                ArchiveReading reading;
                reading.time = timeOf(query, 0);
                reading.downloadId = query.value(2).toLongLong();
                reading.record = recordOf(query, 3);
                *readings << reading;
            }
            return true;
        },
        problem);
}

QList<ArchiveReading> CArchive::history(int group, int cell, QString *problem)
{
    QList<ArchiveReading> readings;
    readReadings(kReadingSelect +
                     QStringLiteral("WHERE r.grp = ? AND r.cell = ? ORDER BY d.time_ms, d.id, "
                                    "r.row_no"),
                 {group, cell}, &readings, problem);
    return readings;
}

bool CArchive::readDownloadsBefore(const QDateTime &time,
                                   const std::function<bool(const QList<ArchiveReading> &)> &take,
                                   QString *problem)
{
    return read(
        [&](QSqlDatabase &db, QString *why) {
            QList<PackedDownload> downloads;
            if (!readPacked(db, time, &downloads, why))
                return false;
            // Downloads recorded without their packed results are read row by row.
            QSqlQuery rows(db);
            rows.setForwardOnly(true);
            if (!rows.prepare(kPackedResultSelect)) {
                *why = rows.lastError().text();
                return false;
            }
            for (const PackedDownload &d : downloads) {
                QList<ArchiveReading> readings;
                if (!(d.bytes.isNull() ? readResults(rows, d.id, d.time, &readings, why)
                                       : unpackResults(d, &readings, why)))
                    return false;
                if (!take(readings))
                    break;
            }
            return true;
        },
        problem);
}

// One statement for every download: a statement a download costs as much as reading its values.
bool CArchive::readPacked(QSqlDatabase &db, const QDateTime &time, QList<PackedDownload> *downloads,
                          QString *problem)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!run(query,
             QStringLiteral("SELECT d.id, d.time_ms, d.utc_offset, p.bytes FROM downloads d "
                            "LEFT JOIN packed_results p ON p.download_id = d.id "
                            "WHERE d.time_ms < ? ORDER BY d.time_ms, d.id"),
             {time.toMSecsSinceEpoch()}, problem))
        return false;
    while (query.next())
        downloads->append({query.value(0).toLongLong(), timeOf(query, 1),
                           query.isNull(3) ? QByteArray() : query.value(3).toByteArray()});
    return true;
}

bool CArchive::unpackResults(const PackedDownload &download, QList<ArchiveReading> *readings,
                             QString *problem)
{
    std::vector<MeasurementRecord> records;
    if (!CPackedResults::unpack(download.bytes, &records)) {
        *problem = tr("the packed results of download %1 are damaged").arg(download.id);
        return false;
    }
    readings->reserve(qsizetype(records.size()));
    for (const MeasurementRecord &r : records)
        readings->append(ArchiveReading{download.time, download.id, r});
    return true;
}

bool CArchive::readResults(QSqlQuery &query, qint64 id, const QDateTime &at,
                           QList<ArchiveReading> *readings, QString *problem)
{
    query.bindValue(0, id);
    if (!query.exec()) {
        *problem = query.lastError().text();
        return false;
    }
    while (query.next()) {
        ArchiveReading reading;
        reading.time = at;
        reading.downloadId = id;
        reading.record = packedRecordOf(query);
        readings->append(reading);
    }
    return true;
}

bool CArchive::setLimits(const ArchiveLimits &limits, QString *problem)
{
    return writeOne(
        insertWithWho(QStringLiteral("group_limits"),
                      {QStringLiteral("grp"), QStringLiteral("nominal"), QStringLiteral("minimum"),
                       QStringLiteral("warning"), QStringLiteral("from_ms")}),
        {limits.group, limits.nominal, limits.minimum, limits.warning,
         limits.from.toMSecsSinceEpoch(), loginName(), text(limits.reason)},
        problem);
}

QList<ArchiveLimits> CArchive::limitsHistory(int group, QString *problem)
{
    QList<ArchiveLimits> list;
    read(
        [&](QSqlDatabase &db, QString *why) {
            return readLimits(db, &list, why, QStringLiteral("WHERE grp = ?"), {group});
        },
        problem);
    return list;
}

QMap<int, ArchiveLimits> CArchive::latestLimits(QString *problem)
{
    QList<ArchiveLimits> list;
    read([&](QSqlDatabase &db, QString *why) { return readLimits(db, &list, why); }, problem);
    // Oldest first, so that each group ends with its latest setting.
    QMap<int, ArchiveLimits> latest;
    for (const ArchiveLimits &limits : list)
        latest.insert(limits.group, limits);
    return latest;
}

bool CArchive::setParticulars(int group, const QMap<QString, QString> &values, const QDateTime &at,
                              QString *problem)
{
    return write(
        [&](QSqlDatabase &db, QString *why) {
            QSqlQuery query(db);
            for (auto it = values.cbegin(); it != values.cend(); ++it) {
                if (!run(query,
                         QStringLiteral("INSERT INTO particulars (grp, name, value, set_ms) "
                                        "VALUES (?, ?, ?, ?)"),
                         {group, it.key(), text(it.value()), at.toMSecsSinceEpoch()}, why))
                    return false;
            }
            return true;
        },
        problem);
}

QMap<QString, QString> CArchive::particulars(int group, QString *problem)
{
    QMap<QString, QString> values;
    read(
        [&](QSqlDatabase &db, QString *why) {
            values.clear();
            QSqlQuery query(db);
            if (!run(query,
                     QStringLiteral("SELECT name, value FROM particulars WHERE grp = ? "
                                    "ORDER BY set_ms, id"),
                     {group}, why))
                return false;
            while (query.next())
                values.insert(query.value(0).toString(), query.value(1).toString());
            return true;
        },
        problem);
    values.removeIf([](const auto &entry) { return entry.value().isEmpty(); });
    return values;
}

bool CArchive::nameGroup(int group, const QString &name, const QDateTime &from, QString *problem,
                         const QString &reason)
{
    return writeOne(
        insertWithWho(QStringLiteral("group_names"),
                      {QStringLiteral("grp"), QStringLiteral("name"), QStringLiteral("from_ms")}),
        {group, name, from.toMSecsSinceEpoch(), loginName(), text(reason)}, problem);
}

bool CArchive::setSettings(int group, const QMap<QString, QString> &values, const QDateTime &from,
                           const QString &reason, QString *problem)
{
    const QString sql = insertWithWho(QStringLiteral("object_settings"),
                                      {QStringLiteral("grp"), QStringLiteral("setting"),
                                       QStringLiteral("value"), QStringLiteral("from_ms")});
    return write(
        [&](QSqlDatabase &db, QString *why) {
            QSqlQuery query(db);
            for (auto it = values.cbegin(); it != values.cend(); ++it) {
                if (!run(query, sql,
                         {group, it.key(), text(it.value()), from.toMSecsSinceEpoch(), loginName(),
                          text(reason)},
                         why))
                    return false;
            }
            return true;
        },
        problem);
}

QMap<int, QMap<QString, ArchiveSetting>> CArchive::latestSettings(QString *problem)
{
    QList<ArchiveSetting> list;
    read([&](QSqlDatabase &db,
             QString *why) { return readSettings(db, kSettingsSelect, &list, why); },
         problem);
    QMap<int, QMap<QString, ArchiveSetting>> latest;
    for (const ArchiveSetting &setting : list)
        latest[setting.group].insert(setting.what, setting);
    return latest;
}

bool CArchive::decide(const ArchiveDecision &decision, bool waiting, QString *problem)
{
    return writeOne(insertWithWho(QStringLiteral("reading_decisions"),
                                  {QStringLiteral("grp"), QStringLiteral("cell"),
                                   QStringLiteral("time_ms"), QStringLiteral("decision"),
                                   QStringLiteral("set_ms"), QStringLiteral("waiting")}) +
                        QStringLiteral(" ON CONFLICT DO NOTHING"),
                    keyOf(decision)
                        << int(waiting) << (decision.by.isEmpty() ? loginName() : decision.by)
                        << text(decision.reason),
                    problem);
}

bool CArchive::setDecisionWaiting(const ArchiveDecision &decision, bool waiting, QString *problem)
{
    return writeOne(QStringLiteral("UPDATE reading_decisions SET waiting = ? WHERE grp = ? AND "
                                   "cell = ? AND time_ms = ? AND decision = ? AND set_ms = ?"),
                    QVariantList{int(waiting)} + keyOf(decision), problem);
}

QList<ArchiveDecision> CArchive::decisions(bool waitingOnly, QString *problem)
{
    QList<ArchiveDecision> list;
    read([&](QSqlDatabase &db, QString *why) { return readDecisions(db, waitingOnly, &list, why); },
         problem);
    return list;
}

bool CArchive::namePoints(const QList<ArchivePointName> &points, const QDateTime &from,
                          const QString &reason, QString *problem, int *changed)
{
    const QString sql =
        insertWithWho(QStringLiteral("point_names"),
                      {QStringLiteral("grp"), QStringLiteral("cell"), QStringLiteral("name"),
                       QStringLiteral("location"), QStringLiteral("from_ms")});
    int count = 0;
    const bool done = write(
        [&](QSqlDatabase &db, QString *why) {
            QList<ArchivePointName> earlier;
            if (!readPointNames(db, 0, &earlier, why))
                return false;
            QMap<QPair<int, int>, ArchivePointName> latest = latestOf(earlier);
            count = 0;
            QSqlQuery query(db);
            for (const ArchivePointName &p : points) {
                const ArchivePointName now = latest.value({p.group, p.cell});
                if (latest.contains({p.group, p.cell}) && now.name == p.name &&
                    now.location == p.location)
                    continue;
                if (!run(query, sql,
                         {p.group, p.cell, text(p.name), text(p.location), from.toMSecsSinceEpoch(),
                          loginName(), text(reason)},
                         why))
                    return false;
                latest.insert({p.group, p.cell}, p);
                ++count;
            }
            return true;
        },
        problem);
    if (changed)
        *changed = done ? count : 0;
    return done;
}

QMap<QPair<int, int>, ArchivePointName> CArchive::pointNames(int group, QString *problem)
{
    QList<ArchivePointName> list;
    read([&](QSqlDatabase &db, QString *why) { return readPointNames(db, group, &list, why); },
         problem);
    return latestOf(list);
}

QList<QPair<int, int>> CArchive::pointsReadAfter(const QDateTime &time, QString *problem)
{
    QList<QPair<int, int>> points;
    read(
        [&](QSqlDatabase &db, QString *why) {
            points.clear();
            return eachRow(
                db,
                // From the later downloads to their results: a join would walk every result.
                QStringLiteral("SELECT DISTINCT grp, cell FROM results WHERE download_id IN "
                               "(SELECT id FROM downloads WHERE time_ms > ?) ORDER BY grp, cell"),
                {time.toMSecsSinceEpoch()},
                [&](const QSqlQuery &row) {
                    points.append({row.value(0).toInt(), row.value(1).toInt()});
                },
                why);
        },
        problem);
    return points;
}

QList<ArchiveLogEntry> CArchive::log(int group, QString *problem)
{
    CArchiveLog log;
    read(
        [&](QSqlDatabase &db, QString *why) {
            QList<ArchiveLimits> limits;
            QList<ArchiveSetting> names, settings;
            QList<ArchiveDecision> decisions;
            QList<ArchivePointName> points;
            if (!readLimits(db, &limits, why) || !readSettings(db, kNamesSelect, &names, why) ||
                !readSettings(db, kSettingsSelect, &settings, why) ||
                !readPointNames(db, 0, &points, why) || !readDecisions(db, false, &decisions, why))
                return false;
            log = CArchiveLog();
            log.add(limits);
            log.add(names);
            log.add(settings);
            log.add(points);
            log.add(decisions);
            return true;
        },
        problem);
    return log.entries(group);
}

QMap<qint64, QStringList> CArchive::objectNames(QString *problem)
{
    QMap<qint64, QStringList> names;
    read(
        [&](QSqlDatabase &db, QString *why) {
            names.clear();
            QSqlQuery query(db);
            query.setForwardOnly(true);
            const QString sql = QStringLiteral(
                "SELECT r.download_id, (SELECT g.name FROM group_names g WHERE g.grp = r.grp "
                "AND g.from_ms <= d.time_ms ORDER BY g.from_ms DESC, g.id DESC LIMIT 1) "
                "FROM (SELECT DISTINCT download_id, grp FROM results) r "
                "JOIN downloads d ON d.id = r.download_id ORDER BY r.download_id, r.grp");
            if (!run(query, sql, {}, why))
                return false;
            while (query.next()) {
                if (!query.value(1).isNull())
                    names[query.value(0).toLongLong()] << query.value(1).toString();
            }
            return true;
        },
        problem);
    return names;
}

QString CArchive::groupName(int group, const QDateTime &at, QString *problem)
{
    QString name;
    firstRow(
        QStringLiteral("SELECT name FROM group_names WHERE grp = ? AND from_ms <= ? "
                       "ORDER BY from_ms DESC, id DESC LIMIT 1"),
        {group, at.toMSecsSinceEpoch()},
        [&](const QSqlQuery &row) { name = row.value(0).toString(); }, problem);
    return name;
}

QMap<int, QString> CArchive::groupNames(const QDateTime &at, QString *problem)
{
    QMap<int, QString> names;
    read(
        [&](QSqlDatabase &db, QString *why) {
            return eachRow(
                db,
                QStringLiteral("SELECT grp, name FROM group_names WHERE from_ms <= ? "
                               "ORDER BY grp, from_ms, id"),
                {at.toMSecsSinceEpoch()},
                [&](const QSqlQuery &row) {
                    names.insert(row.value(0).toInt(), row.value(1).toString());
                },
                why);
        },
        problem);
    return names;
}

QDateTime CArchive::newestTime(QString *problem)
{
    QDateTime newest;
    firstRow(
        QStringLiteral("SELECT time_ms, utc_offset FROM downloads "
                       "ORDER BY time_ms DESC LIMIT 1"),
        {}, [&](const QSqlQuery &row) { newest = timeOf(row, 0); }, problem);
    return newest;
}

QByteArray CArchive::keptBytes(const QString &sha256, QString *problem)
{
    QByteArray bytes;
    firstRow(
        QStringLiteral("SELECT k.bytes FROM kept_files k JOIN downloads d "
                       "ON d.id = k.download_id WHERE d.sha256 = ?"),
        {sha256}, [&](const QSqlQuery &row) { bytes = row.value(0).toByteArray(); }, problem);
    return bytes;
}

bool CArchive::firstRow(const QString &sql, const QVariantList &values,
                        const std::function<void(const QSqlQuery &)> &take, QString *problem)
{
    return read(
        [&](QSqlDatabase &db, QString *why) {
            QSqlQuery query(db);
            if (!run(query, sql, values, why))
                return false;
            if (query.next())
                take(query);
            return true;
        },
        problem);
}
