#pragma once

#include <QFile>

namespace tarnwick {

// Standard input and output for the pipe filter, as bytes (no line-end translation), reading
// what a pipe holds as soon as it holds it; the end of a pipe is the end of the input.
bool openStandardInput(QFile &file);
bool openStandardOutput(QFile &file);

} // namespace tarnwick
