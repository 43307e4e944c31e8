#pragma once

#include "ascanparams.h"

#include <QByteArray>
#include <QVector>

// One A-scan fetched from the tester: its drawing parameters, its samples and the reply they
// were read from (kept with the download).
struct AScanEntry {
    AScanParams params;
    QVector<signed short> trace;
    QByteArray reply;
};
