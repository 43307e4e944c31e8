// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/programsettings.h"

#include <QCoreApplication>
#include <QDir>

QSettings CProgramSettings::open()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("collatrix"),
                     QStringLiteral("collatrix"));
}

bool CProgramSettings::set(const QString &key, const QVariant &value, QString *problem)
{
    QSettings settings = open();
    if (value.isNull())
        settings.remove(key);
    else
        settings.setValue(key, value);
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return true;
    *problem = QCoreApplication::translate("CProgramSettings", "%1 cannot be written")
                   .arg(QDir::toNativeSeparators(settings.fileName()));
    return false;
}
