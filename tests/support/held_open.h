// A file held open by another program without sharing, as a drawing open in
// Jw_cad can be. Windows only: elsewhere an open file never stops others.
#pragma once

#ifdef _WIN32
#include <filesystem>

namespace testing_support {

class HeldOpen {
 public:
  explicit HeldOpen(const std::filesystem::path& file);
  ~HeldOpen();
  HeldOpen(const HeldOpen&) = delete;
  HeldOpen& operator=(const HeldOpen&) = delete;
  bool held() const;

 private:
  void* handle_;
};

}  // namespace testing_support
#endif
