#include "SourceEncoding.h"

#include <cstring>

using namespace Qt::StringLiterals;

namespace tarnwick {

namespace {

constexpr std::string_view utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view utf16LeMark = "\xFF\xFE";
constexpr std::string_view utf16BeMark = "\xFE\xFF";

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
        decoder_.emplace(*utf16_, QStringConverter::Flag::ConvertInitialBom);
        text.remove_prefix(utf16LeMark.size());
    }
    return converted(text);
}

std::string_view SourceDecoder::converted(std::string_view piece)
{
    if (!decoder_)
        return piece;
    const QString decoded = (*decoder_)(QByteArrayView(piece.data(), qsizetype(piece.size())));
    const QByteArray utf8 = decoded.toUtf8();
    text_.assign(utf8.constData(), static_cast<std::size_t>(utf8.size()));
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
    return markKnown_ ? std::string_view() : takeMark();
}

} // namespace tarnwick
