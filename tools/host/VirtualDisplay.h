#pragma once

#include <string>
#include <sys/types.h>

namespace vexbit::host {

// An X server without a screen (Xvfb) for machines with no display: started on
// a free display number, made the process's DISPLAY, stopped on destruction.
class VirtualDisplay {
public:
    // Starts Xvfb and waits until it accepts connections; false with a reason in error.
    bool start(std::string& error);
    ~VirtualDisplay();

    bool running() const { return pid_ > 0; }
    const std::string& name() const { return name_; }

private:
    bool startOn(int number, std::string& error);
    void stop();

    pid_t pid_ = -1;
    std::string name_;
};

// Whether an X display is reachable now (DISPLAY set and answering).
bool displayReachable();

} // namespace vexbit::host
