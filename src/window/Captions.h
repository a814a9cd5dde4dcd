#pragma once

#include <QString>

// The button captions that change at run time; each has one ASCII blank between its characters.
// The exit button's caption tells an active conversion: it reads abortCaption exactly then.
namespace captions {
inline const QString convert = QStringLiteral("変 換");
inline const QString exit = QStringLiteral("終 了");
inline const QString abort = QStringLiteral("中 断");
} // namespace captions
