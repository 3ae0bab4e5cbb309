// A folder of a test's own under the temporary directory, removed with its files at the end.
#pragma once

#include "common/text.h"

namespace jc::test {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const Text& path() const { return path_; }           // with its trailing backslash
  Text Path(const Text& name) const { return path_ + name; }
  bool IsEmpty() const;

 private:
  Text path_;
};

// Removes a folder and everything in it; quietly does nothing when it is missing.
void RemoveTree(const Text& folder);

}  // namespace jc::test
