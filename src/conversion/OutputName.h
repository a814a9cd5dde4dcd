#pragma once

#include <QString>

namespace tarnwick {

// The source path cut at the first "." of its file-name part (the part after the last path
// separator); the path unchanged when that part holds no dot. With `keepDots`, cut at the last
// dot instead (192.168.1.1.log gives 192.168.1.1), a dot that begins the name not counting.
QString outputBase(const QString &sourcePath, bool keepDots = false);

// The base, a dot and the extension. An extension typed with its dot (".txt") names the same
// file as without it: the dots it begins with are left out, so that no name ends in "r1..txt".
QString withExtension(const QString &base, const QString &extension);
// The extension without the dots it begins with.
QString bareExtension(const QString &extension);

// How an output's name follows from its source's: the base and the output extension, beside the
// source, or in an output folder under the path the source has below `tree` (the folder it was
// found in; the source's own folder where empty), so that a tree of logs gives a tree of outputs.
struct OutputNaming {
    bool keepDots = false;
    QString extension;
    QString folder{};
    QString tree{};

    QString outputOf(const QString &sourcePath) const;
};

} // namespace tarnwick
