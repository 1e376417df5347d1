// A small JSON emitter that writes one value on one line, in the form
// {"key": value, "list": [1, 2]}. Commas and separators are placed by the
// writer; callers only open, fill and close.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

class JsonWriter {
 public:
  JsonWriter() = default;
  // Writes to `sink` as it goes, a piece at a time, so that a long value is
  // never held whole; Finish() writes what is left.
  explicit JsonWriter(std::ostream& sink) : sink_(&sink) {}

  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  // The key of the next member of the open object.
  JsonWriter& Key(std::string_view key);

  // Text in UTF-8; bytes that are not UTF-8 are written as U+FFFD.
  JsonWriter& String(std::string_view utf8);
  // A double that reads back as the same double; NaN and the infinities,
  // which JSON cannot hold, become null.
  JsonWriter& Number(double value);
  JsonWriter& Integer(std::int64_t value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();

  // The value written so far (what is not yet in the sink, with one).
  const std::string& text() const { return text_; }
  void Finish();

 private:
  void BeforeValue();
  void Open(char bracket);
  void Close(char bracket);

  std::ostream* sink_ = nullptr;
  std::string text_;
  std::vector<bool> empty_;  // one entry per open object or array
  bool afterKey_ = false;
};

// `text` as a quoted JSON string.
std::string JsonQuoted(std::string_view utf8);

}  // namespace cli
