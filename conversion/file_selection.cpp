#include "conversion/file_selection.h"

#include <algorithm>
#include <optional>
#include <set>
#include <utility>

#include "conversion/source_check.h"
#include "platform/file_io.h"
#include "platform/folder_listing.h"

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
      selection_.skipped.push_back({source, {Reason::kNotJwwFile, {}}});
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
        selection_.skipped.push_back({source, std::move(check.failure)});
        break;
      case SourceKind::kUnreadable:
        selection_.unreadable.push_back({source, std::move(check.failure)});
        break;
    }
  }

  void Folder(const fs::path& folder, const fs::path& destination, bool named) {
    const std::optional<platform::FileIdentity> identity = platform::IdentityOf(folder);
    if (identity) {
      if (!named && identity == destIdentity_) return;
      if (!walked_.insert(*identity).second) return;
    }
    platform::FolderListing listing = platform::ListFolder(folder);
    if (listing.error) {
      selection_.failure = CannotReadFolder(folder, listing.error);
      return;
    }
    std::vector<platform::FolderEntry>& entries = listing.entries;
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
      return a.name.native() < b.name.native();  // one folder: the names decide
    });
    for (const platform::FolderEntry& entry : entries) {
      if (!selection_.ok()) return;
      if (entry.folder) {
        if (recursive_ && !entry.link) {
          Folder(folder / entry.name, destination / entry.name, false);
        }
      } else if (entry.regularFile && HasJwwExtension(entry.name)) {
        File(folder / entry.name, destination / entry.name);
      }
    }
  }

  void Path(const fs::path& path) {
    if (!selection_.ok()) return;
    const platform::PathStatus status = platform::StatusOf(path);
    switch (status.kind) {
      case platform::PathKind::kFolder:
        Folder(path, dest_, true);
        break;
      case platform::PathKind::kRegularFile:
        File(path, dest_ / path.filename());
        break;
      case platform::PathKind::kOther:
        selection_.failure = NoSuchPath(path, false, {});
        break;
      case platform::PathKind::kMissing:
        selection_.failure = NoSuchPath(path, true, status.error);
        break;
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
