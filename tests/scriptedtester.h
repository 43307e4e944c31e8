// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/scriptedline.h"

#include <string>

// The scripted serial line, and the start of a layout-2 or layout-3 dump with its block count.
inline CScriptedLine &line()
{
    return CScriptedLine::instance();
}

inline std::string m47Header(int count)
{
    return std::string("ORBEXM47T") + char(count >> 8) + char(count & 0xFF);
}
