#pragma once

#include <string_view>

namespace tarnwick {

// Whether the start of a source (its bytes as read, not UTF-16) looks like text a terminal was
// shown: few control bytes besides those a terminal acts on (BackSpace, tab, line ends, form
// feed, bell, escape) or ignores (NUL). A firmware image or an archive given as a log fails it,
// and its "cleaned" copy would be worthless.
bool looksLikeText(std::string_view start);

} // namespace tarnwick
