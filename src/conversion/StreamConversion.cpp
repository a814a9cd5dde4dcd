#include "StreamConversion.h"

#include <QDir>

#include <cstring>

using namespace Qt::StringLiterals;

namespace tarnwick {

namespace {

RunOutcome failed(const QString &what, const QString &name, const QString &reason)
{
    const QString file = QDir::toNativeSeparators(name);
    return {RunOutcome::Status::Failed, u"%1 \"%2\": %3"_s.arg(what, file, reason), file, what.toLower() + u": "_s + reason};
}

} // namespace

StreamConversion::StreamConversion(CharacterRule rule, bool scrollOn, std::size_t bufferSize)
    : cleaning_(rule)
    , scrollOn_(scrollOn)
    , bufferSize_(bufferSize)
    , output_(bufferSize)
{
}

void StreamConversion::cleanLine(std::string_view line)
{
    if (const auto kept = cleaning_.clean(line, scrollOn_))
        output_.writeLine(*kept);
}

void StreamConversion::dropCrs(std::string_view text)
{
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t cr = text.find('\r', at);
        line_.append(text.substr(at, cr - at));
        at = cr == std::string_view::npos ? text.size() : cr + 1;
    }
}

RunOutcome StreamConversion::run(QFileDevice &source, const QString &sourceName, QFileDevice &output, const QString &outputName)
{
    TextInput input(bufferSize_);
    input.open(source);
    output_.open(output);
    line_.clear();
    for (std::string_view data; !output_.failed() && !(data = input.readBlock()).empty();) {
        for (const char *p = data.data(), *end = p + data.size(); p < end;) {
            const auto *lf = static_cast<const char *>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            const std::string_view piece(p, static_cast<std::size_t>((lf ? lf : end) - p));
            // A whole line without CRs inside the block is cleaned where it lies.
            if (lf && line_.empty() && piece.find('\r') == std::string_view::npos) {
                cleanLine(piece);
            } else {
                dropCrs(piece);
                if (lf) {
                    cleanLine(line_);
                    line_.clear();
                }
            }
            p = lf ? lf + 1 : end;
        }
        output_.flush();
    }
    if (input.failed())
        return failed(u"Cannot read"_s, sourceName, input.errorString());
    if (!line_.empty())
        cleanLine(line_);
    if (!output_.commit())
        return failed(u"Cannot write"_s, outputName, output_.errorString());
    return {};
}

} // namespace tarnwick
