// Header files for the JWC and JWK probe tests.
#pragma once

#include <cstddef>
#include <string>

namespace probe_test {

// `size` bytes of '.' with `field1` at byte 40 and `field2` at byte 72
// (each at most 32 bytes) and `start` at byte 0.
std::string HeaderBytes(std::size_t size, const std::string& start, const std::string& field1,
                        const std::string& field2);

}  // namespace probe_test
