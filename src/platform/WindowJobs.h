#pragma once

namespace tarnwick {

// How many of the logs dropped on the window its process converts at once, of the `jobs` a batch
// would.
int windowJobs(int jobs);

} // namespace tarnwick
