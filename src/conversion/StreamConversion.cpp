#include "StreamConversion.h"

#include "LineEndNormaliser.h"

#include <cstring>

namespace tarnwick {

StreamConversion::StreamConversion(CharacterRule rule, bool scrollOn, bool controlsOn, std::size_t bufferSize)
    : cleaning_(rule, controlsOn)
    , scrollOn_(scrollOn)
    , controlsOn_(controlsOn)
    , bufferSize_(bufferSize)
    , output_(bufferSize)
{
}

void StreamConversion::cleanLine(std::string_view line)
{
    if (const auto kept = cleaning_.clean(line, scrollOn_))
        output_.writeLine(*kept);
}

RunOutcome StreamConversion::run(QFileDevice &source, const QString &sourceName, QFileDevice &output, const QString &outputName)
{
    TextInput input(bufferSize_);
    input.open(source);
    output_.open(output);
    line_.clear();
    LineEndNormaliser normaliser(controlsOn_);
    for (std::string_view data; !output_.failed() && !(data = input.readBlock()).empty();) {
        // Normalised, the text holds a CR only before an LF.
        normalised_.clear();
        normaliser.append(data, normalised_);
        for (const char *p = normalised_.data(), *end = p + normalised_.size(); p < end;) {
            const auto *lf = static_cast<const char *>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            if (!lf) {
                line_.append(p, static_cast<std::size_t>(end - p));
                break;
            }
            const std::string_view piece(p, static_cast<std::size_t>(lf - 1 - p));
            if (line_.empty()) {
                cleanLine(piece);
            } else {
                line_.append(piece);
                cleanLine(line_);
                line_.clear();
            }
            p = lf + 1;
        }
        output_.flush();
    }
    normaliser.finish();
    if (input.failed())
        return failedOutcome(RunOutcome::Failure::ReadSource, sourceName, input.errorString());
    if (!line_.empty())
        cleanLine(line_);
    if (!output_.commit())
        return failedOutcome(RunOutcome::Failure::WriteOutput, outputName, output_.errorString());
    return {};
}

} // namespace tarnwick
