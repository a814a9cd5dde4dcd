#pragma once

#include <QFile>

namespace tarnwick {

// Notes which standard streams the program was started without (`tarnwick - <&-`) and holds
// their places with the null device, so that no file opened later takes one and is read or
// written as if it were the stream. Called first thing.
void holdClosedStandardStreams();

// Standard input and output for the pipe filter, as bytes (no line-end translation), reading
// what a pipe holds as soon as it holds it; the end of a pipe is the end of the input. False for
// a stream the program was started without (see standardStreamClosed) or one that cannot be
// opened.
bool openStandardInput(QFile &file);
bool openStandardOutput(QFile &file);

enum class StandardStream { Input, Output };
bool standardStreamClosed(StandardStream stream);

} // namespace tarnwick
