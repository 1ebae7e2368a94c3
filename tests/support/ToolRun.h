#pragma once

#include "support/MapTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

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
    const int status = std::system(("cd '" + folder.string() + "' && " + commandLine + " >out.log 2>err.log").c_str());
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

// A run's arguments, its exit status, its output and its errors; a text is expected in
// whole when it is empty or ends a line, else as a part.
using Answer = std::tuple<std::vector<std::string>, int, std::string, std::string>;

inline void expectText(const std::string& text, const std::string& expected)
{
    EXPECT_TRUE(expected.empty() || expected.ends_with('\n') ? text == expected : text.find(expected) != text.npos)
        << text + "is not as expected:\n" + expected;
}

// The program (the command-line tool of the program folder unless given), a command line
// the shell reads, with each answer's arguments run in folder.
inline void expectAnswers(const TempFolder& folder, const std::vector<Answer>& answers,
                          const std::string& program = quoted((programFolder() / "xemap-cli").string()))
{
    for (const auto& [arguments, status, out, err] : answers) {
        SCOPED_TRACE(joined(arguments, " "));
        const ToolRun run = runIn(folder.path(), arguments, program + " ");
        EXPECT_EQ(run.status, status);
        expectText(run.out, out);
        expectText(run.err, err);
    }
}

}  // namespace xemap::testing
