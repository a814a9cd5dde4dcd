#include "WindowJobs.h"

namespace tarnwick {

int windowJobs(int jobs)
{
    return jobs;
}

} // namespace tarnwick
