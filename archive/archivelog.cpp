// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/archivelog.h"

#include "archive/archive.h"

#include <QMap>
#include <QPair>
#include <QSet>

#include <algorithm>

namespace
{

QString userOf(const ArchiveSetting &setting)
{
    if (setting.role.isEmpty())
        return setting.by;
    return (setting.by.isEmpty() ? QString() : setting.by + QLatin1Char(' ')) + QLatin1Char('(') +
           setting.role + QLatin1Char(')');
}

ArchiveSetting limit(const ArchiveLimits &limits, const QString &what, double value)
{
    return {limits.group, what,        QString::number(value), limits.from,
            limits.by,    limits.role, limits.reason};
}

// A decision as the setting of its reading.
ArchiveSetting verdict(const ArchiveDecision &d)
{
    return {d.group,
            QStringLiteral("reading %1 %2").arg(d.cell).arg(CArchive::timeText(d.readingTime)),
            d.decision,
            d.at,
            d.by,
            d.role,
            d.reason};
}

ArchiveSetting pointValue(const ArchivePointName &p, const char *what, const QString &value)
{
    return {p.group, QStringLiteral("point %1 %2").arg(p.cell).arg(QLatin1String(what)),
            value,   p.from,
            p.by,    p.role,
            p.reason};
}

} // namespace

void CArchiveLog::add(const QList<ArchiveLimits> &limits)
{
    QList<ArchiveSetting> values;
    for (const ArchiveLimits &l : limits)
        values << limit(l, QStringLiteral("nominal"), l.nominal)
               << limit(l, QStringLiteral("minimum"), l.minimum)
               << limit(l, QStringLiteral("warning"), l.warning);
    add(values, false);
}

void CArchiveLog::add(const QList<ArchiveSetting> &settings)
{
    add(settings, false);
}

void CArchiveLog::add(const QList<ArchivePointName> &points)
{
    QList<ArchiveSetting> values;
    QSet<QPair<int, int>> located;
    for (const ArchivePointName &p : points) {
        values << pointValue(p, "name", p.name);
        if (!p.location.isEmpty() || located.contains({p.group, p.cell})) {
            values << pointValue(p, "location", p.location);
            located.insert({p.group, p.cell});
        }
    }
    add(values, false);
}

void CArchiveLog::add(const QList<ArchiveDecision> &decisions)
{
    QList<ArchiveSetting> values;
    for (const ArchiveDecision &d : decisions)
        values << verdict(d);
    add(values, true);
}

void CArchiveLog::add(const QList<ArchiveSetting> &settings, bool everyOne)
{
    QMap<QPair<int, QString>, QString> before;
    for (const ArchiveSetting &s : settings) {
        const QPair<int, QString> key{s.group, s.what};
        const QString old = before.value(key);
        if (everyOne || !before.contains(key) || old != s.value)
            list << ArchiveLogEntry{s.from, userOf(s), s.group, s.what, old, s.value, s.reason};
        before.insert(key, s.value);
    }
}

QList<ArchiveLogEntry> CArchiveLog::entries(int group) const
{
    QList<ArchiveLogEntry> chosen;
    std::copy_if(list.cbegin(), list.cend(), std::back_inserter(chosen),
                 [group](const ArchiveLogEntry &e) { return group == 0 || e.group == group; });
    std::stable_sort(
        chosen.begin(), chosen.end(),
        [](const ArchiveLogEntry &a, const ArchiveLogEntry &b) { return a.at < b.at; });
    return chosen;
}
