// An output file written under a temporary name beside its final one (created new, never one
// of the user's files) and renamed when complete, so a failed, interrupted or crashed run never
// leaves a partial file where the user expects a result. A symbolic link is written at its target,
// and an output that is not a regular file (a FIFO, a device such as /dev/null) is written
// directly, never replaced.
#pragma once

#include <string>

class PendingFile {
 public:
  explicit PendingFile(const std::string& finalPath);
  ~PendingFile();  // removes the temporary file unless committed
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  // Where the data goes: the temporary file, or the output itself when written directly.
  const std::string& writePath() const { return written; }
  const std::string& finalPath() const { return target; }
  bool direct() const { return written == resolved; }
  // Moves the temporary file to the final name, replacing what was there.
  void commit();

 private:
  std::string target;    // as the user named it
  std::string resolved;  // the file a link leads to, else the target
  std::string written;
  bool committed = false;
};
