// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QTimer>

class CArchiveService;
class QStatusBar;

// The archive's state in the main window's status area: opening, the shared archive out of reach
// with the downloads waiting and the next try, a password wanted. The status area shows only
// while there is something to say.
class CArchiveIndicator : public QLabel
{
    Q_OBJECT

public:
    CArchiveIndicator(CArchiveService *archive, QStatusBar *bar);

private:
    void follow();

    CArchiveService *archive;
    QStatusBar *bar;
    // Counts the seconds down to the next try.
    QTimer tick;
};
