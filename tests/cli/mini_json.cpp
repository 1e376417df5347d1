#include "tests/cli/mini_json.h"

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>
#include <stdexcept>

namespace mini_json {

bool Value::has(std::string_view key) const {
  for (const std::string& k : keys) {
    if (k == key) return true;
  }
  return false;
}

const Value& Value::operator[](std::string_view key) const {
  if (type == Type::kObject) {
    for (std::size_t i = 0; i < keys.size(); ++i) {
      if (keys[i] == key) return items[i];
    }
  }
  throw std::out_of_range("no member \"" + std::string(key) + "\"");
}

const Value& Value::operator[](std::size_t index) const {
  if (type != Type::kArray || index >= items.size()) throw std::out_of_range("no such item");
  return items[index];
}

long long Value::integer() const {
  if (type != Type::kNumber || std::trunc(number) != number) {
    throw std::runtime_error("not an integer: " + numberText);
  }
  return static_cast<long long>(number);
}

namespace {

// The text of every number in the order they stand ("-0" stays "-0", which
// a parser's integer would not tell).
std::vector<std::string> NumberTexts(std::string_view text) {
  std::vector<std::string> numbers;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] == '"') {
      for (++i; i < text.size() && text[i] != '"'; ++i) {
        if (text[i] == '\\') ++i;
      }
      ++i;
    } else if (text[i] == '-' || (text[i] >= '0' && text[i] <= '9')) {
      const std::size_t end = text.find_first_not_of("+-.0123456789eE", i);
      numbers.emplace_back(text.substr(i, end == std::string_view::npos ? end : end - i));
      i = end;
    } else {
      ++i;
    }
  }
  return numbers;
}

// Builds Values from nlohmann's parse events, and refuses a duplicate key.
class Builder : public nlohmann::json_sax<nlohmann::json> {
 public:
  explicit Builder(std::vector<std::string> numberTexts) : numberTexts_(std::move(numberTexts)) {}
  Value Take() { return std::move(root_); }

  bool null() override { return Add(Value{}); }
  bool boolean(bool b) override {
    Value v;
    v.type = Value::Type::kBool;
    v.boolean = b;
    return Add(std::move(v));
  }
  bool number_integer(number_integer_t) override { return Number(); }
  bool number_unsigned(number_unsigned_t) override { return Number(); }
  bool number_float(number_float_t, const string_t&) override { return Number(); }
  bool string(string_t& s) override {
    Value v;
    v.type = Value::Type::kString;
    v.string = std::move(s);
    return Add(std::move(v));
  }
  bool binary(binary_t&) override { return false; }
  bool start_object(std::size_t) override { return Open(Value::Type::kObject); }
  bool key(string_t& k) override {
    Value& object = *open_.back();
    for (const std::string& seen : object.keys) {
      if (seen == k) throw std::runtime_error("duplicate key \"" + k + "\"");
    }
    object.keys.push_back(std::move(k));
    return true;
  }
  bool end_object() override { return Close(); }
  bool start_array(std::size_t) override { return Open(Value::Type::kArray); }
  bool end_array() override { return Close(); }
  bool parse_error(std::size_t offset, const std::string&,
                   const nlohmann::detail::exception& e) override {
    throw std::runtime_error(std::string(e.what()) + " at offset " + std::to_string(offset));
  }

 private:
  bool Number() {
    Value v;
    v.type = Value::Type::kNumber;
    v.numberText = numberTexts_.at(nextNumber_++);
    const char* end = v.numberText.data() + v.numberText.size();
    if (std::from_chars(v.numberText.data(), end, v.number).ptr != end) {
      throw std::runtime_error("not a double: " + v.numberText);
    }
    return Add(std::move(v));
  }
  // Puts a value into the open array or object, or makes it the root.
  Value* Place(Value v) {
    if (open_.empty()) {
      root_ = std::move(v);
      return &root_;
    }
    open_.back()->items.push_back(std::move(v));
    return &open_.back()->items.back();
  }
  bool Add(Value v) {
    Place(std::move(v));
    return true;
  }
  bool Open(Value::Type type) {
    Value v;
    v.type = type;
    open_.push_back(Place(std::move(v)));
    return true;
  }
  bool Close() {
    open_.pop_back();
    return true;
  }

  std::vector<std::string> numberTexts_;
  std::size_t nextNumber_ = 0;
  Value root_;
  std::vector<Value*> open_;  // each points into its parent, which grows no more meanwhile
};

}  // namespace

Value Parse(std::string_view text) {
  Builder builder(NumberTexts(text));
  nlohmann::json::sax_parse(text, &builder);
  return builder.Take();
}

}  // namespace mini_json
