#include "cli/file_selection.h"

#include <algorithm>
#include <set>
#include <system_error>
#include <utility>

#include "conversion/destination_guard.h"
#include "conversion/path_text.h"
#include "drawing/jww_probe.h"

namespace cli {

namespace fs = std::filesystem;

bool HasJwwExtension(const fs::path& file) {
  const std::string name = unit_val::PathText(file.filename());
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  std::string ext = name.substr(dot);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return ext == ".JWW";
}

namespace {

class Chooser {
 public:
  Chooser(const fs::path& dest, bool recursive) : dest_(dest), recursive_(recursive) {}

  void File(const fs::path& source, const fs::path& destination) {
    if (!HasJwwExtension(source)) {
      selection_.skipped.push_back({source, "not a .JWW file"});
    } else if (!jww::IsJwwFile(source)) {
      selection_.skipped.push_back({source, "not a JWW drawing (no \"JwwData.\" signature)"});
    } else {
      selection_.chosen.push_back({source, destination});
    }
  }

  void Folder(const fs::path& folder, const fs::path& destination) {
    std::error_code ec;
    if (fs::exists(dest_, ec) && fs::equivalent(folder, dest_, ec) && folder != topFolder_) return;
    std::vector<fs::directory_entry> entries;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      entries.push_back(*it);
    }
    if (ec) {
      selection_.error =
          "cannot read the folder " + unit_val::PathText(folder) + ": " + ec.message();
      return;
    }
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
      return a.path().filename() < b.path().filename();
    });
    for (const fs::directory_entry& entry : entries) {
      const fs::path name = entry.path().filename();
      if (entry.is_directory(ec)) {
        if (recursive_) Folder(entry.path(), destination / name);
      } else if (entry.is_regular_file(ec) && HasJwwExtension(name)) {
        File(entry.path(), destination / name);
      }
    }
  }

  void Path(const fs::path& path) {
    if (!selection_.ok()) return;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (fs::is_directory(status)) {
      topFolder_ = path;
      Folder(path, dest_);
    } else if (fs::is_regular_file(status)) {
      File(path, dest_ / path.filename());
    } else {
      selection_.error = "no such file or folder: " + unit_val::PathText(path);
    }
  }

  Selection Take() {
    if (selection_.ok()) Guard();
    return std::move(selection_);
  }

 private:
  void Guard() {
    std::set<std::pair<fs::path, fs::path>> checked;  // folder pairs, each tested once
    for (const ChosenFile& file : selection_.chosen) {
      const fs::path from =
          file.source.parent_path().empty() ? fs::path(".") : file.source.parent_path();
      const fs::path to = file.destination.parent_path();
      if (!checked.emplace(to, from).second) continue;
      if (unit_val::SameFolder(to, from)) {
        selection_.error = "the destination folder " + unit_val::PathText(to) +
                           " is the folder of " + unit_val::PathText(file.source) +
                           "; choose another destination";
        return;
      }
    }
  }

  fs::path dest_;
  bool recursive_;
  fs::path topFolder_;
  Selection selection_;
};

}  // namespace

Selection ChooseFiles(const std::vector<fs::path>& paths, const fs::path& destFolder,
                      bool recursive) {
  Chooser chooser(destFolder, recursive);
  for (const fs::path& path : paths) chooser.Path(path);
  return chooser.Take();
}

}  // namespace cli
