// SPDX-License-Identifier: GPL-3.0-or-later
#include "services/archivesettings.h"

#include "services/programsettings.h"

namespace
{

const QString kSharedKey = QStringLiteral("archive/shared");

} // namespace

QString CArchiveSettings::sharedUrl()
{
    return CProgramSettings::open().value(kSharedKey).toString();
}

bool CArchiveSettings::setSharedUrl(const QString &url, QString *problem)
{
    const QString trimmed = url.trimmed();
    return CProgramSettings::set(kSharedKey, trimmed.isEmpty() ? QVariant() : trimmed, problem);
}

QString CArchiveSettings::chosenUrl()
{
    const QString environment = qEnvironmentVariable("COLLATRIX_ARCHIVE");
    return environment.isEmpty() ? sharedUrl() : environment;
}
