// The settings file read and written with the behaviour of the
// private-profile functions (sections and keys matched without regard to
// letter case, value bytes kept as they are, every other line of the file
// left alone), for every module that keeps settings in it.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/private_profile.h"

namespace platform {

struct Setting {
  bool found = false;  // at least one character came back
  std::string text;    // at most bufferSize - 1 bytes
};

// The settings file read once, answering any number of keys.
class SettingsReader {
 public:
  explicit SettingsReader(const std::filesystem::path& file);
  // kMissing, kUnreadable and kTooLarge answer every key with found = false.
  ProfileFileState state() const { return state_; }
  Setting Read(std::string_view section, std::string_view key, std::size_t bufferSize) const;

 private:
  ProfileFileState state_;
  ProfileDocument document_;
};

// Many writes applied to the file's text in memory and put in place with one
// atomic replace by Commit (the whole settings file at close). The file is
// read once, at the first Write or Commit.
class SettingsWriter {
 public:
  explicit SettingsWriter(std::filesystem::path file);

  // Same effect as one WritePrivateProfile, held until Commit. False (and nothing
  // recorded) for a section, key or text that cannot be stored.
  bool Write(std::string_view section, std::string_view key, std::string_view text);

  // Replaces the file by the text with every write so far. True without
  // touching anything when nothing was written. False when the file exists
  // but could not be read (or is too large to be read) or cannot be replaced; the old file then
  // stays as it was.
  bool Commit();

 private:
  void Load();

  std::filesystem::path file_;
  ProfileDocument document_;  // the file with the writes so far applied
  bool loaded_ = false;
  bool unreadable_ = false;
  bool written_ = false;
};

}  // namespace platform
