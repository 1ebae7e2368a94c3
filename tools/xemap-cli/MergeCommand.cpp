#include "Commands.h"

#include "core/compare/MapMerge.h"
#include "core/mapfile/MapWriter.h"

#include <array>
#include <iostream>

namespace xemap::cli {

namespace {

constexpr std::string_view kMergeUsage = "merge BASE.xem OURS.xem THEIRS.xem -o OUT.xem";

struct MergeRequest {
    std::array<std::string, 3> inputs;  // base, ours, theirs
    std::string out;
};

std::optional<MergeRequest> parseRequest(const Invocation& invocation)
{
    MergeRequest request;
    std::size_t files = 0;
    const auto& args = invocation.arguments;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size() && request.out.empty())
            request.out = args[++i];
        else if (args[i] != "-o" && files < request.inputs.size())
            request.inputs[files++] = args[i];
        else
            return std::nullopt;
    }
    if (files != request.inputs.size() || request.out.empty())
        return std::nullopt;
    return request;
}

}  // namespace

int runMerge(const Invocation& invocation)
{
    const auto request = parseRequest(invocation);
    if (!request) {
        usageError(kMergeUsage);
        return kTrouble;
    }
    std::array<MapDocument, 3> sides;
    for (std::size_t i = 0; i < sides.size(); ++i) {
        auto document = readCleanMap(invocation, request->inputs[i]);
        if (!document)
            return kTrouble;
        sides[i] = std::move(*document);
    }
    const MergeResult merged = mergeMaps(sides[0], sides[1], sides[2]);
    if (!writeOutputFile(request->out, writeMap(merged.document)))
        return kTrouble;
    for (const std::string& change : merged.locationIdChanges)
        std::cerr << change << '\n';
    for (const MapDifference& conflict : merged.conflicts)
        std::cerr << "conflict: " << conflict.text << '\n';
    return merged.conflicts.empty() ? kSuccess : kConflicts;
}

}  // namespace xemap::cli
