// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The archive the due list is timed on: 250 objects with limits and names, 1,200 points each,
// surveyed ten times, each survey a download of 25 objects recorded as any download is. A tester
// numbers its groups 1 to 256, so an archive holds at most 256 objects: the three million
// readings are spread over 250 of them rather than 1,000.
#include "archive/archive.h"
#include "archivetesting.h"

namespace duearchive
{

constexpr int kObjects = 250;
constexpr int kPoints = 1200;
constexpr int kSurveys = 10;
constexpr int kObjectsPerDownload = 25;

inline CKeptDownload survey(int year, int firstObject)
{
    QList<std::array<int, 5>> records;
    records.reserve(kObjectsPerDownload * kPoints);
    for (int g = firstObject; g < firstObject + kObjectsPerDownload; ++g) {
        for (int c = 1; c <= kPoints; ++c)
            records.append({g, c, 1200 - year * (1 + (g * 7 + c * 13) % 5), 1, 0});
    }
    return keptAt(QStringLiteral("%1-03-%2T10:00:00+01:00")
                      .arg(2016 + year)
                      .arg(1 + firstObject / kObjectsPerDownload, 2, 10, QLatin1Char('0')),
                  records);
}

inline bool fill(const CArchiveLocation &location)
{
    CArchive archive(location);
    QString problem;
    if (!archive.open(&problem))
        return false;
    for (int year = 0; year < kSurveys; ++year) {
        for (int first = 1; first <= kObjects; first += kObjectsPerDownload) {
            const CKeptDownload kept = survey(year, first);
            if (archive.record(kept, kept.toBytes(),
                               QStringLiteral("/kept/%1-%2").arg(year).arg(first),
                               &problem) != CArchive::Recorded::New)
                return false;
        }
    }
    for (int g = 1; g <= kObjects; ++g) {
        archive.setLimits(ArchiveLimits{g, 12.0, 11.4, 0.2, at("2015-01-01T00:00:00Z")}, &problem);
        archive.nameGroup(g, QStringLiteral("Line %1").arg(g), at("2015-01-01T00:00:00Z"),
                          &problem);
    }
    return problem.isEmpty();
}

} // namespace duearchive
