// Starts a private Xvfb for the X11 tests. A shared server (e.g. from xvfb-run)
// resets whenever its last client disconnects and drops connections meanwhile;
// ours runs with -noreset on a random display number. Without Xvfb installed
// the tests use $DISPLAY as it is, or skip.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <random>
#include <fcntl.h>
#include <sys/prctl.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

class OwnXServer : public ::testing::Environment {
public:
    void SetUp() override
    {
        const char* xvfb = "/usr/bin/Xvfb";
        if (access(xvfb, X_OK) != 0) return;
        std::mt19937 random(std::random_device{}());
        for (int attempt = 0; attempt < 5 && pid == 0; ++attempt) {
            const std::string display = ":" + std::to_string(std::uniform_int_distribution<int>(1000, 30000)(random));
            const char* argv[] = {xvfb,        display.c_str(), "-screen",  "0",    "1024x768x24",
                                  "-nolisten", "tcp",           "-noreset", nullptr};
            const pid_t child = fork();
            if (child < 0) return;
            if (child == 0) {
                // The server must not outlive this test process, nor hold its output open.
                prctl(PR_SET_PDEATHSIG, SIGTERM);
                const int devNull = open("/dev/null", O_RDWR);
                dup2(devNull, 0);
                dup2(devNull, 1);
                dup2(devNull, 2);
                execv(xvfb, const_cast<char**>(argv));
                _exit(127);
            }
            if (waitForServer(display, child)) {
                pid = child;
                setenv("DISPLAY", display.c_str(), 1);
            } else {
                stop(child);
            }
        }
    }

    void TearDown() override
    {
        if (pid) stop(pid);
        pid = 0;
    }

private:
    static bool waitForServer(const std::string& display, pid_t child)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < end) {
            int status = 0;
            if (waitpid(child, &status, WNOHANG) == child) return false; // display taken
            if (Display* d = XOpenDisplay(display.c_str())) {
                XCloseDisplay(d);
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    static void stop(pid_t child)
    {
        kill(child, SIGTERM);
        int status = 0;
        waitpid(child, &status, 0);
    }

    pid_t pid = 0;
};

[[maybe_unused]] ::testing::Environment* const ownXServer = ::testing::AddGlobalTestEnvironment(new OwnXServer);

} // namespace
