#include "CharacterRule.h"

#include <QStringEncoder>

#include <cstdlib>
#include <langinfo.h>
#include <locale.h>

namespace tarnwick {

CharacterRule systemCharacterRule()
{
    // Ask the locale the environment names without touching the process's global locale.
    if (locale_t locale = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr))) {
        const CharacterRule rule = characterRuleForCodeset(nl_langinfo_l(CODESET, locale));
        freelocale(locale);
        return rule;
    }
    // The named locale is not installed: its name still tells the codeset ("ja_JP.SJIS").
    for (const char *variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char *value = std::getenv(variable);
        if (value && *value) {
            const std::string_view name(value);
            const auto dot = name.find('.');
            const auto modifier = name.find('@');
            if (dot == std::string_view::npos)
                return CharacterRule::Utf8;
            return characterRuleForCodeset(name.substr(dot + 1, modifier == std::string_view::npos ? modifier : modifier - dot - 1));
        }
    }
    return CharacterRule::Utf8;
}

// Qt has Shift-JIS where it is built with ICU, as Debian's is.
std::optional<std::string> shiftJisText(std::u16string_view text)
{
    QStringEncoder encoder("Shift_JIS");
    if (!encoder.isValid())
        return std::nullopt;
    const QByteArray bytes = encoder.encode(QStringView(text.data(), qsizetype(text.size())));
    if (encoder.hasError())
        return std::nullopt;
    return bytes.toStdString();
}

} // namespace tarnwick
