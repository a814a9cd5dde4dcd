#include "TestSupport.h"

namespace testsupport {

bool runsAsRoot()
{
    return false;
}

SmallDisk::SmallDisk(const QString &folder, int)
    : folder_(folder)
{
    QDir().mkpath(folder);
}

SmallDisk::~SmallDisk() = default;

bool SmallDisk::remountReadOnly() const
{
    return false;
}

AddressSpaceLimit::AddressSpaceLimit(unsigned long long) {}

AddressSpaceLimit::~AddressSpaceLimit() = default;

} // namespace testsupport
