#pragma once

#include "text/CharacterRule.h"

#include <QString>
#include <QStringList>

#include <array>
#include <bitset>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// The prefixes that terminal programs' log options write before each line, in strftime codes, as
// those programs take their formats; each is the whole prefix, brackets and the blank after it
// included. A line that begins with one keeps it as it is: the line the device drew begins after
// it.
inline constexpr std::array<std::string_view, 4> knownTimestamps = {
    "[%Y-%m-%d %H:%M:%S.%N] ",   // Tera Term's default since 4.96: [2026-12-07 10:00:00.123]
    "[%a %b %e %H:%M:%S.%N %Y] ", // before it: [Mon Dec  7 10:00:00.123 2026]
    "[%s %H:%M:%S.%N] ",          // the time since the log began: [0 00:01:23.456]; %s is a run of digits
    "%H:%M:%S ",                  // RLogin
};

// Whether a form can be read: not empty, nothing but known codes and text without control
// characters.
bool isUsableTimestamp(const QString &form);

// The known forms and the user's, in the encoding of a text's rule.
class Timestamps {
public:
    // The user's forms that cannot be read are left out (the command line refuses them).
    explicit Timestamps(CharacterRule rule = CharacterRule::Utf8, const QStringList &userForms = {});

    // The length of the timestamp at the start of the line, or 0 when it has none.
    std::size_t length(std::string_view line) const;
    // Whether a line that begins with `c` may begin with a timestamp; the fast paths ask this.
    bool mayStartWith(char c) const { return starts_[static_cast<unsigned char>(c)]; }

    // One element of a form: literal text, or a field of digits or names.
    struct Part {
        enum class Kind { Text, Digits, DigitRun, PaddedDay, Weekday, Month, HalfDay } kind;
        std::size_t width = 0; // of Digits
        std::string text{};    // of Text
    };

private:
    void add(std::vector<Part> form);

    std::vector<std::vector<Part>> forms_;
    std::bitset<256> starts_;
};

} // namespace tarnwick
