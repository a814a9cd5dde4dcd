#include "BatchOutputs.h"

namespace tarnwick {

std::optional<QString> BatchOutputs::writtenForAnother(const QString &output, const QString &source) const
{
    const auto target = fileIdentity(output);
    if (!target)
        return std::nullopt;
    const auto found = written_.find(*target);
    if (found == written_.end() || (found->second.source && found->second.source == fileIdentity(source)))
        return std::nullopt;
    return found->second.sourceName;
}

void BatchOutputs::record(const QString &output, const QString &source)
{
    if (const auto target = fileIdentity(output))
        written_[*target] = {fileIdentity(source), source};
}

} // namespace tarnwick
