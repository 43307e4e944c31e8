// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/archivesettings.h"

#include "data/programsettings.h"

namespace
{

const QString kSharedKey = QStringLiteral("archive/shared");

} // namespace

QString CArchiveSettings::sharedUrl()
{
    return CProgramSettings::open().value(kSharedKey).toString();
}

void CArchiveSettings::setSharedUrl(const QString &url)
{
    QSettings settings = CProgramSettings::open();
    if (url.trimmed().isEmpty())
        settings.remove(kSharedKey);
    else
        settings.setValue(kSharedKey, url.trimmed());
}

QString CArchiveSettings::chosenUrl()
{
    const QString environment = qEnvironmentVariable("COLLATRIX_ARCHIVE");
    return environment.isEmpty() ? sharedUrl() : environment;
}
