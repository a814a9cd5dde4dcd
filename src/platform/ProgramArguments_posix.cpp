#include "ProgramArguments.h"

#include <QFile>

namespace tarnwick {

QList<ProgramArgument> programArguments(int argc, char *argv[])
{
    QList<ProgramArgument> arguments;
    for (int i = 1; i < argc; ++i) {
        const QByteArray bytes(argv[i]);
        const QString text = QFile::decodeName(bytes);
        arguments.append({text, QFile::encodeName(text) == bytes, bytes});
    }
    return arguments;
}

QStringList expandedLogNames(const QStringList &names)
{
    return names;
}

} // namespace tarnwick
