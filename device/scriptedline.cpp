// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/scriptedline.h"

#include <algorithm>
#include <cmath>

CScriptedLine &CScriptedLine::instance()
{
    static CScriptedLine line;
    return line;
}

void CScriptedLine::reset()
{
    line.clear();
    later.clear();
    answers.clear();
    devices.clear();
    onlyDevicePorts = false;
    frames.clear();
    clockUs = 0;
    openFails = false;
    settleMs = 0;
    writes = 0;
    portsOpen = 0;
}

void CScriptedLine::arrive(const std::string &bytes)
{
    line.insert(line.end(), bytes.begin(), bytes.end());
}

void CScriptedLine::arriveFill(std::uint8_t value, int count)
{
    line.insert(line.end(), static_cast<std::size_t>(count), value);
}

void CScriptedLine::arrivePaced(const std::string &bytes, const Pace &pace)
{
    const std::int64_t start = clockUs + std::int64_t(pace.delayMs) * 1000;
    if (pace.bytesPerSecond <= 0) {
        later.emplace(start, bytes);
        deliverDue();
        return;
    }
    const std::size_t step = std::size_t(std::max(1, pace.packet));
    for (std::size_t from = 0; from < bytes.size(); from += step) {
        const std::size_t end = std::min(bytes.size(), from + step);
        // A packet is handed over once its last byte has crossed the line.
        const auto due = std::int64_t(std::ceil(double(end) * 1e6 / pace.bytesPerSecond));
        later.emplace(start + due, bytes.substr(from, end - from));
    }
}

void CScriptedLine::answerNextWrite(const std::string &bytes, const Pace &pace)
{
    answers.push_back({bytes, pace});
}

void CScriptedLine::plugDevice(int port)
{
    onlyDevicePorts = true;
    devices.emplace(std::make_pair(port, -1), Answer{});
}

void CScriptedLine::unplugDevice(int port)
{
    for (auto it = devices.begin(); it != devices.end();)
        it = it->first.first == port ? devices.erase(it) : std::next(it);
}

void CScriptedLine::replyTo(int port, int command, const std::string &bytes, const Pace &pace)
{
    plugDevice(port);
    devices[{port, command}] = {bytes, pace};
}

bool CScriptedLine::opens(int port) const
{
    return !openFails && (!onlyDevicePorts || devices.count({port, -1}) != 0);
}

void CScriptedLine::written(int port, const void *data, int length)
{
    if (length <= 0)
        return;
    ++writes;
    const auto *bytes = static_cast<const char *>(data);
    frames.emplace_back(port, std::string(bytes, std::size_t(length)));
    constexpr int kCommandOffset = 8;
    const auto device = length > kCommandOffset
                            ? devices.find({port, std::uint8_t(bytes[kCommandOffset])})
                            : devices.end();
    if (device != devices.end())
        arrivePaced(device->second.bytes, device->second.pace);
    for (const Answer &a : answers)
        arrivePaced(a.bytes, a.pace);
    answers.clear();
}

int CScriptedLine::queued() const
{
    return static_cast<int>(line.size());
}

int CScriptedLine::take(void *buffer, int n)
{
    const int count = std::min(n, queued());
    std::copy_n(line.begin(), count, static_cast<std::uint8_t *>(buffer));
    line.erase(line.begin(), line.begin() + count);
    return count;
}

void CScriptedLine::advance(int ms)
{
    clockUs += std::int64_t(std::max(0, ms)) * 1000;
    deliverDue();
}

bool CScriptedLine::waitForInput(int ms)
{
    const std::int64_t deadline = clockUs + std::int64_t(std::max(0, ms)) * 1000;
    if (line.empty() && !later.empty() && later.begin()->first <= deadline) {
        clockUs = std::max(clockUs, later.begin()->first);
        deliverDue();
    }
    if (line.empty())
        clockUs = deadline;
    return !line.empty();
}

void CScriptedLine::deliverDue()
{
    while (!later.empty() && later.begin()->first <= clockUs) {
        arrive(later.begin()->second);
        later.erase(later.begin());
    }
}
