#include "OutputName.h"

#include <QDir>

#include <algorithm>

namespace tarnwick {

QString outputBase(const QString &sourcePath, bool keepDots)
{
    // The system's separator (a backslash on Windows) and the slash, which every system takes.
    const qsizetype nameStart = std::max(sourcePath.lastIndexOf(QDir::separator()), sourcePath.lastIndexOf(u'/')) + 1;
    const qsizetype dot = keepDots ? sourcePath.lastIndexOf(u'.') : sourcePath.indexOf(u'.', nameStart);
    return dot < nameStart + (keepDots ? 1 : 0) ? sourcePath : sourcePath.left(dot);
}

QString withExtension(const QString &base, const QString &extension)
{
    qsizetype dots = 0;
    while (dots < extension.size() && extension[dots] == u'.')
        ++dots;
    return base + u'.' + extension.sliced(dots);
}

} // namespace tarnwick
