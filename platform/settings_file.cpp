#include "platform/settings_file.h"

#include <utility>

namespace platform {

SettingsReader::SettingsReader(const std::filesystem::path& file) {
  std::string bytes;
  state_ = LoadProfileFile(file, bytes);
  document_ = ProfileDocument(bytes);
}

Setting SettingsReader::Read(std::string_view section, std::string_view key,
                             std::size_t bufferSize) const {
  Setting setting;
  if (bufferSize == 0) return setting;
  if (auto value = document_.Find(section, key)) setting.text = std::move(*value);
  if (setting.text.size() > bufferSize - 1) setting.text.resize(bufferSize - 1);
  setting.found = !setting.text.empty();
  return setting;
}

SettingsWriter::SettingsWriter(std::filesystem::path file) : file_(std::move(file)) {}

void SettingsWriter::Load() {
  if (loaded_) return;
  loaded_ = true;
  std::string bytes;
  // A file that cannot be read whole is never replaced by the writes alone.
  const ProfileFileState state = LoadProfileFile(file_, bytes);
  unreadable_ = state == ProfileFileState::kUnreadable || state == ProfileFileState::kTooLarge;
  document_ = ProfileDocument(bytes);
}

bool SettingsWriter::Write(std::string_view section, std::string_view key, std::string_view text) {
  Load();
  if (!document_.Set(section, key, text)) return false;
  written_ = true;
  return true;
}

bool SettingsWriter::Commit() {
  Load();
  if (unreadable_) return false;
  if (!written_) return true;
  return ReplaceProfileFile(file_, document_.Bytes());
}

}  // namespace platform
