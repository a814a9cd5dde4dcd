#include "ProgramArguments.h"

// windows.h first: shellapi.h needs its types.
#include <windows.h>

#include <shellapi.h>

#include <QDir>

#include <algorithm>

namespace tarnwick {

namespace {

// Windows' own wildcards, case-insensitive as its names are: * any run of characters, ? one. By
// hand, because Qt's wildcards also take [ ] as a set, which is an ordinary name on Windows.
// The last star is the only point to go back to, so the time is bounded by the product of the
// lengths, and names are short.
bool matches(QStringView pattern, QStringView name)
{
    qsizetype p = 0;
    qsizetype n = 0;
    qsizetype star = -1;
    qsizetype resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            star = p++;
            resume = n;
        } else if (p < pattern.size() && (pattern[p] == u'?' || pattern[p].toCaseFolded() == name[n].toCaseFolded())) {
            ++p;
            ++n;
        } else if (star >= 0) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

} // namespace

QList<ProgramArgument> programArguments(int, char *[])
{
    QList<ProgramArgument> arguments;
    int count = 0;
    if (wchar_t **split = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i)
            arguments.append({QString::fromWCharArray(split[i]), true, {}});
        LocalFree(split);
    }
    return arguments;
}

QStringList expandedLogNames(const QStringList &names)
{
    QStringList expanded;
    for (const QString &name : names) {
        // The folder part keeps its own spelling (a drive's "C:" too); only the last part matches.
        const qsizetype cut = std::max({name.lastIndexOf(u'\\'), name.lastIndexOf(u'/'), name.lastIndexOf(u':')}) + 1;
        const QStringView pattern = QStringView(name).mid(cut);
        if (!pattern.contains(u'*') && !pattern.contains(u'?')) {
            expanded.append(name);
            continue;
        }
        const QString folder = name.left(cut);
        QStringList matched;
        const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
        for (const QString &file : dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase)) {
            if (matches(pattern, file))
                matched.append(folder + file);
        }
        expanded.append(matched.isEmpty() ? QStringList{name} : matched);
    }
    return expanded;
}

} // namespace tarnwick
