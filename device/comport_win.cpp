// The serial port on Windows, on the communications API.
#include "comport.h"

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

CCOMPort::CCOMPort()
{
    std::memset(&overlappedBlock, 0, sizeof overlappedBlock);
    overlappedBlock.hEvent = INVALID_HANDLE_VALUE;
    setPortNumber(1);
}

bool CCOMPort::isOpen() const
{
    return isValid(handle);
}

bool CCOMPort::open(bool overlappedMode)
{
    close();
    overlapped = overlappedMode ? &overlappedBlock : nullptr;
    if (overlapped != nullptr)
        overlappedBlock.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    handle = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         overlappedMode ? FILE_FLAG_OVERLAPPED : 0, nullptr);
    if (!isValid(handle)) {
        handle = INVALID_HANDLE_VALUE;
        releaseOverlapped();
        return false;
    }
    SetupComm(handle, kQueueSize, kQueueSize);
    configureLine(handle, baudRate);
    sleepMs(kSettleMs);
    setReadTimeouts(handle);
    flushInput();
    return true;
}

void CCOMPort::close()
{
    if (!isValid(handle))
        return;
    releaseOverlapped();
    CloseHandle(handle);
    handle = INVALID_HANDLE_VALUE;
}

void CCOMPort::releaseOverlapped()
{
    if (overlapped == nullptr)
        return;
    if (isValid(overlappedBlock.hEvent))
        CloseHandle(overlappedBlock.hEvent);
    std::memset(&overlappedBlock, 0, sizeof overlappedBlock);
    overlappedBlock.hEvent = INVALID_HANDLE_VALUE;
    overlapped = nullptr;
}

// In overlapped mode a write that the system leaves pending counts as done.
bool CCOMPort::write(const void *data, int length)
{
    DWORD written = 0;
    const BOOL ok = WriteFile(handle, data, static_cast<DWORD>(length), &written, overlapped);
    return overlapped != nullptr || ok != FALSE;
}

int CCOMPort::queuedBytes() const
{
    if (!isValid(handle))
        return 0;
    DWORD errors = 0;
    COMSTAT status;
    std::memset(&status, 0, sizeof status);
    if (!ClearCommError(handle, &errors, &status))
        return 0;
    return static_cast<int>(status.cbInQue);
}

// A read that the system leaves pending in overlapped mode reports 0 bytes.
int CCOMPort::readQueued(void *buffer, int n)
{
    DWORD got = 0;
    if (!ReadFile(handle, buffer, static_cast<DWORD>(n), &got, overlapped))
        return 0;
    return static_cast<int>(got);
}
