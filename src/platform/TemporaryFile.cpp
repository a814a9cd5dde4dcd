#include "TemporaryFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

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

bool isTemporaryFileName(const QString &name)
{
    static const QRegularExpression pattern(u"^%1[0-9A-F]{%2}%3$"_s.arg(QRegularExpression::escape(namePrefix)).arg(digits).arg(QRegularExpression::escape(nameSuffix)));
    return pattern.match(name).hasMatch();
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
