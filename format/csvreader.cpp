// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/csvreader.h"

#include <QStringDecoder>

bool CCsvReader::read(const QByteArray &bytes, QList<Record> *records)
{
    // The decoder drops a byte-order mark.
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError()) {
        why = tr("the file is not UTF-8 text");
        return false;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar next = i + 1 < text.size() ? text.at(i + 1) : QChar();
        if (!take(text.at(i), next, &i, records))
            return false;
    }
    if (quoted) {
        why = tr("a quote is not closed");
        return false;
    }
    endRecord(records);
    return true;
}

bool CCsvReader::take(QChar c, QChar next, qsizetype *i, QList<Record> *records)
{
    if (quoted) {
        takeQuoted(c, next, i);
        return true;
    }
    if (c == QLatin1Char('\r') && next == QLatin1Char('\n'))
        return true;
    if (c == QLatin1Char('\n')) {
        endRecord(records);
        startLine = ++line;
    } else if (c == QLatin1Char(';')) {
        endField();
    } else if (c == QLatin1Char('"') && field.isEmpty() && !closed) {
        quoted = true;
    } else if (closed || c == QLatin1Char('"')) {
        startLine = line;
        why = tr("a quote in the middle of a field (a field that holds one is quoted whole, its "
                 "quotes doubled)");
        return false;
    } else {
        field += c;
    }
    return true;
}

void CCsvReader::takeQuoted(QChar c, QChar next, qsizetype *i)
{
    if (c == QLatin1Char('"') && next == QLatin1Char('"')) {
        field += c;
        ++*i;
    } else if (c == QLatin1Char('"')) {
        quoted = false;
        closed = true;
    } else if (!(c == QLatin1Char('\r') && next == QLatin1Char('\n'))) {
        line += c == QLatin1Char('\n');
        field += c;
    }
}

void CCsvReader::endField()
{
    fields << field;
    field.clear();
    closed = false;
}

void CCsvReader::endRecord(QList<Record> *records)
{
    const bool blank = fields.isEmpty() && field.isEmpty() && !closed;
    endField();
    if (!blank)
        records->append({startLine, fields});
    fields.clear();
}
