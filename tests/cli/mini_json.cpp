#include "tests/cli/mini_json.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

#include "platform/cp932.h"

namespace mini_json {

bool Value::has(std::string_view key) const {
  for (const auto& [k, v] : members) {
    if (k == key) return true;
  }
  return false;
}

const Value& Value::operator[](std::string_view key) const {
  if (type == Type::kObject) {
    for (const auto& [k, v] : members) {
      if (k == key) return v;
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

class Parser {
 public:
  explicit Parser(std::string_view text) : s_(text) {}

  Value Whole() {
    Value v = Any();
    Blanks();
    if (i_ != s_.size()) Fail("text after the value");
    return v;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw std::runtime_error(what + " at offset " + std::to_string(i_));
  }
  void Blanks() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\n' || s_[i_] == '\r'))
      ++i_;
  }
  bool Take(std::string_view word) {
    if (s_.substr(i_, word.size()) != word) return false;
    i_ += word.size();
    return true;
  }
  void Expect(char c) {
    Blanks();
    if (i_ >= s_.size() || s_[i_] != c) Fail(std::string("expected '") + c + "'");
    ++i_;
  }

  Value Any() {
    Blanks();
    if (i_ >= s_.size()) Fail("missing value");
    Value v;
    const char c = s_[i_];
    if (c == '{') {
      v.type = Value::Type::kObject;
      ++i_;
      Blanks();
      if (i_ < s_.size() && s_[i_] == '}') {
        ++i_;
        return v;
      }
      do {
        Blanks();
        std::string key = String();
        if (v.has(key)) Fail("duplicate key " + key);
        Expect(':');
        v.members.emplace_back(std::move(key), Any());
        Blanks();
      } while (i_ < s_.size() && s_[i_] == ',' && ++i_);
      Expect('}');
    } else if (c == '[') {
      v.type = Value::Type::kArray;
      ++i_;
      Blanks();
      if (i_ < s_.size() && s_[i_] == ']') {
        ++i_;
        return v;
      }
      do {
        v.items.push_back(Any());
        Blanks();
      } while (i_ < s_.size() && s_[i_] == ',' && ++i_);
      Expect(']');
    } else if (c == '"') {
      v.type = Value::Type::kString;
      v.string = String();
    } else if (Take("true")) {
      v.type = Value::Type::kBool;
      v.boolean = true;
    } else if (Take("false")) {
      v.type = Value::Type::kBool;
    } else if (Take("null")) {
      v.type = Value::Type::kNull;
    } else {
      v.type = Value::Type::kNumber;
      Number(v);
    }
    return v;
  }

  void Digits() {
    const std::size_t from = i_;
    while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9') ++i_;
    if (i_ == from) Fail("expected a digit");
  }

  void Number(Value& v) {
    const std::size_t from = i_;
    if (s_[i_] == '-') ++i_;
    if (i_ < s_.size() && s_[i_] == '0') {
      ++i_;
    } else {
      Digits();
    }
    if (i_ < s_.size() && s_[i_] == '.') {
      ++i_;
      Digits();
    }
    if (i_ < s_.size() && (s_[i_] == 'e' || s_[i_] == 'E')) {
      ++i_;
      if (i_ < s_.size() && (s_[i_] == '+' || s_[i_] == '-')) ++i_;
      Digits();
    }
    v.numberText = std::string(s_.substr(from, i_ - from));
    const auto r =
        std::from_chars(v.numberText.data(), v.numberText.data() + v.numberText.size(), v.number);
    if (r.ec != std::errc() || r.ptr != v.numberText.data() + v.numberText.size()) {
      Fail("bad number " + v.numberText);
    }
  }

  unsigned Hex4() {
    if (i_ + 4 > s_.size()) Fail("short \\u escape");
    unsigned u = 0;
    for (int k = 0; k < 4; ++k) {
      const char c = s_[i_++];
      u <<= 4;
      if (c >= '0' && c <= '9') {
        u |= static_cast<unsigned>(c - '0');
      } else if (c >= 'a' && c <= 'f') {
        u |= static_cast<unsigned>(c - 'a' + 10);
      } else if (c >= 'A' && c <= 'F') {
        u |= static_cast<unsigned>(c - 'A' + 10);
      } else {
        Fail("bad \\u escape");
      }
    }
    return u;
  }

  // Copies one well-formed UTF-8 sequence of two to four bytes.
  void Utf8Sequence(std::string& out) {
    const auto b0 = static_cast<unsigned char>(s_[i_]);
    const std::size_t n = b0 >= 0xF0 ? 4 : b0 >= 0xE0 ? 3 : 2;
    if (b0 < 0xC2 || b0 > 0xF4 || i_ + n > s_.size()) Fail("bad UTF-8");
    char32_t c = b0 & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
      const auto b = static_cast<unsigned char>(s_[i_ + k]);
      if ((b & 0xC0) != 0x80) Fail("bad UTF-8");
      c = (c << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kMin[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) Fail("bad UTF-8");
    out.append(s_.substr(i_, n));
    i_ += n;
  }

  std::string String() {
    if (i_ >= s_.size() || s_[i_] != '"') Fail("expected a string");
    ++i_;
    std::string out;
    while (true) {
      if (i_ >= s_.size()) Fail("unterminated string");
      const auto c = static_cast<unsigned char>(s_[i_++]);
      if (c == '"') return out;
      if (c < 0x20) Fail("raw control character in a string");
      if (c >= 0x80) {
        --i_;
        Utf8Sequence(out);
        continue;
      }
      if (c != '\\') {
        out.push_back(static_cast<char>(c));
        continue;
      }
      if (i_ >= s_.size()) Fail("unterminated escape");
      const char e = s_[i_++];
      switch (e) {
        case '"':
        case '\\':
        case '/':
          out.push_back(e);
          break;
        case 'b':
          out.push_back('\b');
          break;
        case 'f':
          out.push_back('\f');
          break;
        case 'n':
          out.push_back('\n');
          break;
        case 'r':
          out.push_back('\r');
          break;
        case 't':
          out.push_back('\t');
          break;
        case 'u': {
          char32_t u = Hex4();
          if (u >= 0xD800 && u <= 0xDBFF) {
            if (!Take("\\u")) Fail("lone high surrogate");
            const unsigned low = Hex4();
            if (low < 0xDC00 || low > 0xDFFF) Fail("bad low surrogate");
            u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
          } else if (u >= 0xDC00 && u <= 0xDFFF) {
            Fail("lone low surrogate");
          }
          platform::AppendUtf8(out, u);
          break;
        }
        default:
          Fail("bad escape");
      }
    }
  }

  std::string_view s_;
  std::size_t i_ = 0;
};

}  // namespace

Value Parse(std::string_view text) {
  return Parser(text).Whole();
}

}  // namespace mini_json
