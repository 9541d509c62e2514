// The clocks the edit command's automation reads: the CPU time this process has used, and the
// wall time it paces its steps by.
#pragma once

#include <cstdint>

// User and kernel time of every thread of this process, in 100 ns units; 0 where unreadable.
uint64_t processCpu100ns();
// A monotonic wall clock in milliseconds.
uint64_t wallMs();
