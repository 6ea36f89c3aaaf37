// Runs a world in a child process, so that a run that aborts (a sanitizer report, the simulated
// desktop giving up) is a finding like any broken invariant, with every record up to its end.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "world/fuzz/episode.h"

namespace fuzz {

// Runs `body` in a forked child that sends its records through a pipe; the parent collects them.
// When the child does not end normally, a last record "broken process-ended\t<how>" is added.
// Call it only while this process has no other threads (no World exists).
// `quiet_child` sends the child's standard error to /dev/null (for the shrinker's many runs).
std::vector<std::string> RunIsolated(const std::function<void(const RecordSink&)>& body, bool quiet_child);

// The same in this process (no protection against an abort).
std::vector<std::string> RunInProcess(const std::function<void(const RecordSink&)>& body);

}  // namespace fuzz
