#pragma once

#include <QByteArray>
#include <QStringList>

// collatrix-cli decode FILE [--extended] [--decimal-separator C] [-o OUT.csv]
int runDecodeCommand(const QStringList &args);

// Why a dump yields no results, in a few words; empty when it decodes into at least one result.
QString decodeProblem(const QByteArray &dump, bool extended);
