#pragma once

#include "text/ByteOrderMarks.h"
#include "text/CharacterRule.h"

#include <QString>
#include <QStringConverter>

#include <optional>
#include <string>
#include <string_view>

namespace tarnwick {

// How the encoding of each source is found: from its bytes (the default), or given.
enum class EncodingSetting { Auto, System, Utf8, ShiftJis };

// The setting as the profile keeps it ("Auto", "System", "UTF-8", "Shift_JIS"; any other value
// is Auto), and as the command line names it ("auto", "system", "utf-8", "shift-jis").
EncodingSetting encodingOfProfileValue(const QString &value);
QString profileValueOf(EncodingSetting setting);
std::optional<EncodingSetting> encodingOfOptionValue(const QString &value);

// Watches the bytes of a text as they come for the encoding they are in.
class EncodingDetector {
public:
    void append(std::string_view bytes);
    // The end of the text: a character left open there is not well-formed.
    void finish();
    // UTF-8 when every byte above 0x7F belongs to a well-formed UTF-8 sequence and one
    // multi-byte character is among them; otherwise Shift-JIS when every byte above 0x7F
    // belongs to a well-formed Shift-JIS character; otherwise (and for pure ASCII) `system`.
    CharacterRule rule(CharacterRule system) const;
    // Whether bytes above 0x7F came that are neither all UTF-8 nor all Shift-JIS: a text of two
    // encodings (an old log appended to by a program that writes the other), to be read line by
    // line.
    bool mixed() const { return nonAscii_ && !(utf8_ && multiByte_) && !shiftJis_; }

private:
    void check(unsigned char byte);

    int utf8Needed_ = 0; // continuation bytes still to come
    unsigned char utf8Low_ = 0x80;
    unsigned char utf8High_ = 0xBF;
    bool utf8_ = true;
    bool multiByte_ = false;
    bool shiftJisTrail_ = false;
    bool shiftJis_ = true;
    bool nonAscii_ = false;
};

// UTF-16 turned into UTF-8 as its bytes come, as one stream however they are cut: a character
// cut at the end of a piece is completed by the next. A surrogate without its partner and a
// last odd byte each become U+FFFD. Written here rather than left to Qt: QStringDecoder keeps a
// last odd byte, and a stateful QStringEncoder to UTF-8 a last high surrogate, with no call that
// gives them out at the end of the source, so they would vanish there.
class Utf16Decoder {
public:
    explicit Utf16Decoder(bool bigEndian) : bigEndian_(bigEndian) {}

    // Appends the UTF-8 of the piece to `text`.
    void append(std::string_view piece, std::string &text);
    // Appends what is held back at the end of the source.
    void finish(std::string &text);

private:
    void take(char16_t unit, char *&to);

    bool bigEndian_;
    std::optional<unsigned char> oddByte_;
    std::optional<char16_t> highSurrogate_;
};

// The start of a source and its decoding, as its bytes come. A byte order mark is taken off
// (the output gets it back first): UTF-8's, and in the automatic setting UTF-16's too. A UTF-16
// source is decoded into UTF-8 for the cleaners, and its output is encoded back (see
// outputEncoding). Every other source passes as its bytes.
class SourceDecoder {
public:
    explicit SourceDecoder(EncodingSetting setting) : setting_(setting) {}

    // The text of the next piece of the source. The first bytes are held back until the byte
    // order mark, if any, can be told. Valid until the next call.
    std::string_view decode(std::string_view piece);
    // What is still held back at the end of the source.
    std::string_view finish();

    // True once the start of the source has been read far enough to tell.
    bool markKnown() const { return markKnown_; }
    // The rule that the setting or the byte order mark gives, where they give one.
    std::optional<CharacterRule> fixedRule(CharacterRule system) const;
    // What the output begins with (U+FEFF in UTF-8), or nothing.
    std::string_view byteOrderMark() const { return mark_ ? byteOrderMark::utf8 : std::string_view(); }
    // UTF-16 in the source's byte order, for a UTF-16 source.
    std::optional<QStringConverter::Encoding> outputEncoding() const { return utf16_; }

private:
    std::string_view takeMark();
    std::string_view converted(std::string_view piece);

    EncodingSetting setting_;
    bool markKnown_ = false;
    bool mark_ = false;
    std::optional<QStringConverter::Encoding> utf16_;
    std::optional<Utf16Decoder> decoder_;
    std::string head_;
    std::string text_;
};

} // namespace tarnwick
