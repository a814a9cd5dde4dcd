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
} // namespace

QString temporaryFileName(std::uint32_t number)
{
    return u"Tarnwick-"_s + QString::number(number, 16).toUpper().rightJustified(8, u'0') + u".tmp"_s;
}

bool isTemporaryFileName(const QString &name)
{
    static const QRegularExpression pattern(u"^Tarnwick-[0-9A-F]{8}\\.tmp$"_s);
    return pattern.match(name).hasMatch();
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
