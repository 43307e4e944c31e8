// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// One object (group) in the list of what falls due: built from the evaluation of the newest
// reading of each of its points, wherever that reading was taken.
struct DueLine {
    int group = 0;
    // The object's name; empty when it has none.
    QString name;
    // The time of the newest reading of any of its points.
    QDateTime lastSurvey;
    // The kept file of the download that holds it, and its SHA-256, to open it again.
    QString lastFile;
    QString lastSha256;
    int points = 0;
    int belowMinimum = 0;
    int warning = 0;
    int suspect = 0;
    int overdue = 0;
    // The governing point: the one with the earliest next inspection; 0 when no point has a
    // date (every one waits for a review).
    int cell = 0;
    // The plant's name of the governing point; empty when it has none.
    QString pointName;
    // Invalid when no point has a date.
    QDate nextInspection;
};
