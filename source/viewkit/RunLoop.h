#pragma once
#include <cstdint>
#include <functional>

namespace viewkit {

// The host's UI event loop as the kit needs it: call back when a file
// descriptor is readable, and call back periodically. All callbacks come on the
// UI thread; the kit never blocks in them and never starts a thread.
class IRunLoop {
public:
    using Callback = std::function<void()>;
    using Handle = uint64_t;
    virtual ~IRunLoop() = default;
    // Return 0 on failure.
    virtual Handle watchFileDescriptor(int fd, Callback onReadable) = 0;
    virtual Handle startTimer(uint32_t intervalMs, Callback onTimer) = 0;
    // Stops a watch or a timer; unknown handles are ignored.
    virtual void cancel(Handle handle) = 0;
};

} // namespace viewkit
