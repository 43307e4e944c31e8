// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/archivesettings.h"

#include <QSettings>

namespace
{

const QString kKey = QStringLiteral("archive/shared");

QSettings programSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("collatrix"),
                     QStringLiteral("collatrix"));
}

} // namespace

QString CArchiveSettings::sharedUrl()
{
    return programSettings().value(kKey).toString();
}

void CArchiveSettings::setSharedUrl(const QString &url)
{
    QSettings settings = programSettings();
    if (url.trimmed().isEmpty())
        settings.remove(kKey);
    else
        settings.setValue(kKey, url.trimmed());
}

QString CArchiveSettings::chosenUrl()
{
    const QString environment = qEnvironmentVariable("COLLATRIX_ARCHIVE");
    return environment.isEmpty() ? sharedUrl() : environment;
}
