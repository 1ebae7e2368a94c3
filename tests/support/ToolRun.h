#pragma once

#include "support/MapTestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace xemap::testing {

// The exit status and the output of a program run under the shell.
struct ToolRun {
    int status;
    std::string out, err;
};

// The shell runs the command line in folder, so files there may be named as given; its
// output and errors go to files there.
inline ToolRun runTool(const std::string& commandLine, const std::filesystem::path& folder)
{
    const std::string command = "cd '" + folder.string() + "' && " + commandLine + " >out.log 2>err.log";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, fileBytes(folder / "out.log"), fileBytes(folder / "err.log")};
}

// The tools, the editor and the generated art are built into the test programs' folder.
inline std::filesystem::path programFolder() { return std::filesystem::read_symlink("/proc/self/exe").parent_path(); }

inline std::string quoted(const std::string& word) { return "'" + word + "'"; }

// The words, each quoted, run in folder after prefix (a ulimit, say).
inline ToolRun runIn(const std::filesystem::path& folder, const std::vector<std::string>& words,
                     const std::string& prefix = "")
{
    std::string command = prefix;
    for (const std::string& word : words)
        command.append(quoted(word)).append(" ");
    return runTool(command, folder);
}

// The command-line tool of the program folder run in folder.
inline ToolRun cli(const std::filesystem::path& folder, std::vector<std::string> arguments,
                   const std::string& prefix = "")
{
    arguments.insert(arguments.begin(), (programFolder() / "xemap-cli").string());
    return runIn(folder, arguments, prefix);
}

}  // namespace xemap::testing
