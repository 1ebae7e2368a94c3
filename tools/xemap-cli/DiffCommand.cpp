#include "Commands.h"

#include "core/compare/MapDiff.h"
#include "render/ExportPicture.h"

#include <iostream>

namespace xemap::cli {

namespace {

constexpr std::string_view kDiffUsage =
    "diff A.xem B.xem [--image OUT.png [--scale 1.00|0.50|0.25|0.10] [--tiles DIR]]";

struct DiffRequest {
    FileArguments files;  // in: A, out: B
    std::string image;
    float scaleChoice = 0.5f;
};

std::optional<DiffRequest> parseRequest(const Invocation& invocation)
{
    const auto split = splitFileArguments(invocation, {"--image", "--scale"});
    if (!split)
        return std::nullopt;
    DiffRequest request{*split, {}, 0.5f};
    bool scaled = false;
    for (const auto& [option, value] : split->options) {
        if (option == "--image") {
            request.image = value;
            continue;
        }
        const auto choice = scaleChoiceOf(value);
        if (!choice)
            return std::nullopt;
        request.scaleChoice = *choice;
        scaled = true;
    }
    // A scale means nothing without the picture.
    if (request.image.empty() && scaled)
        return std::nullopt;
    return request;
}

}  // namespace

int runDiff(const Invocation& invocation)
{
    const auto request = parseRequest(invocation);
    if (!request) {
        usageError(kDiffUsage);
        return kTrouble;
    }
    const Invocation reading{request->files.tiles, {}};
    const auto a = readCleanMap(reading, request->files.in);
    const auto b = a ? readCleanMap(reading, request->files.out) : std::nullopt;
    if (!b)
        return kTrouble;
    const std::vector<MapDifference> differences = mapDiff(*a, *b);
    if (!request->image.empty()) {
        auto picture = mapPicture(*b, request->files.tiles, request->files.out, request->scaleChoice);
        if (!picture)
            return kTrouble;
        outlineChangedCells(*picture, exportScale(request->scaleChoice), differences);
        if (!writeOutputPicture(*picture, request->image))
            return kTrouble;
    }
    for (const MapDifference& difference : differences)
        std::cout << difference.text << '\n';
    if (!std::cout.flush())
        return kTrouble;
    return differences.empty() ? kSuccess : kDifferent;
}

}  // namespace xemap::cli
