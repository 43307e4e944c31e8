// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/reportparticulars.h"

namespace
{

struct Particular {
    const char *key;
    const char *label;
};

const Particular kParticulars[] = {
    {"client", QT_TRANSLATE_NOOP("CReportParticulars", "Client")},
    {"site", QT_TRANSLATE_NOOP("CReportParticulars", "Site")},
    {"object", QT_TRANSLATE_NOOP("CReportParticulars", "Object")},
    {"locations", QT_TRANSLATE_NOOP("CReportParticulars", "Locations measured")},
    {"operator", QT_TRANSLATE_NOOP("CReportParticulars", "Operator")},
    {"qualification", QT_TRANSLATE_NOOP("CReportParticulars", "Qualification")},
    {"instrument", QT_TRANSLATE_NOOP("CReportParticulars", "Instrument")},
    {"serial", QT_TRANSLATE_NOOP("CReportParticulars", "Serial number")},
    {"probe", QT_TRANSLATE_NOOP("CReportParticulars", "Probe")},
    {"couplant", QT_TRANSLATE_NOOP("CReportParticulars", "Couplant")},
    {"reference", QT_TRANSLATE_NOOP("CReportParticulars", "Reference block or sound velocity")},
    {"mode", QT_TRANSLATE_NOOP("CReportParticulars", "Measurement mode")},
    {"surface", QT_TRANSLATE_NOOP("CReportParticulars", "Surface condition")},
    {"date", QT_TRANSLATE_NOOP("CReportParticulars", "Date of the test")},
    {"deviations", QT_TRANSLATE_NOOP("CReportParticulars", "Deviations from the method")},
    {"remarks", QT_TRANSLATE_NOOP("CReportParticulars", "Remarks")},
};

} // namespace

QStringList CReportParticulars::keys()
{
    QStringList list;
    for (const Particular &p : kParticulars)
        list << QString::fromLatin1(p.key);
    return list;
}

QString CReportParticulars::label(const QString &key)
{
    for (const Particular &p : kParticulars) {
        if (key == QLatin1String(p.key))
            return tr(p.label);
    }
    return key;
}

QStringList CReportParticulars::lines(const QMap<QString, QString> &values)
{
    QStringList ordered = keys();
    for (const QString &key : values.keys()) {
        if (!ordered.contains(key))
            ordered << key;
    }
    QStringList result;
    for (const QString &key : ordered) {
        const QString value = values.value(key).simplified();
        if (!value.isEmpty())
            result << tr("%1: %2").arg(label(key), value);
    }
    return result;
}
