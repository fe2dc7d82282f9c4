#include "host/VirtualDisplay.h"

#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vexbit::host {

namespace {

bool canConnect(const std::string& name)
{
    Display* display = XOpenDisplay(name.empty() ? nullptr : name.c_str());
    if (display == nullptr) return false;
    XCloseDisplay(display);
    return true;
}

// A display number from `first` on whose lock file and socket are free.
int freeDisplayNumber(int first)
{
    for (int n = first; n < first + 100; ++n) {
        struct stat st;
        const std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
        const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
        if (stat(lock.c_str(), &st) != 0 && stat(socket.c_str(), &st) != 0) return n;
    }
    return -1;
}

} // namespace

bool displayReachable()
{
    const char* name = std::getenv("DISPLAY");
    return name != nullptr && *name != '\0' && canConnect(name);
}

bool VirtualDisplay::start(std::string& error)
{
    // Another process may claim the same free number at the same moment; its
    // Xvfb then wins and ours exits at once, so try a few numbers.
    // Far above the numbers xvfb-run and desktops use.
    int first = 1000 + static_cast<int>((getpid() * 7919L + time(nullptr)) % 29000);
    for (int attempt = 0; attempt < 5; ++attempt) {
        const int number = freeDisplayNumber(first);
        if (number < 0) break;
        if (startOn(number, error)) return true;
        first = number + 1;
    }
    if (error.empty()) error = "no free X display number for Xvfb";
    return false;
}

bool VirtualDisplay::startOn(int number, std::string& error)
{
    name_ = ":" + std::to_string(number);
    pid_ = fork();
    if (pid_ < 0) {
        error = "cannot start Xvfb";
        return false;
    }
    if (pid_ == 0) {
        // The server's chatter is not ours to show.
        const int quiet = ::open("/dev/null", O_WRONLY);
        if (quiet >= 0) {
            dup2(quiet, STDOUT_FILENO);
            dup2(quiet, STDERR_FILENO);
        }
        // -noreset: the server stays up between clients, so a connection is never refused mid-reset.
        // The screen holds the editor at a scale of 4: a window's picture can be read only where it is on screen.
        execlp("Xvfb", "Xvfb", name_.c_str(), "-screen", "0", "4880x2688x24", "-nolisten", "tcp", "-noreset",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            error = "Xvfb exited at start (is the xvfb package installed?)";
            return false;
        }
        if (canConnect(name_)) {
            setenv("DISPLAY", name_.c_str(), 1);
            error.clear();
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    stop();
    error = "Xvfb did not answer within 10 seconds";
    return false;
}

VirtualDisplay::~VirtualDisplay()
{
    stop();
}

void VirtualDisplay::stop()
{
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
}

} // namespace vexbit::host
