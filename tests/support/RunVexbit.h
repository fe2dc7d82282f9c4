#pragma once

// A private temporary folder, and the built vexbit program run as a user runs
// it: a child process with its exit status and both output streams.

#include <string>
#include <vector>

namespace vexbit::test {

// A fresh folder under the system's temporary folder, removed with its contents.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string path(const std::string& name) const { return root_ + "/" + name; }
    // Names of the files in the folder, hidden ones included.
    std::vector<std::string> files() const;

private:
    std::string root_;
};

struct ToolRun {
    int status = -1; // exit status; -1 when the program did not exit normally (a crash)
    std::string out;
    std::string err;
};

// Runs the built vexbit program with args and waits for it; withDisplay false
// runs it as on a machine without an X display.
ToolRun runVexbit(const std::vector<std::string>& args, bool withDisplay = true);

} // namespace vexbit::test
