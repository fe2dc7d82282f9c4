#include "support/RunVexbit.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace vexbit::test {

namespace fs = std::filesystem;

TempFolder::TempFolder()
{
    std::string pattern = (fs::temp_directory_path() / "vexbit-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
    root_ = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

std::vector<std::string> TempFolder::files() const
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(root_)) names.push_back(entry.path().filename().string());
    return names;
}

namespace {

std::string readAll(int fd)
{
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<std::size_t>(n));
    return text;
}

} // namespace

ToolRun runVexbit(const std::vector<std::string>& args, bool withDisplay)
{
    std::vector<std::string> all{VEXBIT_EXECUTABLE};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);

    // Both streams go to files so neither can fill up and block the child.
    char outPath[] = "/tmp/vexbit-test-out-XXXXXX";
    char errPath[] = "/tmp/vexbit-test-err-XXXXXX";
    const int outFd = ::mkstemp(outPath);
    const int errFd = ::mkstemp(errPath);
    ToolRun run;
    if (outFd < 0 || errFd < 0) return run;
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (!withDisplay) ::unsetenv("DISPLAY");
        ::dup2(outFd, 1);
        ::dup2(errFd, 2);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    ::lseek(outFd, 0, SEEK_SET);
    ::lseek(errFd, 0, SEEK_SET);
    run.out = readAll(outFd);
    run.err = readAll(errFd);
    ::close(outFd);
    ::close(errFd);
    ::unlink(outPath);
    ::unlink(errPath);
    return run;
}

} // namespace vexbit::test
