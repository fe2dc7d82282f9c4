#pragma once
#include "viewkit/RunLoop.h"
#include <map>
#include <memory>
#include <vector>

namespace Steinberg::Linux {
class IRunLoop;
}

namespace viewkit {

// Serves the kit's run loop through the host's Steinberg::Linux::IRunLoop.
// Everything still registered is unregistered when the adapter is destroyed.
class Vst3RunLoop : public IRunLoop {
public:
    explicit Vst3RunLoop(Steinberg::Linux::IRunLoop* hostRunLoop);
    ~Vst3RunLoop() override;
    Vst3RunLoop(const Vst3RunLoop&) = delete;
    Vst3RunLoop& operator=(const Vst3RunLoop&) = delete;

    Handle watchFileDescriptor(int fd, Callback onReadable) override;
    Handle startTimer(uint32_t intervalMs, Callback onTimer) override;
    void cancel(Handle handle) override;

    size_t activeRegistrations() const;

    struct Registration;

private:
    void invoke(Handle handle);

    Steinberg::Linux::IRunLoop* host;
    std::map<Handle, std::unique_ptr<Registration>> registrations;
    std::vector<std::unique_ptr<Registration>> cancelled;
    int callbackDepth = 0;
    Handle nextHandle = 1;
};

} // namespace viewkit
