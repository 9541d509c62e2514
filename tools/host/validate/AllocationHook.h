// Counts heap allocations made on the calling thread between two marks, for the real-time
// check; other threads' allocations are not counted.
// Sanitizer builds count through the sanitizer's allocator; other native Linux builds replace
// malloc, calloc and realloc with counting ones that forward to the C library's.
#pragma once

// Whether this build can count allocations.
bool allocationHookAvailable();
void beginCountingAllocations();
// Allocations on this thread since the matching begin.
long endCountingAllocations();
