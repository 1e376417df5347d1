#include "tests/probes/probe_files.h"

namespace probe_test {

std::string HeaderBytes(std::size_t size, const std::string& start, const std::string& field1,
                        const std::string& field2) {
  std::string bytes(std::max<std::size_t>(size, 104), '.');
  bytes.replace(0, start.size(), start);
  bytes.replace(40, field1.size(), field1);
  bytes.replace(72, field2.size(), field2);
  bytes.resize(size);
  return bytes;
}

}  // namespace probe_test
