// What this process holds of the system's resources, for the checks that a plug-in releases
// what it takes.
#pragma once

// Open files, sockets and other handles of this process; -1 where the system does not count
// them (Wine answers 0).
long openHandles();
// Top-level windows of this process; -1 where a process has no windows of its own (Linux: X11
// windows belong to a connection, not a process).
long ownWindows();
// Loads the system libraries that a windowed host has loaded anyway before it scans plug-ins,
// so that their first load is not counted against the plug-in (nothing to do elsewhere).
void loadHostLibraries();
