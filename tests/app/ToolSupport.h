#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tooltest {

namespace fs = std::filesystem;

/// A folder of its own under the system's temporary folder, removed with the object.
class Folder {
public:
    explicit Folder(const std::string& tag)
        : path(fs::temp_directory_path() /
               ("quillon-tool-" + tag + "-" + std::to_string(::getpid()))) {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~Folder() { fs::remove_all(path); }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    const fs::path path;
};

struct ToolRun {
    int status = -1;
    std::string out;
};

/// Runs a program in `workDir` with the arguments (each quoted); standard error is dropped
/// into err.txt of the folder.
inline ToolRun runProgram(const std::string& program, const fs::path& workDir,
                          const std::vector<std::string>& args) {
    std::string command = "cd '" + workDir.string() + "' && '" + program + "'";
    for (const std::string& a : args)
        command += " '" + a + "'";
    command += " 2>'" + (workDir / "err.txt").string() + "'";
    ToolRun run;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buf[4096];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0)
        run.out.append(buf, n);
    const int raw = ::pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

/// The whole text of a file ("" when it cannot be read).
inline std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace tooltest
