// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringList>

// collatrix-cli decode FILE [--extended] [--decimal-separator C] [-o OUT.csv]
int runDecodeCommand(const QStringList &args);
