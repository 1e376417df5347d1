#include "app/unit_ini.h"

#include <utility>

namespace unit_ini {

Setting ReadSetting(std::string_view section, std::string_view key, std::size_t bufferSize,
                    const std::filesystem::path& file) {
  return SettingsReader(file).Read(section, key, bufferSize);
}

SettingsReader::SettingsReader(const std::filesystem::path& file) {
  std::string bytes;
  state_ = platform::LoadProfileFile(file, bytes);
  document_ = platform::ProfileDocument(bytes);
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

bool WriteSetting(std::string_view section, std::string_view key, std::string_view text,
                  const std::filesystem::path& file) {
  return platform::WritePrivateProfile(section, key, text, file);
}

SettingsWriter::SettingsWriter(std::filesystem::path file) : file_(std::move(file)) {}

void SettingsWriter::Load() {
  if (loaded_) return;
  loaded_ = true;
  std::string bytes;
  unreadable_ = platform::LoadProfileFile(file_, bytes) == platform::ProfileFileState::kUnreadable;
  document_ = platform::ProfileDocument(bytes);
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
  return platform::ReplaceProfileFile(file_, document_.Bytes());
}

}  // namespace unit_ini
