#pragma once

#include "ascanparams.h"

#include <QVector>

// One A-scan fetched from the tester: its drawing parameters and its samples.
struct AScanEntry {
    AScanParams params;
    QVector<signed short> trace;
};
