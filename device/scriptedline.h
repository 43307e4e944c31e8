// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

// How a scripted device sends: all at once when bytesPerSecond is 0, otherwise at that rate in
// packets of up to packet bytes; the first byte leaves delayMs after the cause.
struct ScriptedPace {
    double bytesPerSecond = 0;
    int packet = 64;
    int delayMs = 0;
};

// The far end of the serial line in the scripted build (tests and fuzzing): what the device has
// sent and not yet been read, what it will send later, and what it answers to the program's
// next write. Time is virtual: it moves only when the program sleeps, so a reply that trickles
// in at the line rate costs a test no real time. Every port shares the one line; only one is
// open at a time.
class CScriptedLine
{
public:
    static CScriptedLine &instance();

    void reset();
    // Bytes that are on the line now.
    void arrive(const std::string &bytes);
    void arriveFill(std::uint8_t value, int count);
    using Pace = ScriptedPace;
    void arrivePaced(const std::string &bytes, const Pace &pace);
    // Bytes the device sends once the program has written its next command.
    void answerNextWrite(const std::string &bytes, const Pace &pace = Pace());
    // A device on COM port: it answers every frame with this command code so. Once a device is
    // plugged in, only the ports of devices open.
    void plugDevice(int port);
    // The device leaves; its port no longer opens.
    void unplugDevice(int port);
    void replyTo(int port, int command, const std::string &bytes, const Pace &pace = Pace());

    // For the port layer.
    bool opens(int port) const;
    void written(int port, const void *data, int length);
    int queued() const;
    int take(void *buffer, int n);
    void advance(int ms);
    // Moves the clock to the next arrival when it comes within ms, else by ms; true when a byte
    // is then on the line.
    bool waitForInput(int ms);
    // Virtual microseconds since the last reset.
    std::int64_t now() const { return clockUs; }

    bool openFails = false;
    // What an open costs on the virtual clock; a real port settles for CCOMPort::kSettleMs.
    int settleMs = 0;
    int writes = 0;
    int portsOpen = 0;
    // Every frame the program wrote, with the port it went to.
    std::vector<std::pair<int, std::string>> frames;

private:
    struct Answer {
        std::string bytes;
        Pace pace;
    };
    void deliverDue();

    std::deque<std::uint8_t> line;
    std::multimap<std::int64_t, std::string> later;
    std::vector<Answer> answers;
    std::map<std::pair<int, int>, Answer> devices;
    bool onlyDevicePorts = false;
    std::int64_t clockUs = 0;
};
