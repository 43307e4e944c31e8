#include "scriptedline.h"

#include <algorithm>

CScriptedLine &CScriptedLine::instance()
{
    static CScriptedLine line;
    return line;
}

void CScriptedLine::reset()
{
    line.clear();
    answers.clear();
    openFails = false;
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

void CScriptedLine::answerNextWrite(const std::string &bytes)
{
    answers.push_back(bytes);
}

void CScriptedLine::written(int length)
{
    if (length <= 0)
        return;
    ++writes;
    for (const std::string &answer : answers)
        arrive(answer);
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
