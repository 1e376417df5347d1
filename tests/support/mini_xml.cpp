#include "tests/support/mini_xml.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <stdexcept>

namespace mini_xml {

namespace {

bool IsNameStart(unsigned char c) {
  return std::isalpha(c) != 0 || c == '_' || c == ':' || c >= 0x80;
}
bool IsNameChar(unsigned char c) {
  return IsNameStart(c) || std::isdigit(c) || c == '-' || c == '.';
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

bool XmlChar(char32_t code) {
  if (code < 0x20) return code == '\t' || code == '\n' || code == '\r';
  if (code >= 0xD800 && code <= 0xDFFF) return false;
  return code != 0xFFFE && code != 0xFFFF && code <= 0x10FFFF;
}

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  Element Document() {
    CheckCharacters();
    if (Starts("<?xml")) Skip("?>");
    Misc();
    if (!Starts("<")) Fail("no root element");
    Element root = ElementAt({{"xml", true}});
    Misc();
    if (at_ != text_.size()) Fail("text after the root element");
    return root;
  }

 private:
  using Prefixes = std::map<std::string, bool, std::less<>>;

  // Every character valid UTF-8 and one XML may hold.
  void CheckCharacters() {
    for (std::size_t i = 0; i < text_.size();) {
      const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text_[k]); };
      const std::uint8_t lead = byte(i);
      std::size_t length = lead < 0x80   ? 1
                           : lead < 0xC2 ? 0
                           : lead < 0xE0 ? 2
                           : lead < 0xF0 ? 3
                           : lead < 0xF5 ? 4
                                         : 0;
      if (length == 0 || i + length > text_.size()) Fail("invalid UTF-8", i);
      char32_t code = length == 1 ? lead : lead & (0xFF >> (length + 1));
      for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) Fail("invalid UTF-8", i);
        code = (code << 6) | (byte(i + k) & 0x3F);
      }
      const char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
      if (code < minimum[length] || !XmlChar(code)) Fail("a character XML cannot hold", i);
      i += length;
    }
  }

  [[noreturn]] void Fail(const std::string& what, std::size_t at = std::string::npos) const {
    throw std::runtime_error(what + " at offset " +
                             std::to_string(at == std::string::npos ? at_ : at));
  }

  bool Starts(std::string_view s) const { return text_.substr(at_, s.size()) == s; }

  void Skip(std::string_view end) {
    const std::size_t found = text_.find(end, at_);
    if (found == std::string::npos) Fail("unterminated markup");
    at_ = found + end.size();
  }

  void Spaces() {
    while (at_ < text_.size() && std::string_view(" \t\r\n").find(text_[at_]) != std::string::npos)
      ++at_;
  }

  // Spaces, comments and processing instructions around the root.
  void Misc() {
    for (;;) {
      Spaces();
      if (Starts("<!--")) {
        Comment();
      } else if (Starts("<?")) {
        Skip("?>");
      } else {
        return;
      }
    }
  }

  void Comment() {
    at_ += 4;
    const std::size_t end = text_.find("--", at_);
    if (end == std::string::npos || text_.substr(end, 3) != "-->") Fail("bad comment");
    at_ = end + 3;
  }

  std::string Name() {
    const std::size_t from = at_;
    if (at_ >= text_.size() || !IsNameStart(text_[at_])) Fail("a name expected");
    while (at_ < text_.size() && IsNameChar(text_[at_])) ++at_;
    return std::string(text_.substr(from, at_ - from));
  }

  void CheckPrefix(const std::string& name, const Prefixes& prefixes) const {
    const std::size_t colon = name.find(':');
    if (colon == std::string::npos || name.compare(0, colon, "xmlns") == 0) return;
    if (!prefixes.contains(name.substr(0, colon))) Fail("undeclared prefix in " + name);
  }

  // Character data up to the next "<", references decoded.
  std::string Data(char quote) {
    std::string out;
    while (at_ < text_.size() && text_[at_] != '<' && text_[at_] != quote) {
      if (text_[at_] == '&') {
        out += Reference();
      } else {
        if (!quote && Starts("]]>")) Fail("\"]]>\" in text");
        out += text_[at_++];
      }
    }
    if (quote && Starts("<")) Fail("\"<\" in an attribute value");
    return out;
  }

  std::string Reference() {
    const std::size_t end = text_.find(';', at_);
    if (end == std::string::npos || end - at_ > 12) Fail("bad reference");
    const std::string_view name = text_.substr(at_ + 1, end - at_ - 1);
    at_ = end + 1;
    static const std::map<std::string_view, std::string_view> kNamed = {
        {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}};
    if (const auto it = kNamed.find(name); it != kNamed.end()) return std::string(it->second);
    if (name.size() < 2 || name[0] != '#') Fail("unknown entity");
    const bool hex = name[1] == 'x';
    const std::string digits(name.substr(hex ? 2 : 1));
    if (digits.empty() || digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") !=
                              std::string::npos)
      Fail("bad character reference");
    const unsigned long code = std::stoul(digits, nullptr, hex ? 16 : 10);
    if (!XmlChar(static_cast<char32_t>(code))) Fail("reference to a character XML cannot hold");
    std::string out;
    AppendUtf8(out, static_cast<char32_t>(code));
    return out;
  }

  Element ElementAt(Prefixes prefixes) {
    ++at_;  // "<"
    Element element;
    element.name = Name();
    for (;;) {
      const std::size_t before = at_;
      Spaces();
      if (Starts("/>") || Starts(">")) break;
      if (at_ == before) Fail("a space expected before an attribute");
      std::string name = Name();
      Spaces();
      if (!Starts("=")) Fail("\"=\" expected");
      ++at_;
      Spaces();
      if (at_ >= text_.size() || (text_[at_] != '"' && text_[at_] != '\'')) Fail("quote expected");
      const char quote = text_[at_++];
      std::string value = Data(quote);
      if (at_ >= text_.size()) Fail("unterminated attribute");
      ++at_;
      if (element.HasAttribute(name)) Fail("duplicate attribute " + name);
      if (name.rfind("xmlns:", 0) == 0) prefixes[name.substr(6)] = true;
      element.attributes.emplace_back(std::move(name), std::move(value));
    }
    CheckPrefix(element.name, prefixes);
    for (const auto& attribute : element.attributes) CheckPrefix(attribute.first, prefixes);
    if (Starts("/>")) {
      at_ += 2;
      return element;
    }
    ++at_;
    for (;;) {
      if (at_ >= text_.size()) Fail("unclosed element " + element.name);
      if (Starts("</")) {
        at_ += 2;
        if (Name() != element.name) Fail("crossed end tag of " + element.name);
        Spaces();
        if (!Starts(">")) Fail("\">\" expected");
        ++at_;
        return element;
      }
      if (Starts("<!--")) {
        Comment();
      } else if (Starts("<![CDATA[")) {
        at_ += 9;
        const std::size_t end = text_.find("]]>", at_);
        if (end == std::string::npos) Fail("unterminated CDATA");
        element.text += text_.substr(at_, end - at_);
        at_ = end + 3;
      } else if (Starts("<?")) {
        Skip("?>");
      } else if (Starts("<")) {
        element.children.push_back(ElementAt(prefixes));
      } else {
        element.text += Data(0);
      }
    }
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

}  // namespace

std::string Element::Attribute(std::string_view attribute) const {
  for (const auto& [name, value] : attributes) {
    if (name == attribute) return value;
  }
  return {};
}

bool Element::HasAttribute(std::string_view attribute) const {
  return std::any_of(attributes.begin(), attributes.end(),
                     [&](const auto& a) { return a.first == attribute; });
}

bool Element::HasClass(std::string_view word) const {
  const std::string classes = Attribute("class");
  std::size_t at = 0;
  while (at < classes.size()) {
    const std::size_t end = std::min(classes.find(' ', at), classes.size());
    if (std::string_view(classes).substr(at, end - at) == word) return true;
    at = end + 1;
  }
  return false;
}

std::string Element::AllText() const {
  std::string all = text;
  for (const Element& child : children) all += child.AllText();
  return all;
}

Element Parse(std::string_view document) {
  return Parser(document).Document();
}

}  // namespace mini_xml
