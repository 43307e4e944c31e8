// SPDX-License-Identifier: GPL-3.0-or-later
// The serial port on Windows, on the communications API.
#include "device/comport.h"

#include <windows.h>

#include <cstring>

namespace
{

// Read time-outs in milliseconds; reads only ask for queued bytes, so they hardly matter.
constexpr DWORD kReadIntervalTimeout = 10;
constexpr DWORD kReadTotalTimeoutMultiplier = 2;
constexpr DWORD kReadTotalTimeoutConstant = 10;

bool isValid(HANDLE h)
{
    return h != nullptr && h != INVALID_HANDLE_VALUE;
}

void configureLine(HANDLE handle, int baudRate)
{
    DCB dcb;
    std::memset(&dcb, 0, sizeof dcb);
    dcb.DCBlength = sizeof dcb;
    GetCommState(handle, &dcb);
    dcb.BaudRate = static_cast<DWORD>(baudRate);
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    SetCommState(handle, &dcb);
}

void setReadTimeouts(HANDLE handle)
{
    COMMTIMEOUTS timeouts;
    std::memset(&timeouts, 0, sizeof timeouts);
    GetCommTimeouts(handle, &timeouts);
    timeouts.ReadIntervalTimeout = kReadIntervalTimeout;
    timeouts.ReadTotalTimeoutMultiplier = kReadTotalTimeoutMultiplier;
    timeouts.ReadTotalTimeoutConstant = kReadTotalTimeoutConstant;
    SetCommTimeouts(handle, &timeouts);
}

} // namespace

struct CCOMPort::Native {
    HANDLE handle = INVALID_HANDLE_VALUE;
    OVERLAPPED block;
    // The block while the port is open in overlapped mode, else null.
    OVERLAPPED *overlapped = nullptr;
    // The line as it was found, given back when the port was not the tester's.
    DCB found;
    bool foundSaved = false;

    Native()
    {
        std::memset(&block, 0, sizeof block);
        block.hEvent = INVALID_HANDLE_VALUE;
    }

    void releaseOverlapped()
    {
        if (overlapped == nullptr)
            return;
        if (isValid(block.hEvent))
            CloseHandle(block.hEvent);
        std::memset(&block, 0, sizeof block);
        block.hEvent = INVALID_HANDLE_VALUE;
        overlapped = nullptr;
    }
};

// An auto-reset event that nobody signals serves as the timer.
bool sleepMs(int ms)
{
    HANDLE timer = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (timer == nullptr)
        return false;
    WaitForSingleObject(timer, static_cast<DWORD>(ms > 0 ? ms : 0));
    CloseHandle(timer);
    return true;
}

std::int64_t clockMs()
{
    return static_cast<std::int64_t>(GetTickCount64());
}

// The driver can signal arrivals only to an overlapped wait; a millisecond poll is as quick.
bool CCOMPort::waitReadable(int timeoutMs)
{
    const std::int64_t deadline = clockMs() + timeoutMs;
    while (isOpen() && queuedBytes() == 0) {
        if (clockMs() >= deadline)
            return false;
        sleepMs(1);
    }
    return queuedBytes() > 0;
}

CCOMPort::Native *CCOMPort::newNative()
{
    return new Native;
}

void CCOMPort::NativeDeleter::operator()(Native *native) const
{
    delete native;
}

bool CCOMPort::isOpen() const
{
    return isValid(native->handle);
}

// The driver refuses a port that another program holds: there is nothing to look at first.
std::shared_ptr<const void> CCOMPort::surveyOwners()
{
    return nullptr;
}

bool CCOMPort::open(bool overlappedMode)
{
    close();
    Native &n = *native;
    n.overlapped = overlappedMode ? &n.block : nullptr;
    if (n.overlapped != nullptr)
        n.block.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    n.handle = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           overlappedMode ? FILE_FLAG_OVERLAPPED : 0, nullptr);
    if (!isValid(n.handle)) {
        n.handle = INVALID_HANDLE_VALUE;
        n.releaseOverlapped();
        return false;
    }
    SetupComm(n.handle, kQueueSize, kQueueSize);
    std::memset(&n.found, 0, sizeof n.found);
    n.found.DCBlength = sizeof n.found;
    n.foundSaved = GetCommState(n.handle, &n.found) != FALSE;
    configureLine(n.handle, baudRate);
    sleepMs(kSettleMs);
    setReadTimeouts(n.handle);
    flushInput();
    return true;
}

void CCOMPort::close()
{
    if (!isValid(native->handle))
        return;
    native->releaseOverlapped();
    if (native->foundSaved && !tester)
        SetCommState(native->handle, &native->found);
    native->foundSaved = false;
    CloseHandle(native->handle);
    native->handle = INVALID_HANDLE_VALUE;
}

// In overlapped mode a write that the system leaves pending counts as done.
bool CCOMPort::write(const void *data, int length)
{
    DWORD written = 0;
    const BOOL ok =
        WriteFile(native->handle, data, static_cast<DWORD>(length), &written, native->overlapped);
    return native->overlapped != nullptr || ok != FALSE;
}

int CCOMPort::queuedBytes() const
{
    if (!isValid(native->handle))
        return 0;
    DWORD errors = 0;
    COMSTAT status;
    std::memset(&status, 0, sizeof status);
    if (!ClearCommError(native->handle, &errors, &status))
        return 0;
    return static_cast<int>(status.cbInQue);
}

// A read that the system leaves pending in overlapped mode reports 0 bytes.
int CCOMPort::readQueued(void *buffer, int n)
{
    DWORD got = 0;
    if (!ReadFile(native->handle, buffer, static_cast<DWORD>(n), &got, native->overlapped))
        return 0;
    return static_cast<int>(got);
}
