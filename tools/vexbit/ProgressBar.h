#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace vexbit::cli {

// A one-line progress bar on stderr. It shows only when stderr is a terminal
// and the job has already taken a second (short renders stay quiet), redraws
// at most ten times a second, and wipes itself when done.
class ProgressBar {
public:
    explicit ProgressBar(std::string label);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void update(std::size_t done, std::size_t total);
    void finish();

private:
    std::string label_;
    bool enabled_ = false;
    bool shown_ = false;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastDraw_;
};

} // namespace vexbit::cli
