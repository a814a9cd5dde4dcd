#pragma once

#include <QCoreApplication>
#include <QString>

// The button captions that change at run time; in Japanese each has one ASCII blank between its
// characters. Functions, not constants: a constant is made as the module loads, before the
// translation is installed.
// The exit button's caption tells an active conversion: it reads abort() exactly then.
namespace captions {
inline QString convert() { return QCoreApplication::translate("tarnwick", "Convert"); }
inline QString exit() { return QCoreApplication::translate("tarnwick", "Exit"); }
inline QString abort() { return QCoreApplication::translate("tarnwick", "Abort"); }
} // namespace captions
