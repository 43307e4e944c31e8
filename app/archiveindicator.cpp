// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/archiveindicator.h"

#include "services/archiveservice.h"

#include <QStatusBar>

CArchiveIndicator::CArchiveIndicator(CArchiveService *archive, QStatusBar *bar)
    : QLabel(bar), archive(archive), bar(bar)
{
    setObjectName(QStringLiteral("archiveIndicator"));
    // The main window is narrow before a download: the line wraps rather than being cut.
    setWordWrap(true);
    bar->addPermanentWidget(this, 1);
    bar->hide();
    tick.setInterval(1000);
    connect(&tick, &QTimer::timeout, this, &CArchiveIndicator::follow);
    connect(archive, &CArchiveService::stateChanged, this, &CArchiveIndicator::follow);
    follow();
}

void CArchiveIndicator::follow()
{
    const CArchiveService::State state = archive->state();
    const QString text = CArchiveService::describe(state);
    setText(text);
    setToolTip(state.problem);
    bar->setVisible(!text.isEmpty());
    if (state.reach == CArchiveService::Reach::Away)
        tick.start();
    else
        tick.stop();
}
