#pragma once

#include "testbytes.h"

#include <QString>
#include <atomic>
#include <map>
#include <mutex>
#include <thread>

// A scripted tester on a pseudo-terminal, linked as COMn into a ports folder. A thread records
// every byte the program writes and answers each complete command frame with the reply
// scripted for its command code (none when nothing is scripted).
class PtyPeer
{
public:
    // Replies go out this long after their command, half way between two 50 ms input tests of
    // the program, so a reply never arrives while the program looks.
    static constexpr int kReplyDelayMs = 25;

    PtyPeer(const QString &portsFolder, int portNumber);
    PtyPeer(const PtyPeer &) = delete;
    PtyPeer &operator=(const PtyPeer &) = delete;
    ~PtyPeer();

    bool isValid() const { return master >= 0; }
    // Set replies before the program starts talking.
    void setReply(int command, const Bytes &reply);
    // Writes bytes to the program now, from the calling thread (or the peer's own for replies).
    void send(const Bytes &data);
    // Everything the program wrote so far.
    Bytes received() const;

private:
    bool openPair();
    void run();
    void answerFrames();

    int master = -1;
    int slave = -1;
    QString link;
    std::map<int, Bytes> replies;
    Bytes pending;
    Bytes log;
    mutable std::mutex mutex;
    std::atomic<bool> stopping{false};
    std::thread worker;
};
