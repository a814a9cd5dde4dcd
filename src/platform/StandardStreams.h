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

// A program without a console window of its own (Windows) writes its messages and its -c output
// to the console of the program that started it, where there is one. Nothing elsewhere.
void useParentConsole();

// Whether standard error goes where someone or something reads it: a terminal or console, a file,
// a pipe. Not so for a program started from the desktop, whose standard error is closed, the
// null device, or a desktop's log.
bool standardErrorIsRead();

// Words for a person (messages, the help, the version) on standard output or error, in that
// person's terms: on Linux in UTF-8, the locale's encoding; on Windows, to a console as Unicode
// (WriteConsoleW: Japanese shows whatever the console's code page), redirected in the console's
// output code page (932 on Japanese Windows), as the console would show them. Never a log's
// cleaned text, which keeps its own bytes. Standard error is flushed at once.
enum class WordsTo { Output, Error };
void writeWords(WordsTo stream, const QString &words);

} // namespace tarnwick
