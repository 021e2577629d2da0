// Runs numbered jobs in child processes, a few at a time.
#pragma once
#include <cstddef>
#include <functional>

// Runs job(0) ... job(count - 1), each in a process of its own, at most
// `jobs` at once; the job's result is its exit status. Answers how many
// ended with a status other than 0 (or did not end normally).
int runSideBySide(size_t count, int jobs, const std::function<int(size_t)>& job);
