#include "OutputName.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace tarnwick {

QString outputBase(const QString &sourcePath, bool keepDots)
{
    // The system's separator (a backslash on Windows) and the slash, which every system takes.
    const qsizetype nameStart = std::max(sourcePath.lastIndexOf(QDir::separator()), sourcePath.lastIndexOf(u'/')) + 1;
    const qsizetype dot = keepDots ? sourcePath.lastIndexOf(u'.') : sourcePath.indexOf(u'.', nameStart);
    return dot < nameStart + (keepDots ? 1 : 0) ? sourcePath : sourcePath.left(dot);
}

QString bareExtension(const QString &extension)
{
    qsizetype dots = 0;
    while (dots < extension.size() && extension[dots] == u'.')
        ++dots;
    return extension.sliced(dots);
}

QString withExtension(const QString &base, const QString &extension)
{
    return base + u'.' + bareExtension(extension);
}

QString OutputNaming::outputOf(const QString &sourcePath) const
{
    const QString base = outputBase(sourcePath, keepDots);
    if (folder.isEmpty())
        return withExtension(base, extension);
    const QString below = tree.isEmpty() ? QFileInfo(base).fileName() : QDir(QFileInfo(tree).absoluteFilePath()).relativeFilePath(QFileInfo(base).absoluteFilePath());
    // A source without a name gives the extension alone, in the folder as beside it.
    return withExtension(QDir::toNativeSeparators(below.isEmpty() ? QDir(folder).path() + u'/' : QDir(folder).filePath(below)), extension);
}

} // namespace tarnwick
