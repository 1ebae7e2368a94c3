#include "Commands.h"

#include <array>
#include <iostream>
#include <string_view>

namespace {

using xemap::cli::Invocation;

struct Command {
    std::string_view name;
    int (*run)(const Invocation&);
};

constexpr std::array kCommands{
    Command{"convert", xemap::cli::runConvert},
    Command{"listing", xemap::cli::runListing},
    Command{"check", xemap::cli::runCheck},
    Command{"image", xemap::cli::runImage},
};

constexpr std::string_view kUsage =
    "usage: xemap-cli convert IN.xem OUT.xem\n"
    "       xemap-cli listing IN.xem OUT.txt\n"
    "       xemap-cli check IN.xem\n"
    "       xemap-cli image IN.xem OUT.bmp|OUT.png [--scale 1.00|0.50|0.25|0.10] [--tiles DIR]\n";

// The registry and tilesets live beside the program, wherever it is started from.
std::filesystem::path programDir(const char* argv0)
{
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        self = std::filesystem::absolute(argv0, ec);
    return self.parent_path();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << kUsage;
        return xemap::cli::kFailure;
    }
    const std::string_view name = argv[1];
    for (const auto& command : kCommands) {
        if (command.name == name)
            return xemap::cli::runCommand(command.run,
                                          {programDir(argv[0]), std::vector<std::string>(argv + 2, argv + argc)});
    }
    std::cerr << "xemap-cli: unknown command '" << name << "'\n" << kUsage;
    return xemap::cli::kFailure;
}
