// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QMap>
#include <QString>
#include <QStringList>

// The particulars that identify the object and the test on page one, as the
// thickness-measurement standards ask of a report. They are kept by key; a key of its own (from
// the command line) is printed under its own name, after the known ones.
class CReportParticulars
{
    Q_DECLARE_TR_FUNCTIONS(CReportParticulars)

public:
    // The known keys in the order they are printed and asked for.
    static QStringList keys();
    static QString label(const QString &key);
    // "Label: value" per particular given, known keys first.
    static QStringList lines(const QMap<QString, QString> &values);
};
