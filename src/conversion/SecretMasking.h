#pragma once

#include "Pipeline.h"
#include "ShapeMatcher.h"

#include <QStringList>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tarnwick {

// Finds the first place where one of a few texts stands without looking at every byte: a window
// as long as the shortest text moves along, as far as the last two bytes under it allow (no text
// begins with them at any nearer place), and the texts are compared only where it cannot move
// (a search of Wu and Manber's kind).
//
// Where every needle begins a word (after a blank, a line's end or a prompt's end, see
// `wordStarts`), SSE2 looks at 16 places in one step for such a start whose byte lies in one of
// the few ranges that hold the needles' first bytes, and only those places are looked at.
//
// A place is compared with the needles only where its first bytes begin one of them (a table of
// their hashes, which stays in the nearest cache): the words of a log mostly share a needle's
// first byte, or its first two ("address" and "administrator"), but seldom its first three.
class NeedleSearch {
public:
    NeedleSearch(std::vector<std::string> needles, std::string_view wordStarts);
    NeedleSearch() : NeedleSearch({}, {}) {}
    std::size_t find(std::string_view text) const;

private:
    // The first 3 bytes at `at`, the first the lowest.
    static std::uint32_t firstThree(const char *at)
    {
        const auto byte = [&](int k) { return std::uint32_t(static_cast<unsigned char>(at[k])); };
        return byte(0) | byte(1) << 8 | byte(2) << 16;
    }
    // 3 bytes spread over the 2^15 bits (4 KiB) of the prefix table by a multiplicative hash.
    static constexpr int prefixBits = 15;
    static std::size_t prefixHash(std::uint32_t three) { return (three * 0x9E3779B1u) >> (32 - prefixBits); }
    // Whether a needle begins with these 3 bytes, or may.
    bool prefixKnown(std::uint32_t three) const
    {
        const std::size_t hash = prefixHash(three);
        return (prefixes_[hash / 64] >> (hash % 64) & 1) != 0;
    }
    // Most places are ruled out by the prefix table alone, in a few steps here in the header, so
    // that the scan's loop makes no call for them (a call costs as much again, the loop's
    // vectors saved and loaded round it); only the few others are compared.
    bool mayBeginAt(std::string_view text, std::size_t i) const
    {
        return !prefixed_ || (text.size() - i >= prefixLength && prefixKnown(firstThree(text.data() + i)));
    }
    bool comparedAt(std::string_view text, std::size_t i) const;
    bool needleAt(std::string_view text, std::size_t i) const { return mayBeginAt(text, i) && comparedAt(text, i); }
    std::size_t findAtWordStarts(std::string_view text) const;
    std::size_t nextWordStart(std::string_view text, std::size_t from) const;

    std::vector<std::string> needles_;
    // Those of the word starts above a blank (the others are found as bytes up to a blank);
    // empty where a needle may stand inside a word.
    std::string startsAboveBlank_;
    static constexpr std::size_t mostStarts = 3;
    // A range takes SSE2 three steps and a single byte two, so two ranges, wider than they need
    // be, test the first bytes in six steps where the sixteen bytes one by one took thirty-two.
    static constexpr std::size_t mostRanges = 2;
    struct ByteRange {
        unsigned char low;
        unsigned char width; // the highest byte less the lowest
    };
    std::vector<ByteRange> firstRanges_; // the needles' first bytes are in one of them
    std::size_t shortest_ = 0;
    static constexpr std::size_t prefixLength = 3;
    std::vector<std::uint64_t> prefixes_; // a bit for each hash of a needle's first 3 bytes
    bool prefixed_ = false;               // no needle is shorter than them
    std::vector<std::uint8_t> shifts_;                  // for each pair of bytes
    std::array<std::vector<std::size_t>, 256> byFirst_; // the needles that begin with each byte
};

// The secrets of cleaned lines replaced by "<secret-N>": the values of the lines of a known
// shape (secretShapes) or of one of the user's (ShapeMatcher), and the body lines of a private
// key's block. N counts the values in the order they first appear, the same value always the
// same N, so that a reader still sees where two places share a secret.
class SecretMasker {
public:
    // The user's shapes that hold no value marker are left out (the command line refuses them).
    // Lines that begin with a timestamp (the user's forms with the known) are masked after it.
    explicit SecretMasker(const QStringList &userShapes, const QStringList &timestamps = {});

    // The rule of the text: the user's shapes are compared in its encoding.
    void readBy(CharacterRule rule);

    // The line with its secrets masked; valid until the next call.
    std::string_view masked(std::string_view line);
    // How many bytes at the start of `lines` (lines ended by LF) are lines that masked() would
    // leave as they are, judged by their keywords (see ShapeMatcher::needles) alone.
    std::size_t plainPrefix(std::string_view lines) const;
    bool mayHoldSecret(std::string_view line) const;

    // The values masked so far, each time one was.
    std::uint64_t count() const { return count_; }

private:
    void prepare();
    std::string_view maskedBody(std::string_view line);
    std::string_view replaced(std::string_view line, const ShapeMatcher::Match &match);
    std::uint64_t numberOf(std::string_view value);

    QStringList userShapes_;
    QStringList userTimestamps_;
    CharacterRule rule_ = CharacterRule::Utf8;
    Timestamps timestamps_;
    std::vector<ShapeMatcher> builtIn_;
    std::vector<ShapeMatcher> user_;
    NeedleSearch needles_;
    bool anywhere_ = false; // a user's shape without a keyword: every line is looked at
    bool inBlock_ = false;
    std::uint64_t blockNumber_ = 0; // of the block's body, once its first line has come
    std::unordered_map<std::string, std::uint64_t> numbers_;
    std::uint64_t count_ = 0;
    std::vector<LineWord> words_;
    std::string line_;
};

// The masking stage: stands before the output sink and hands it the lines with their secrets
// masked; lines that hold none of the shapes' keywords go on in one piece.
class MaskingSink final : public Sink {
public:
    MaskingSink(Sink &next, const QStringList &userShapes, const QStringList &timestamps = {})
        : next_(next)
        , masker_(userShapes, timestamps)
    {
    }

    void write(std::string_view lines) override;
    void writeLine(std::string_view line) override;
    void readBy(CharacterRule rule) override
    {
        masker_.readBy(rule);
        next_.readBy(rule);
    }

    std::uint64_t count() const { return masker_.count(); }

private:
    Sink &next_;
    SecretMasker masker_;
};

} // namespace tarnwick
