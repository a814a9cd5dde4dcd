#include "OutputName.h"

#include <algorithm>

namespace tarnwick {

QString outputBase(const QString &sourcePath, bool keepDots)
{
#ifdef Q_OS_WIN
    const qsizetype nameStart = std::max(sourcePath.lastIndexOf(u'\\'), sourcePath.lastIndexOf(u'/')) + 1;
#else
    const qsizetype nameStart = sourcePath.lastIndexOf(u'/') + 1;
#endif
    const qsizetype dot = keepDots ? sourcePath.lastIndexOf(u'.') : sourcePath.indexOf(u'.', nameStart);
    return dot < nameStart + (keepDots ? 1 : 0) ? sourcePath : sourcePath.left(dot);
}

} // namespace tarnwick
