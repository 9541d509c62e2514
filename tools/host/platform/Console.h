// The console the program runs in.
#pragma once

// Whether standard error is a terminal (a progress display is for a person, not a file).
bool stderrIsTerminal();
