// The shortest decimal text that reads back as the same double.
#pragma once

#include <string>

namespace cli {

// "2", "0.1", "1e+300", "-0"; "nan", "inf" and "-inf" for the others.
std::string ShortestDouble(double value);

}  // namespace cli
