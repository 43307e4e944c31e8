#pragma once

#include <QByteArray>
#include <QStringList>

// collatrix-cli decode FILE [--extended] [--decimal-separator C] [-o OUT.csv]
int runDecodeCommand(const QStringList &args);
