// An output written under a temporary name beside its final one and renamed when complete, so
// a failed or interrupted run never leaves a partial file where the user expects a result.
#pragma once

#include <string>

class PendingFile {
 public:
  explicit PendingFile(const std::string& finalPath);
  ~PendingFile();  // removes the temporary file unless committed
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  const std::string& temporaryPath() const { return temporary; }
  const std::string& finalPath() const { return target; }
  // Moves the temporary file to the final name, replacing what was there.
  void commit();

 private:
  std::string target;
  std::string temporary;
  bool committed = false;
};
