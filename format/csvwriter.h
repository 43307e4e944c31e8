// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "format/zrdata.h"

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

class QIODevice;

// Writes results in the semicolon-separated CSV format: a header line, then one line per row,
// in the local 8-bit encoding, every line ending with CR LF. The program and the command-line
// tool share it; the program fills in translated texts and the system's decimal separator.
class CCsvWriter
{
public:
    CCsvWriter();

    QString csvHeader;
    QString csvHeaderWithAScan;
    QStringList unitTexts;
    QChar decimalSeparator = QLatin1Char('.');

    static QString aScanFileName(int group, int cell);
    QString unitText(int unit) const;
    // The result with the decimal separator in use.
    QString resultText(const MeasurementRecord &record) const;

    QByteArray headerLine(bool hasAScans) const;
    QByteArray rowLine(const MeasurementRecord &record, bool hasAScans) const;

    // Header plus the given rows of data; rows without a record are skipped. False when a line
    // could not be written.
    bool write(QIODevice &out, const CZRData &data, const QList<int> &rows) const;
    bool writeRow(QIODevice &out, const MeasurementRecord &record, bool hasAScans) const;

    static QList<int> allRows(const CZRData &data);
    // A field that holds a ';', a quote or a line break is quoted, its quotes doubled, so that
    // every entry stays one line of fields.
    static QString field(const QString &text);
};
