// Counts heap allocations made by this process between two marks, for the real-time check.
// Sanitizer builds count through the sanitizer's allocator; other native Linux builds replace
// malloc, calloc and realloc with counting ones that forward to the C library's.
#pragma once

// Whether this build can count allocations.
bool allocationHookAvailable();
void beginCountingAllocations();
// Allocations since the matching begin.
long endCountingAllocations();
