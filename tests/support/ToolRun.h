#pragma once

#include "support/MapTestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <string>

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

}  // namespace xemap::testing
