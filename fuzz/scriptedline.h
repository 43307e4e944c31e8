#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

// The far end of the serial line in the fuzz build: what the device has sent and not yet been
// read, and what it will send after the program's next write (its answer to a command). Every
// port shares the one line; only one is open at a time.
class CScriptedLine
{
public:
    static CScriptedLine &instance();

    void reset();
    // Bytes that are on the line now.
    void arrive(const std::string &bytes);
    void arriveFill(std::uint8_t value, int count);
    // Bytes the device sends once the program has written its next command.
    void answerNextWrite(const std::string &bytes);

    // For the port layer.
    void written(int length);
    int queued() const;
    int take(void *buffer, int n);

    bool openFails = false;
    int writes = 0;
    int portsOpen = 0;

private:
    std::deque<std::uint8_t> line;
    std::vector<std::string> answers;
};
