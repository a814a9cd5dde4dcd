#include "TemporaryFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace tarnwick {

namespace {
// Other numbers are drawn at random, so that names planted ahead of this one block no run.
constexpr int attempts = 64;

const QString namePrefix = u"Tarnwick-"_s;
const QString nameSuffix = u".tmp"_s;
constexpr int digits = 8;
} // namespace

QString temporaryFileName(std::uint32_t number)
{
    return namePrefix + QString::number(number, 16).toUpper().rightJustified(digits, u'0') + nameSuffix;
}

// Compared by hand, not by a regular expression: one matched on a run's thread keeps a stack of
// that thread's, which on Windows kept the process from ending (under Wine) once the thread had
// ended.
bool isTemporaryFileName(const QString &name)
{
    if (name.size() != namePrefix.size() + digits + nameSuffix.size() || !name.startsWith(namePrefix) || !name.endsWith(nameSuffix))
        return false;
    const QStringView number = QStringView(name).sliced(namePrefix.size(), digits);
    return std::all_of(number.begin(), number.end(), [](QChar c) { return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'); });
}

QString temporaryFileWildcard()
{
    return namePrefix + u'*' + nameSuffix;
}

TemporaryFile::~TemporaryFile()
{
    remove();
}

bool TemporaryFile::create(const QString &path)
{
    remove();
    if (createExclusively(path))
        return true;
    const QFileInfo first(path);
    const bool taken = first.exists() || first.isSymLink();
    if (!taken || !isTemporaryFileName(first.fileName()))
        return false;
    const QString firstError = errorString_;
    for (int i = 0; i < attempts; ++i) {
        const QString other = first.dir().filePath(temporaryFileName(QRandomGenerator::system()->generate()));
        if (createExclusively(other))
            return true;
    }
    file_.setFileName(path);
    errorString_ = firstError;
    return false;
}

} // namespace tarnwick
