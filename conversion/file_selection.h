// Which files a conversion takes from the paths named on the command line,
// and where each one goes, by the batch run's choice of files.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "conversion/batch_plan.h"

namespace unit_val {

// A file that is not converted, with why: skipped (not a .JWW file, no
// signature) or failed (cannot be opened or read).
struct SetAsideFile {
  std::filesystem::path source;
  Failure failure{};
};

struct Selection {
  std::vector<ChosenFile> chosen;
  std::vector<SetAsideFile> skipped;
  std::vector<SetAsideFile> unreadable;
  Failure failure{};  // a path that is neither a file nor a folder, or an unreadable folder
  bool ok() const { return !failure; }
};

// A file goes to destFolder / its name; a folder's .JWW files go to
// destFolder (with `recursive`, its subfolders' files to the same subfolders
// below destFolder). The walk never enters the destination folder, never
// follows a link to a folder below a named folder, and never walks a folder
// twice.
//
// The signature is checked here, or, with kWhenLoaded, left to the loader,
// which reads each file once (see PlanBatch for names wanted twice).
enum class SignatureCheck { kWhenChosen, kWhenLoaded };
Selection ChooseFiles(const std::vector<std::filesystem::path>& paths,
                      const std::filesystem::path& destFolder, bool recursive,
                      SignatureCheck signatures = SignatureCheck::kWhenChosen);

// The window's rows: files of one listed folder by name, in the order given
// (each to destFolder / name). A name whose extension is not ".JWW" is
// skipped; the signature is left to the loader, and a file gone since the
// listing fails there.
Selection ChooseNamedFiles(const std::filesystem::path& folder,
                           const std::vector<std::filesystem::path>& names,
                           const std::filesystem::path& destFolder);

}  // namespace unit_val
