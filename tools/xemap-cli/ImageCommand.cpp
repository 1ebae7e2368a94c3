#include "Commands.h"

#include "core/text/TextLines.h"

#include <QFileInfo>

#include <iostream>

namespace xemap::cli {

namespace {

constexpr std::string_view kImageUsage = "image IN.xem OUT.bmp|OUT.png [--scale 1.00|0.50|0.25|0.10] [--tiles DIR]";

struct ImageRequest : FileArguments {
    float scaleChoice = 0.5f;
};

std::optional<ImageRequest> parseRequest(const Invocation& invocation)
{
    const std::optional<FileArguments> split = splitFileArguments(invocation, {"--scale"});
    if (!split)
        return std::nullopt;
    ImageRequest request{*split};
    for (const auto& [option, value] : split->options) {
        const auto choice = scaleChoiceOf(value);
        if (!choice)
            return std::nullopt;
        request.scaleChoice = *choice;
    }
    return request;
}

bool namesPicture(const std::string& fileName)
{
    const QString suffix = QFileInfo(QString::fromStdString(fileName)).suffix();
    return suffix.compare("bmp", Qt::CaseInsensitive) == 0 || suffix.compare("png", Qt::CaseInsensitive) == 0;
}

}  // namespace

int runImage(const Invocation& invocation)
{
    const auto request = parseRequest(invocation);
    if (!request)
        return usageError(kImageUsage);
    if (!namesPicture(request->out)) {
        std::cerr << printableText(request->out) << ": the picture must be a .bmp or .png file\n";
        return kFailure;
    }
    const auto map = readInputMap({request->tiles, {}}, request->in);
    if (!map)
        return kFailure;
    const auto picture = mapPicture(map->document, request->tiles, request->in, request->scaleChoice);
    return picture && writeOutputPicture(*picture, request->out) ? kSuccess : kFailure;
}

}  // namespace xemap::cli
