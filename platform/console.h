// The command line and the standard streams, the same on every system:
// arguments arrive as UTF-8 text and what is written goes out unchanged, as
// UTF-8 with "\n" line ends.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The arguments after the program's name, in UTF-8. On Windows they are read
// as wide strings from the system (argv holds them in the ANSI code page,
// where most Japanese names cannot be said).
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// While it lives, stdout and stderr are in binary mode (so that "\n" is not
// widened to "\r\n") and a Windows console shows UTF-8; the console, which
// outlives the program, gets its code page back at the end.
class Utf8Output {
 public:
  Utf8Output();
  ~Utf8Output();
  Utf8Output(const Utf8Output&) = delete;
  Utf8Output& operator=(const Utf8Output&) = delete;

 private:
  [[maybe_unused]] unsigned consoleCodePageToRestore_ = 0;
};

}  // namespace platform
