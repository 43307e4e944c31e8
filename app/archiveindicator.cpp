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
    // A new archive takes in every download kept before it, which takes a while for many.
    connect(archive, &CArchiveService::importProgress, this, [this](int done, int total) {
        setText(tr("Adding the kept downloads to the archive: %1 of %2").arg(done).arg(total));
        this->bar->show();
    });
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
