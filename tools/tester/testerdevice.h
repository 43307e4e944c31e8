// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "frameparser.h"
#include "testermemory.h"
#include "testeroptions.h"

#include <QElapsedTimer>

class CPtyLink;

// The gauge's side of the serial protocol on an open pseudo-terminal: answers the probes and
// A-scan requests, streams the memory at the line rate, and plays the fault modes.
class CTesterDevice
{
public:
    CTesterDevice(const CTesterMemory &memory, const TesterOptions &options, CPtyLink &link);

    // Serves until SIGINT/SIGTERM or a vanish fault; returns the exit status.
    int run();
    // Makes SIGINT and SIGTERM end run() (and interrupt any wait) so the link gets removed.
    static void installStopHandlers();

private:
    void handle(const CommandFrame &frame);
    void reply(const char *what, const QByteArray &bytes, const QString &cutName);
    void answerExtendedProbe();
    void answerAScan(const QByteArray &payload);
    void streamDump(int code);
    // The garbage and noise of the fault modes, alone ahead of the dump.
    bool sendStrayBytes();
    // The dump's bytes [0, end) at the line rate, with the tail pause if one is set.
    bool writeDump(int end);
    // Writes bytes [from, to) of data at rate bytes a second; false when stopped or the host
    // stopped reading.
    bool writePaced(const char *data, int from, int to, double rate);
    // Waits until the host has read everything written so far.
    bool waitUntilDrained();
    bool writeAll(const char *data, int size);
    bool pause(int ms);
    // Prints on the current line of the exchange; endLine false leaves it open for the end.
    void log(const QString &text, bool endLine = true);

    const CTesterMemory &memory;
    const TesterOptions &options;
    CPtyLink &link;
    QString name;
    CFrameParser parser;
    bool vanished = false;
    bool lineOpen = false;
};
