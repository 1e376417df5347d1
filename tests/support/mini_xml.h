// A small strict XML reader for the documents quillon-cli writes: it refuses
// what is not well-formed (unclosed or crossed tags, a duplicate attribute,
// a raw "<" or "&", an unknown entity, a character XML cannot hold, invalid
// UTF-8, an undeclared namespace prefix) and gives the elements as a tree.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mini_xml {

struct Element {
  std::string name;                                             // as written, prefix included
  std::vector<std::pair<std::string, std::string>> attributes;  // values decoded
  std::vector<Element> children;
  std::string text;  // the character data directly inside, decoded

  // The attribute's value; empty when it is missing.
  std::string Attribute(std::string_view attribute) const;
  bool HasAttribute(std::string_view attribute) const;
  // Whether the "class" attribute holds `word` as one of its words.
  bool HasClass(std::string_view word) const;
  // This element's text and that of all its descendants, in order.
  std::string AllText() const;
};

// Parses a whole document; throws std::runtime_error (with the offset) when
// it is not well-formed.
Element Parse(std::string_view document);

}  // namespace mini_xml
