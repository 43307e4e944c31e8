// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

// Blocks the calling thread for ms milliseconds. False when no timer could be made (then it does
// not wait).
bool sleepMs(int ms);
// Milliseconds on the clock that sleepMs moves: a monotonic clock, virtual in the scripted build.
std::int64_t clockMs();

// One serial port, addressed by its COM number, always 8N1 with RTS raised. Reads never wait;
// waitForInput polls. On Windows the port sits on the communications API; elsewhere COM n is
// mapped to a device file (see setPortsFolder).
class CCOMPort
{
public:
    static constexpr int kNameSize = 256;
    static constexpr int kQueueSize = 50000;
    static constexpr int kSettleMs = 50;
    static constexpr int kPollStepMs = 50;

    CCOMPort();
    CCOMPort(const CCOMPort &) = delete;
    CCOMPort &operator=(const CCOMPort &) = delete;
    virtual ~CCOMPort();

    // Names the port "\\.\COMn"; the form also reaches ports above 9.
    void setPortNumber(int n);
    const char *deviceName() const { return name; }
    bool isOpen() const;

    // Overlapped mode is used only by the port scan; it makes write() report success always.
    // A port that belongs to another program is left untouched; refusal() then says why.
    bool open(bool overlapped);
    void close();
    // Why the last open left the port alone (a console, a login, a lock); empty when it opened
    // or when there was nothing to open.
    const QString &refusal() const { return refusalReason; }
    // The tester answered here: its line keeps our settings when it is closed. Any other port
    // gets back the settings and modem lines it had.
    void markAsTester() { tester = true; }
    // Waits until a byte is queued or timeoutMs has run out, whichever comes first; true when
    // a byte is there.
    bool waitReadable(int timeoutMs);
    // Takes at most maxBytes of what has already arrived, nothing when no more than minBytes wait.
    int read(void *buffer, int maxBytes, int minBytes);
    bool write(const void *data, int length);
    // True as soon as a byte waits: tests at once, then every 50 ms until timeoutMs has run out.
    bool waitForInput(int timeoutMs);

    // Off Windows, COM n opens the entry "COMn" of these folders when it exists (a device node
    // or a link to one, such as a pseudo-terminal), else a fixed device table. Unset means the
    // folder "ports" beside the program, then "collatrix/ports" in the user's runtime folder
    // (where an installed simulator links its port); on Windows there is no such folder.
    static void setPortsFolder(const QString &folder);
    static QString portsFolder();
    static QStringList portsFolders();
    static QString runtimePortsFolder();
    // The checks for ports of other programs look at the running processes. A search keeps the
    // returned look while it opens port after port, so that they take it only once; null where
    // the platform needs no such look.
    [[nodiscard]] static std::shared_ptr<const void> surveyOwners();
    // The n of "\\.\COMn".
    int portNumber() const;
    // Drops what the line holds now.
    void flushInput();

    int baudRate = 38400;

private:
    // Bytes waiting in the input queue; 0 when closed or when the driver cannot tell.
    int queuedBytes() const;
    // Reads n bytes that are known to be queued; returns how many came.
    int readQueued(void *buffer, int n);

    // The platform's handle and mode, defined by the backend.
    struct Native;
    struct NativeDeleter {
        void operator()(Native *native) const;
    };
    static Native *newNative();
    std::unique_ptr<Native, NativeDeleter> native;
    char name[kNameSize];
    QString refusalReason;
    bool tester = false;
};
