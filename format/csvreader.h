// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

// Reads the lists people bring from spreadsheets: UTF-8 (with or without a byte-order mark),
// fields separated by ';', a field that holds ';', a quote or a line break in double quotes with
// its quotes doubled, lines ending in CR LF or LF. A blank line is no record.
class CCsvReader
{
    Q_DECLARE_TR_FUNCTIONS(CCsvReader)

public:
    struct Record {
        // The line the record starts on, counted from 1.
        int line = 0;
        QStringList fields;
    };

    // False at the first fault, with its line and why.
    bool read(const QByteArray &bytes, QList<Record> *records);
    int faultLine() const { return startLine; }
    const QString &fault() const { return why; }

private:
    bool take(QChar c, QChar next, qsizetype *i, QList<Record> *records);
    void takeQuoted(QChar c, QChar next, qsizetype *i);
    void endField();
    void endRecord(QList<Record> *records);

    QString field;
    QStringList fields;
    QString why;
    int line = 1;
    int startLine = 1;
    bool quoted = false;
    bool closed = false;
};
