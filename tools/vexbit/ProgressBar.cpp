#include "vexbit/ProgressBar.h"

#include <cstdio>
#include <unistd.h>

namespace vexbit::cli {

namespace {

constexpr auto kQuietTime = std::chrono::seconds(1);
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
constexpr int kBarWidth = 32;

} // namespace

ProgressBar::ProgressBar(std::string label)
    : label_(std::move(label)), enabled_(::isatty(STDERR_FILENO) == 1), start_(std::chrono::steady_clock::now())
{}

ProgressBar::~ProgressBar()
{
    finish();
}

void ProgressBar::update(std::size_t done, std::size_t total)
{
    if (!enabled_ || total == 0) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - start_ < kQuietTime || (shown_ && now - lastDraw_ < kRedrawInterval)) return;
    lastDraw_ = now;
    shown_ = true;
    const double fraction = static_cast<double>(done) / static_cast<double>(total);
    const int filled = static_cast<int>(fraction * kBarWidth);
    const double elapsed = std::chrono::duration<double>(now - start_).count();
    const double left = fraction > 0 ? elapsed / fraction - elapsed : 0.0;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.resize(kBarWidth, '.');
    std::fprintf(stderr, "\r%s [%s] %3.0f%%  %.0f s left ", label_.c_str(), bar.c_str(), fraction * 100.0, left);
    std::fflush(stderr);
}

void ProgressBar::finish()
{
    if (!shown_) return;
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
    shown_ = false;
}

} // namespace vexbit::cli
