// The file that a write to a path lands in, found before the output's temporary file is made,
// so that the temporary file goes beside that file and its rename replaces it, not a link.
#pragma once

#include <string>

// `path` with every symbolic link on the way followed to its end, which natively need not
// exist yet; `path` itself when it names no link (or, on Windows, no existing file). Throws
// std::runtime_error on a loop of links.
std::string finalPath(const std::string& path);
