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

// The shell runs the command line; its output and errors go to files in logs.
inline ToolRun runTool(const std::string& commandLine, const std::filesystem::path& logs)
{
    const std::string command =
        commandLine + " >'" + (logs / "out.log").string() + "' 2>'" + (logs / "err.log").string() + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, fileBytes(logs / "out.log"), fileBytes(logs / "err.log")};
}

// The tools, the editor and the generated art are built into the test programs' folder.
inline std::filesystem::path programFolder() { return std::filesystem::read_symlink("/proc/self/exe").parent_path(); }

inline std::string quoted(const std::string& word) { return "'" + word + "'"; }

// The words, each quoted, run in folder after prefix (a ulimit, say), so files there may be named as given.
inline ToolRun runIn(const std::filesystem::path& folder, const std::vector<std::string>& words,
                     const std::string& prefix = "")
{
    std::string command = prefix + "cd " + quoted(folder.string()) + " &&";
    for (const std::string& word : words)
        command.append(" ").append(quoted(word));
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
