#pragma once

#include "support/MapTestSupport.h"

#include <QCoreApplication>
#include <QProcess>
#include <QString>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
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
inline QString programFile(const QString& name) { return QCoreApplication::applicationDirPath() + '/' + name; }

inline std::string quoted(const std::string& word) { return "'" + word + "'"; }

// A program of the program folder with each argument quoted for the shell.
inline std::string toolCommand(const std::string& program, const std::vector<std::string>& arguments)
{
    std::string command = quoted((programFolder() / program).string());
    for (const std::string& argument : arguments)
        command += " " + quoted(argument);
    return command;
}

// Exit code and stderr of a program run to its end, without a shell.
inline std::pair<int, QString> runProgram(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return {-1, "did not finish: " + process.errorString()};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardError())};
}

}  // namespace xemap::testing
