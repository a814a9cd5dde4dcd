#include "SourceEncoding.h"

#include <QChar>

#include <cstring>
#include <utility>

using namespace Qt::StringLiterals;

namespace tarnwick {

namespace {

constexpr std::string_view utf8Mark = byteOrderMark::utf8;
constexpr std::string_view utf16LeMark = byteOrderMark::utf16Le;
constexpr std::string_view utf16BeMark = byteOrderMark::utf16Be;

struct Named {
    EncodingSetting setting;
    QString profile;
    QString option;
};

const Named names[] = {
    {EncodingSetting::Auto, u"Auto"_s, u"auto"_s},
    {EncodingSetting::System, u"System"_s, u"system"_s},
    {EncodingSetting::Utf8, u"UTF-8"_s, u"utf-8"_s},
    {EncodingSetting::ShiftJis, u"Shift_JIS"_s, u"shift-jis"_s},
};

bool inRange(unsigned char byte, unsigned char low, unsigned char high)
{
    return byte >= low && byte <= high;
}

constexpr char32_t replacementCharacter = 0xFFFD;

char *putUtf8(char32_t c, char *to)
{
    if (c < 0x80) {
        *to++ = char(c);
    } else if (c < 0x800) {
        *to++ = char(0xC0 | c >> 6);
        *to++ = char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *to++ = char(0xE0 | c >> 12);
        *to++ = char(0x80 | (c >> 6 & 0x3F));
        *to++ = char(0x80 | (c & 0x3F));
    } else {
        *to++ = char(0xF0 | c >> 18);
        *to++ = char(0x80 | (c >> 12 & 0x3F));
        *to++ = char(0x80 | (c >> 6 & 0x3F));
        *to++ = char(0x80 | (c & 0x3F));
    }
    return to;
}

} // namespace

EncodingSetting encodingOfProfileValue(const QString &value)
{
    for (const Named &named : names) {
        if (named.profile.compare(value, Qt::CaseInsensitive) == 0)
            return named.setting;
    }
    return EncodingSetting::Auto;
}

QString profileValueOf(EncodingSetting setting)
{
    for (const Named &named : names) {
        if (named.setting == setting)
            return named.profile;
    }
    return {};
}

std::optional<EncodingSetting> encodingOfOptionValue(const QString &value)
{
    for (const Named &named : names) {
        if (named.option.compare(value, Qt::CaseInsensitive) == 0)
            return named.setting;
    }
    return std::nullopt;
}

void EncodingDetector::check(unsigned char byte)
{
    if (utf8Needed_ > 0) {
        if (inRange(byte, utf8Low_, utf8High_)) {
            utf8Low_ = 0x80;
            utf8High_ = 0xBF;
            if (--utf8Needed_ == 0)
                multiByte_ = true;
        } else {
            utf8_ = false;
            utf8Needed_ = 0;
        }
    } else if (byte >= 0x80) {
        // The ranges of the second byte exclude overlong forms, surrogates and values past U+10FFFF.
        if (inRange(byte, 0xC2, 0xDF))
            utf8Needed_ = 1;
        else if (inRange(byte, 0xE0, 0xEF))
            utf8Needed_ = 2;
        else if (inRange(byte, 0xF0, 0xF4))
            utf8Needed_ = 3;
        else
            utf8_ = false;
        if (byte == 0xE0)
            utf8Low_ = 0xA0;
        else if (byte == 0xED)
            utf8High_ = 0x9F;
        else if (byte == 0xF0)
            utf8Low_ = 0x90;
        else if (byte == 0xF4)
            utf8High_ = 0x8F;
    }
    if (shiftJisTrail_) {
        shiftJis_ = shiftJis_ && (inRange(byte, 0x40, 0x7E) || inRange(byte, 0x80, 0xFC));
        shiftJisTrail_ = false;
    } else if (inRange(byte, 0x81, 0x9F) || inRange(byte, 0xE0, 0xFC)) {
        shiftJisTrail_ = true;
    } else if (byte >= 0x80 && !inRange(byte, 0xA1, 0xDF)) {
        shiftJis_ = false;
    }
    nonAscii_ = nonAscii_ || byte >= 0x80;
}

void EncodingDetector::append(std::string_view bytes)
{
    const char *p = bytes.data();
    const char *const end = p + bytes.size();
    while (p < end && (utf8_ || shiftJis_)) {
        // Eight bytes of ASCII, with no character open, are passed over at once.
        std::uint64_t word = 0;
        if (end - p >= 8 && utf8Needed_ == 0 && !shiftJisTrail_ && (std::memcpy(&word, p, 8), (word & 0x8080808080808080u) == 0)) {
            p += 8;
            continue;
        }
        check(static_cast<unsigned char>(*p++));
    }
}

void EncodingDetector::finish()
{
    utf8_ = utf8_ && utf8Needed_ == 0;
    shiftJis_ = shiftJis_ && !shiftJisTrail_;
    utf8Needed_ = 0;
    shiftJisTrail_ = false;
}

CharacterRule EncodingDetector::rule(CharacterRule system) const
{
    if (utf8_ && multiByte_)
        return CharacterRule::Utf8;
    if (shiftJis_ && nonAscii_)
        return CharacterRule::ShiftJis;
    return system;
}

void Utf16Decoder::take(char16_t unit, char *&to)
{
    if (const auto high = std::exchange(highSurrogate_, std::nullopt)) {
        if (QChar::isLowSurrogate(unit)) {
            to = putUtf8(QChar::surrogateToUcs4(*high, unit), to);
            return;
        }
        to = putUtf8(replacementCharacter, to);
    }
    if (QChar::isHighSurrogate(unit))
        highSurrogate_ = unit;
    else
        to = putUtf8(QChar::isLowSurrogate(unit) ? replacementCharacter : unit, to);
}

void Utf16Decoder::append(std::string_view piece, std::string &text)
{
    const auto *p = reinterpret_cast<const unsigned char *>(piece.data());
    const auto *const end = p + piece.size();
    const auto unit = [this](unsigned char first, unsigned char second) {
        return char16_t(bigEndian_ ? first << 8 | second : second << 8 | first);
    };
    // Each unit gives at most three bytes, and a surrogate left waiting by the last piece
    // three more.
    const std::size_t start = text.size();
    text.resize(start + (piece.size() / 2 + 1) * 3 + 3);
    char *to = text.data() + start;
    if (oddByte_ && p < end)
        take(unit(*std::exchange(oddByte_, std::nullopt), *p++), to);
    // Runs of ASCII, the bulk of a log, four units at a time while no surrogate waits.
    const int low = bigEndian_ ? 1 : 0;
    const int high = 1 - low;
    while (end - p >= 2) {
        if (end - p >= 8 && !highSurrogate_ && ((p[low] | p[low + 2] | p[low + 4] | p[low + 6]) & 0x80) == 0
            && (p[high] | p[high + 2] | p[high + 4] | p[high + 6]) == 0) {
            for (int i = 0; i < 8; i += 2)
                *to++ = char(p[low + i]);
            p += 8;
        } else {
            take(unit(p[0], p[1]), to);
            p += 2;
        }
    }
    if (p < end)
        oddByte_ = *p;
    text.resize(static_cast<std::size_t>(to - text.data()));
}

void Utf16Decoder::finish(std::string &text)
{
    char bytes[6];
    char *to = bytes;
    if (std::exchange(highSurrogate_, std::nullopt))
        to = putUtf8(replacementCharacter, to);
    if (std::exchange(oddByte_, std::nullopt))
        to = putUtf8(replacementCharacter, to);
    text.append(bytes, static_cast<std::size_t>(to - bytes));
}

std::optional<CharacterRule> SourceDecoder::fixedRule(CharacterRule system) const
{
    switch (setting_) {
    case EncodingSetting::System: return system;
    case EncodingSetting::Utf8: return CharacterRule::Utf8;
    case EncodingSetting::ShiftJis: return CharacterRule::ShiftJis;
    case EncodingSetting::Auto: break;
    }
    if (mark_)
        return CharacterRule::Utf8;
    return std::nullopt;
}

std::string_view SourceDecoder::takeMark()
{
    markKnown_ = true;
    std::string_view text = head_;
    if (text.starts_with(utf8Mark)) {
        mark_ = true;
        text.remove_prefix(utf8Mark.size());
    } else if (setting_ == EncodingSetting::Auto && (text.starts_with(utf16LeMark) || text.starts_with(utf16BeMark))) {
        mark_ = true;
        utf16_ = text.starts_with(utf16LeMark) ? QStringConverter::Utf16LE : QStringConverter::Utf16BE;
        // A later U+FEFF is text, kept as it is.
        decoder_.emplace(*utf16_ == QStringConverter::Utf16BE);
        text.remove_prefix(utf16LeMark.size());
    }
    return converted(text);
}

std::string_view SourceDecoder::converted(std::string_view piece)
{
    if (!decoder_)
        return piece;
    text_.clear();
    decoder_->append(piece, text_);
    return text_;
}

std::string_view SourceDecoder::decode(std::string_view piece)
{
    if (markKnown_)
        return converted(piece);
    head_.append(piece);
    return head_.size() < utf8Mark.size() ? std::string_view() : takeMark();
}

std::string_view SourceDecoder::finish()
{
    const bool started = markKnown_;
    const std::string_view rest = started ? std::string_view() : takeMark();
    if (!decoder_)
        return rest;
    // What the UTF-16 decoder holds back follows the rest, which takeMark left in text_.
    if (started)
        text_.clear();
    decoder_->finish(text_);
    return text_;
}

} // namespace tarnwick
