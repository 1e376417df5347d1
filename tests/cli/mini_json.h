// The JSON values that quillon-cli prints, read strictly (by nlohmann-json)
// and kept with the text of every number as written.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mini_json {

struct Value {
  enum class Type { kNull, kBool, kNumber, kString, kArray, kObject };
  Type type = Type::kNull;
  bool boolean = false;
  double number = 0;
  std::string numberText;         // the number as written
  std::string string;             // decoded UTF-8
  std::vector<Value> items;       // an array's items, or an object's member values
  std::vector<std::string> keys;  // an object's member names, one per item

  bool isNull() const { return type == Type::kNull; }
  bool has(std::string_view key) const;
  // Throws std::out_of_range when the key is missing or this is no object.
  const Value& operator[](std::string_view key) const;
  const Value& operator[](std::size_t index) const;
  std::size_t size() const { return items.size(); }
  long long integer() const;  // the number, which must be integral
};

// Parses one whole value; throws std::runtime_error (with the offset) on any
// syntax error, duplicate key or trailing text.
Value Parse(std::string_view text);

}  // namespace mini_json
