#include "conversion/batch_plan.h"

#include <map>
#include <optional>
#include <set>
#include <system_error>
#include <vector>

#include "common/ascii_case.h"
#include "conversion/backup.h"
#include "conversion/destination_guard.h"
#include "conversion/path_text.h"
#include "platform/file_io.h"

namespace unit_val {

namespace fs = std::filesystem;

namespace {

std::string IdentityKey(const platform::FileIdentity& id) {
  return std::to_string(id.device) + ":" + std::to_string(id.file);
}

// One text per file that a path reaches now or would create: an existing
// file by its identity, a new name by its folder's identity and the name
// (letter case folded where the folder ignores it), else the path as
// resolved: links and ".." followed as far as the path exists, the rest
// taken as written.
class PathKeys {
 public:
  struct Key {
    std::string text;
    bool exists = false;
  };

  Key Of(const fs::path& given) {
    const fs::path name = given.filename();
    if (name.empty() || name == "." || name == "..") return OfFolder(given);
    const Folder& folder = FolderFacts(FolderOf(given));
    const fs::path path = folder.real / name;
    if (const auto id = platform::IdentityOf(path)) return {"file " + IdentityKey(*id), true};
    if (!folder.identity) return {"path " + PathText(path), false};
    const std::string text = PathText(name);
    return {"name " + IdentityKey(*folder.identity) + "/" +
                (folder.ignoresCase ? func::AsciiUpper(text) : text),
            false};
  }

  Key OfFolder(const fs::path& given) {
    const Folder& folder = FolderFacts(given);
    if (folder.identity) return {"file " + IdentityKey(*folder.identity), true};
    return {"path " + PathText(folder.real), false};
  }

 private:
  struct Folder {
    fs::path real;
    std::optional<platform::FileIdentity> identity;
    bool ignoresCase = false;
  };

  const Folder& FolderFacts(const fs::path& given) {
    auto [it, added] = folders_.try_emplace(given);
    if (added) {
      Folder& f = it->second;
      std::error_code ec;
      f.real = fs::weakly_canonical(given, ec);
      if (ec) f.real = given;
      f.identity = platform::IdentityOf(f.real);
      f.ignoresCase = f.identity && platform::FolderIgnoresCase(f.real);
    }
    return it->second;
  }

  std::map<fs::path, Folder> folders_;
};

}  // namespace

BatchPlan PlanBatch(const std::vector<ChosenFile>& chosen, const std::vector<fs::path>& alsoRead,
                    const SourceChecker* checkSource) {
  BatchPlan plan;
  PathKeys keys;
  std::map<std::string, fs::path> read;  // key -> the path the run reads it as
  for (const ChosenFile& file : chosen) read.try_emplace(keys.Of(file.source).text, file.source);
  for (const fs::path& path : alsoRead) read.try_emplace(keys.Of(path).text, path);

  std::map<std::string, std::size_t> taken;  // destination and backup names: who holds them
  std::set<std::pair<fs::path, fs::path>> distinctFolders;
  plan.files.reserve(chosen.size());
  for (const ChosenFile& file : chosen) {
    PlannedFile planned{
        file.source, file.destination, BackupPath(file.destination), {}, {SourceKind::kDrawing}};
    const fs::path to = FolderOf(file.destination), from = FolderOf(file.source);
    if (!distinctFolders.contains({to, from})) {
      if (SameFolder(to, from) || keys.OfFolder(to).text == keys.OfFolder(from).text) {
        plan.refusal = DestinationIsSource(to, file.source);
        return plan;
      }
      distinctFolders.insert({to, from});
    }
    const PathKeys::Key destinationKey = keys.Of(planned.destination);
    // A backup is made, and its name used, only where a file stands now.
    const std::string backupKey =
        destinationKey.exists ? keys.Of(planned.backup).text : std::string();
    for (const auto& [key, path] : {std::pair{destinationKey.text, planned.destination},
                                    std::pair{backupKey, planned.backup}}) {
      if (key.empty()) continue;
      if (const auto it = read.find(key); it != read.end()) {
        plan.refusal = WritesOverSource(path, it->second);
        return plan;
      }
    }
    std::vector<std::string> names = {destinationKey.text};
    if (destinationKey.exists) names.push_back(backupKey);
    const std::size_t index = plan.files.size();
    plan.files.push_back(std::move(planned));
    PlannedFile& current = plan.files.back();

    auto holder = [&]() -> std::optional<std::size_t> {
      for (const std::string& name : names) {
        if (const auto it = taken.find(name); it != taken.end()) return it->second;
      }
      return std::nullopt;
    };
    std::optional<std::size_t> held = holder();
    if (held && checkSource) {
      // Only a drawing may keep a name from another file: a file that turns
      // out not to be one is set aside instead.
      current.check = (*checkSource)(current.source);
      if (current.check.kind != SourceKind::kDrawing) continue;
      PlannedFile& other = plan.files[*held];
      other.check = (*checkSource)(other.source);
      if (other.check.kind != SourceKind::kDrawing) {
        std::erase_if(taken, [&](const auto& entry) { return entry.second == *held; });
        held = holder();
      }
    }
    if (held) {
      const PlannedFile& other = plan.files[*held];
      const bool sameDestination =
          taken.contains(destinationKey.text) && taken.at(destinationKey.text) == *held;
      current.conflict = NameTaken(sameDestination ? current.destination : current.backup,
                                   !sameDestination, other.source);
      continue;
    }
    for (const std::string& name : names) taken.emplace(name, index);
  }
  return plan;
}

fs::path FolderOf(const fs::path& file) {
  return file.parent_path().empty() ? fs::path(".") : file.parent_path();
}

}  // namespace unit_val
