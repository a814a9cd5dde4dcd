#pragma once

#include "PagerFilter.h"
#include "text/CharacterRule.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// A word of a line as the shapes see it, in bytes: words are separated by blanks (and tabs); a
// text in quotation marks is one word with its blanks. Blanks and quotation marks are never part
// of another character under either character rule, so every word starts at a character's start.
inline constexpr std::string_view wordBlanks = " \t";
struct LineWord {
    std::size_t begin;
    std::size_t end;
};
// The first `mostLineWords` words only: a configuration line holds a few dozen, and a line of
// millions of blanks (a hostile or broken log) must cost no more than the line itself.
inline constexpr std::size_t mostLineWords = 1024;
void splitWords(std::string_view text, std::size_t from, std::vector<LineWord> &words);

// Where a value stands in the line, in bytes.
struct ValueSpan {
    std::size_t begin;
    std::size_t end;
};

// One shape of a secret (see SecretShapes.h), prepared once as a small program of steps over the
// words of a line and run over all of them at once (a Pike machine): time linear in the words
// times the steps, never going back in the line. Where a shape may match in more than one way,
// the one that takes optional parts where it can, and runs of `*` as short as they can be, wins.
class ShapeMatcher {
public:
    // `builtIn` reads the whole syntax of SecretShapes.h; a user's shape knows only `*` (alone,
    // any run of words; within a word, any run of characters) and `{}` (the value, after what
    // stands before it in its word). A user's shape is in the encoding of the text it is compared
    // with.
    ShapeMatcher(std::string_view shape, bool builtIn);

    struct Match {
        std::size_t words = 0; // the words the match took, counted from the command's start
        std::array<std::optional<ValueSpan>, 2> values{};
    };
    // The shape compared with the words from `first` on.
    std::optional<Match> match(std::string_view text, const std::vector<LineWord> &words, std::size_t first, CharacterRule rule) const;

    // Texts one of which every line that matches holds: the keywords the fast path looks for.
    // Empty when the shape holds none (a user's shape of stars and a value alone).
    const std::vector<std::string> &needles() const { return needles_; }
    // A shape without a value begins a block (see SecretShapes.h).
    bool hasValue() const { return values_ > 0; }

private:
    enum class Kind { Word, Number, AnyWord, Wildcard, Value, Split, Match };
    struct Step {
        Kind kind = Kind::Match;
        std::vector<std::string> words{}; // the alternatives of a word; a value's prefix
        std::optional<WildcardPrompt> wildcard{};
        std::size_t next = 0;  // the step after it, and a split's preferred way
        std::size_t other = 0; // a split's other way
        std::size_t slot = 0;  // a value's place in Match::values
        bool strict = false;   // a value that is no number and no keyword
    };
    struct Literal {
        std::vector<std::string> alternatives;
        bool required;
    };

    std::size_t parse(const std::vector<std::string_view> &tokens, std::size_t at, int depth, std::vector<Literal> &literals);
    std::size_t add(Step step);
    bool takes(const Step &step, std::string_view word, CharacterRule rule) const;

    bool builtIn_;
    std::vector<Step> steps_;
    std::size_t values_ = 0;
    std::vector<std::string> needles_;
};

// Whether a user's shape holds the marker of the value.
bool holdsValueMarker(std::string_view shape);
inline constexpr std::string_view valueMarker = "{}";

} // namespace tarnwick
