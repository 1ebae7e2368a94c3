#pragma once

#include "core/mapfile/MapReader.h"
#include "core/tileset/Registry.h"

#include <QImage>

#include <filesystem>
#include <initializer_list>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace xemap::cli {

// diff, show and merge answer as diff does: 1 is an answer (the maps differ, the merge
// has conflicts) and 2 is trouble of any kind.
enum ExitCode { kSuccess = 0, kFailure = 1, kWarnings = 2, kDifferent = 1, kConflicts = 1, kTrouble = 2 };
// import's exit status for a map it cannot take or write.
inline constexpr int kRefused = 2;

// What every command gets: where the registries and tilesets are (the program's folder,
// and the user's data folder when the program's is shared) and the arguments after the
// command's name.
struct Invocation {
    RegistryFolders registries;
    std::vector<std::string> arguments;
};

int runConvert(const Invocation& invocation);
int runListing(const Invocation& invocation);
int runCheck(const Invocation& invocation);
int runImage(const Invocation& invocation);
int runTmx(const Invocation& invocation);
int runImport(const Invocation& invocation);
int runDiff(const Invocation& invocation);
int runShow(const Invocation& invocation);
int runMerge(const Invocation& invocation);

// Shared by the commands.

// Runs a command; running out of memory anywhere in it is its one-line error, with the
// command's exit status for trouble.
int runCommand(int (*run)(const Invocation&), const Invocation& invocation, int troubleStatus);
// Tileset index of the registries as the editor combines them; the default registry
// stands for a program registry that is missing or holds no entries. Nothing when a
// registry is refused (not a regular file, too large) or has no such entry: the
// reason is printed.
std::optional<RegisteredTileset> registryEntry(const RegistryFolders& registries, int index,
                                               const std::string& mapFile);

// Reads a map as the freshly started editor opens it: a single-layer map is
// upgraded with the layer count of the registry's first tileset. On failure the
// one-line message is printed and nothing is returned.
std::optional<LoadedMap> readInputMap(const Invocation& invocation, const std::string& fileName);
// Prints the lines the read passed over, each naming the file and line after lead.
void printSkippedLines(std::ostream& out, const std::string& fileName, const LoadedMap& map, std::string_view lead);
// Reads a map that must read cleanly: skipped lines are printed and refuse it too.
std::optional<MapDocument> readCleanMap(const Invocation& invocation, const std::string& fileName);
// The scale of a scale choice as the export dialog offers it ("1.00" ... "0.10").
std::optional<float> scaleChoiceOf(std::string_view choice);
// The map's picture as the export draws it, from the registries and tile sheets in tiles;
// prints why there is none.
std::optional<QImage> mapPicture(const MapDocument& document, const RegistryFolders& tiles, const std::string& mapFile,
                                 float scaleChoice);
// Writes the picture as .png or .bmp by its name, prints why it could not.
bool writeOutputPicture(const QImage& picture, const std::string& fileName);
// Writes through a temporary file, so a failure leaves the old file; prints why it failed.
bool writeOutputFile(const std::string& fileName, std::string_view bytes);
// A command's two file names and its options that take a value ("--tiles DIR"). The
// tiles are the invocation's registries unless --tiles names a folder, whose registry
// is then the only one. Nothing unless there are exactly two files and every option
// named has its value.
struct FileArguments {
    std::string in;
    std::string out;
    RegistryFolders tiles;
    std::vector<std::pair<std::string, std::string>> options;  // other than --tiles
};
std::optional<FileArguments> splitFileArguments(const Invocation& invocation,
                                                std::initializer_list<std::string_view> valueOptions);
// Prints the command's usage; returns kFailure.
int usageError(std::string_view usage);

}  // namespace xemap::cli
