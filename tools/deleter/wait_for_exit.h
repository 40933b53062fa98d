#pragma once
// Blocks until the process with the given id has ended (or does not exist).

namespace deleter {

void wait_for_exit(long pid);

}  // namespace deleter
