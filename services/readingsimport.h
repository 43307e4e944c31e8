// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "format/keptdownload.h"
#include "format/measurementrecord.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>

class CArchiveSet;
class CKeptFolder;

// Earlier years of readings from a spreadsheet: a CSV file with the header
// time;group;cell;result;unit, read whole before anything is recorded, so that a file with a bad
// line records nothing. Each distinct time becomes a download of its own, kept in the
// kept-downloads folder and recorded like any other; its bytes depend on nothing but the file's
// name, the time and its readings, so importing a file again records nothing new.
class CReadingsImport
{
    Q_DECLARE_TR_FUNCTIONS(CReadingsImport)

public:
    struct BadLine {
        int line = 0;
        QString reason;
    };
    struct Tally {
        int downloads = 0;
        int readings = 0;
        int knownDownloads = 0;
        int knownReadings = 0;
        // What went wrong while recording; empty when all went well.
        QString problem;
        // What the archive said of a download it did record (the shared archive out of reach).
        QString note;
    };
    using Progress = std::function<void(int done, int total)>;
    // Enough bad lines to mend a file by; the rest are counted.
    static constexpr int kBadLinesShown = 20;

    // Reads the file; false with the reason in *problem when it cannot be read at all.
    bool read(const QString &path, QString *problem);
    // Reads the bytes of a file of the given name.
    void parse(const QByteArray &bytes, const QString &fileName);

    const QList<BadLine> &badLines() const { return bad; }
    // The first kBadLinesShown bad lines described, and how many more there are.
    QStringList badLineReport() const;
    int readingCount() const { return readings; }
    // The downloads to record, oldest first; none when a line is bad.
    QList<CKeptDownload> downloads() const;
    // Keeps and records each download not yet in the embedded archive.
    Tally record(CArchiveSet &set, const CKeptFolder &folder, const Progress &progress = {}) const;

    // The file's name as the imported downloads name their tester.
    static QString testerName(const QString &fileName);
    // The outcome in a sentence.
    static QString describe(const Tally &tally);
    enum class Outcome { Recorded, Unreadable, BadLines, Failed };
    // Reads the file and, when every line is good, records it; *lines say what came of it.
    static Outcome importFile(const QString &path, CArchiveSet &set, const CKeptFolder &folder,
                              QStringList *lines, const Progress &progress = {});

private:
    bool parseLine(const QStringList &fields, QDateTime *time, MeasurementRecord *record,
                   QString *reason);
    bool parseTime(const QString &text, QDateTime *time);

    QString source;
    // The readings by time (milliseconds since the epoch), each with the time as first given.
    QMap<qint64, QPair<QDateTime, QList<MeasurementRecord>>> surveys;
    QHash<QString, QDateTime> times;
    QList<BadLine> bad;
    int readings = 0;
};
