#pragma once

#include "TestSupport.h"
#include "conversion/LineCleaner.h"

#include <QTemporaryDir>

// Runs one line, ended by CR LF, through the line cleaner as the cleaning pass does, and
// returns the bytes written for it: the cleaned line with its CR LF, or nothing.
inline QByteArray cleanOneLine(const QByteArray &line, bool scrollOn, tarnwick::CharacterRule rule = tarnwick::CharacterRule::Utf8)
{
    const QTemporaryDir dir;
    const QString inPath = dir.filePath(QStringLiteral("in"));
    const QString outPath = dir.filePath(QStringLiteral("out"));
    testsupport::writeFile(inPath, line + "\r\n");
    tarnwick::TextInput input;
    tarnwick::TextOutput output;
    if (!input.open(inPath) || !output.open(outPath))
        qFatal("cannot open test channels");
    tarnwick::LineCleaner cleaner(input, output, rule);
    cleaner.CleanLine(scrollOn);
    if (!input.atEnd())
        return "<more than one line was left unread>";
    output.commit();
    return testsupport::readFile(outPath);
}
