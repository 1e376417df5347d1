#include "conversion/file_selection.h"

#include <algorithm>
#include <optional>
#include <set>
#include <system_error>
#include <utility>

#include "conversion/path_text.h"
#include "conversion/source_check.h"
#include "platform/file_io.h"

namespace unit_val {

namespace fs = std::filesystem;

namespace {

class Chooser {
 public:
  Chooser(const fs::path& dest, bool recursive, SignatureCheck signatures)
      : dest_(dest),
        destIdentity_(platform::IdentityOf(dest)),
        recursive_(recursive),
        signatures_(signatures) {}

  void File(const fs::path& source, const fs::path& destination) {
    if (!HasJwwExtension(source)) {
      selection_.skipped.push_back({source, "not a .JWW file", {Reason::kNotJwwFile, {}}});
      return;
    }
    if (signatures_ == SignatureCheck::kWhenLoaded) {
      selection_.chosen.push_back({source, destination});
      return;
    }
    SourceCheck check = CheckSource(source);
    switch (check.kind) {
      case SourceKind::kDrawing:
        selection_.chosen.push_back({source, destination});
        break;
      case SourceKind::kNotDrawing:
        selection_.skipped.push_back({source, std::move(check.reason), check.failure});
        break;
      case SourceKind::kUnreadable:
        selection_.unreadable.push_back({source, std::move(check.reason), check.failure});
        break;
    }
  }

  void Folder(const fs::path& folder, const fs::path& destination, bool named) {
    const std::optional<platform::FileIdentity> identity = platform::IdentityOf(folder);
    if (identity) {
      if (!named && identity == destIdentity_) return;
      if (!walked_.insert(*identity).second) return;
    }
    std::error_code ec;
    std::vector<fs::directory_entry> entries;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      entries.push_back(*it);
    }
    if (ec) {
      selection_.error = "cannot read the folder " + PathText(folder) + ": " + ec.message();
      selection_.failure = {Reason::kCannotReadFolder, ec};
      return;
    }
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
      return a.path().native() < b.path().native();  // one folder: the names decide
    });
    for (const fs::directory_entry& entry : entries) {
      if (!selection_.ok()) return;
      const fs::path name = entry.path().filename();
      if (entry.is_directory(ec)) {
        if (recursive_ && !entry.is_symlink(ec)) Folder(entry.path(), destination / name, false);
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
      Folder(path, dest_, true);
    } else if (fs::is_regular_file(status)) {
      File(path, dest_ / path.filename());
    } else if (fs::exists(status)) {
      selection_.error = "not a file or folder: " + PathText(path);
      selection_.failure = {Reason::kNoSuchPath, {}};
    } else {
      selection_.error = "no such file or folder: " + PathText(path);
      selection_.failure = {Reason::kNoSuchPath, ec};
    }
  }

  Selection Take() { return std::move(selection_); }

 private:
  fs::path dest_;
  std::optional<platform::FileIdentity> destIdentity_;
  bool recursive_;
  SignatureCheck signatures_;
  std::set<platform::FileIdentity> walked_;
  Selection selection_;
};

}  // namespace

Selection ChooseNamedFiles(const fs::path& folder, const std::vector<fs::path>& names,
                           const fs::path& destFolder) {
  Chooser chooser(destFolder, false, SignatureCheck::kWhenLoaded);
  for (const fs::path& name : names) chooser.File(folder / name, destFolder / name);
  return chooser.Take();
}

Selection ChooseFiles(const std::vector<fs::path>& paths, const fs::path& destFolder,
                      bool recursive, SignatureCheck signatures) {
  Chooser chooser(destFolder, recursive, signatures);
  for (const fs::path& path : paths) chooser.Path(path);
  return chooser.Take();
}

}  // namespace unit_val
