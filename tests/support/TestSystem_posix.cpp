#include "TestSupport.h"

#include <sys/resource.h>
#include <unistd.h>

#include <fstream>

namespace testsupport {

bool runsAsRoot()
{
    return geteuid() == 0;
}

SmallDisk::SmallDisk(const QString &folder, int kilobytes)
    : folder_(folder)
{
    QDir().mkpath(folder);
    mounted_ = runsAsRoot()
        && QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                       QStringLiteral("size=%1k").arg(kilobytes), QStringLiteral("tarnwick-test"), folder})
            == 0;
}

SmallDisk::~SmallDisk()
{
    if (mounted_)
        QProcess::execute(QStringLiteral("umount"), {folder_});
}

bool SmallDisk::remountReadOnly() const
{
    return QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("remount,ro"), folder_}) == 0;
}

AddressSpaceLimit::AddressSpaceLimit(unsigned long long extra)
{
#if !defined(__SANITIZE_ADDRESS__)
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    rlimit limit{};
    ::getrlimit(RLIMIT_AS, &limit);
    saved_ = limit.rlim_cur;
    limit.rlim_cur = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) + extra;
    active_ = ::setrlimit(RLIMIT_AS, &limit) == 0;
#else
    Q_UNUSED(extra)
#endif
}

AddressSpaceLimit::~AddressSpaceLimit()
{
    if (!active_)
        return;
    rlimit limit{};
    ::getrlimit(RLIMIT_AS, &limit);
    limit.rlim_cur = saved_;
    ::setrlimit(RLIMIT_AS, &limit);
}

} // namespace testsupport
