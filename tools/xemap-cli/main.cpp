#include "Commands.h"

#include "core/text/TextLines.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStandardPaths>
#include <QStringList>

#include <algorithm>
#include <array>
#include <iostream>
#include <string_view>

namespace {

using xemap::cli::Invocation;

// One row per command: how it is called, what it does, the options it takes (each
// with a value, separated by blanks), the function that runs it and its exit status
// for trouble (bad arguments included).
struct Command {
    std::string_view name;
    std::string_view arguments;
    std::string_view summary;
    std::string_view options;
    int (*run)(const Invocation&);
    int troubleStatus = xemap::cli::kFailure;
};

constexpr std::array kCommands{
    Command{"convert", "IN.xem OUT.xem", "read as the editor opens (single-layer maps upgraded), write as it saves", "",
            xemap::cli::runConvert},
    Command{"listing", "IN.xem OUT.txt", "write the description listing exactly as the export does", "",
            xemap::cli::runListing},
    Command{"check", "IN.xem", "read only; exit 0 clean, 2 readable with skipped lines (listed), 1 malformed", "",
            xemap::cli::runCheck},
    Command{"image", "IN.xem OUT.bmp|OUT.png [--scale 1.00|0.50|0.25|0.10] [--tiles DIR]",
            "write the map picture as the export does", "scale tiles", xemap::cli::runImage},
    Command{"tmx", "IN.xem OUT.tmx [--tiles DIR]",
            "the whole map for Tiled: tile layers, doors and descriptions as objects, the rest as properties", "tiles",
            xemap::cli::runTmx},
    Command{"import", "IN.tmx OUT.xem",
            "a map written by tmx, also once Tiled saved it, back to a map; exit 2 when refused", "",
            xemap::cli::runImport},
    Command{"diff", "A.xem B.xem [--image OUT.png [--scale S] [--tiles DIR]]",
            "differences in words (exit 0 same, 1 differ, 2 trouble); --image outlines changed cells",
            "image scale tiles", xemap::cli::runDiff, xemap::cli::kTrouble},
    Command{"show", "MAP.xem", "the whole map as stable readable text (git textconv)", "", xemap::cli::runShow,
            xemap::cli::kTrouble},
    Command{"merge", "BASE.xem OURS.xem THEIRS.xem -o OUT.xem",
            "three-way merge (git merge driver); conflicts keep OURS, are listed, exit 1", "o", xemap::cli::runMerge,
            xemap::cli::kTrouble},
};

constexpr std::size_t kSummaryColumn = 40;

void printUsage(std::ostream& out)
{
    std::string_view lead = "usage: ";
    for (const Command& command : kCommands) {
        std::string call = "xemap-cli " + std::string(command.name) + " " + std::string(command.arguments);
        call.resize(std::max(call.size() + 2, kSummaryColumn), ' ');
        out << lead << call << command.summary << '\n';
        lead = "       ";
    }
    out << lead << "xemap-cli --help | -h | --version\n";
}

// The fault quotes what was typed: control bytes in it are shown escaped, never sent to the terminal.
int usageFailure(const QString& fault, int status = xemap::cli::kFailure)
{
    std::cerr << "xemap-cli: " << xemap::printableText(fault.toStdString()) << '\n';
    printUsage(std::cerr);
    return status;
}

QStringList argumentList(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// An option the command does not take, named; empty when its options are all known.
// The command itself still reads its own arguments.
QString commandOptionFault(const Command& command, const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const QString options = QString::fromUtf8(command.options.data(), qsizetype(command.options.size()));
    for (const QString& option : options.split(' ', Qt::SkipEmptyParts))
        parser.addOption(QCommandLineOption(option, {}, "value"));
    return parser.parse(arguments) ? QString() : parser.errorText();
}

// The registry and tilesets live beside the program, wherever it is started from.
std::filesystem::path programDir(const char* argv0)
{
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        self = std::filesystem::absolute(argv0, ec);
    return self.parent_path();
}

// The registries the editor reads: the user's own after the program's when the
// program's folder is shared. The editor's name finds the editor's data folder.
xemap::RegistryFolders registries(const char* argv0)
{
    QCoreApplication::setApplicationName("XEMap");
    const QString userData = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    return xemap::registryFolders(programDir(argv0), userData.toStdString());
}

}  // namespace

int main(int argc, char** argv)
{
    const QStringList arguments = argumentList(argc, argv);
    QCommandLineParser parser;
    // Everything after the command's name belongs to the command.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help({"h", "help"}, "Show the usage of every command.");
    const QCommandLineOption version("version", "Show the version.");
    parser.addOptions({help, version});
    parser.addPositionalArgument("command", "The command to run.");
    if (!parser.parse(arguments))
        return usageFailure(parser.errorText());
    if (parser.isSet(help)) {
        printUsage(std::cout);
        return xemap::cli::kSuccess;
    }
    if (parser.isSet(version)) {
        std::cout << "xemap-cli " << XEMAP_VERSION << '\n';
        return xemap::cli::kSuccess;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return usageFailure("a command is needed");

    const std::string name = positional.front().toStdString();
    const auto command =
        std::find_if(kCommands.begin(), kCommands.end(), [&](const Command& entry) { return entry.name == name; });
    if (command == kCommands.end())
        return usageFailure(QString("unknown command '%1'").arg(positional.front()));
    if (const QString fault = commandOptionFault(*command, positional); !fault.isEmpty())
        return usageFailure(QString("%1: %2").arg(positional.front(), fault), command->troubleStatus);
    return xemap::cli::runCommand(
        command->run,
        {registries(argv[0]), std::vector<std::string>(argv + argc - (positional.size() - 1), argv + argc)},
        command->troubleStatus);
}
