// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "archive/archivepointname.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>

class CArchive;

// The plant's names and locations of the test points, from a list kept beside the plant's
// drawings or typed in the Archive window. The list is CSV with the header
// group;cell;name;location, ';' between fields, a field in double quotes when it needs them (a
// quote inside doubled), UTF-8 with or without a byte order mark, lines ended by CR LF or LF.
class CPointNames
{
    Q_DECLARE_TR_FUNCTIONS(CPointNames)

public:
    static const QString kHeader;

    // The points of the list; false with the first bad line and why in *problem.
    static bool read(const QByteArray &bytes, QList<ArchivePointName> *points, QString *problem);
    // Names the points of the list from now on, all or none; only those that changed get a row,
    // their number in *changed. False with the reason (a bad line: nothing recorded).
    static bool import(CArchive &archive, const QByteArray &bytes, const QString &reason,
                       int *changed, QString *problem);
    // Names one point from now on.
    static bool name(CArchive &archive, const ArchivePointName &point, QString *problem);
};
