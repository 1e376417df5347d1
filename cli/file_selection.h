// Which files a conversion takes from the paths on the command line, and
// where each one goes: the same choice as the window's batch run (extension
// ".JWW" in any letter case, then the JWW signature).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace cli {

struct ChosenFile {
  std::filesystem::path source;
  std::filesystem::path destination;
};

struct SkippedFile {
  std::filesystem::path source;
  std::string reason;
};

struct Selection {
  std::vector<ChosenFile> chosen;
  std::vector<SkippedFile> skipped;
  std::string error;  // a path that is neither a file nor a folder, or a guard refusal
  bool ok() const { return error.empty(); }
};

// A file's extension as the batch run sees it: from the last "." of its name.
bool HasJwwExtension(const std::filesystem::path& file);

// A file goes to destFolder / its name; a folder's .JWW files go to destFolder
// (with `recursive`, its subfolders' files to the same subfolders below
// destFolder; the destination folder itself is never walked). A destination
// folder that is the source folder of any chosen file refuses the whole
// selection.
Selection ChooseFiles(const std::vector<std::filesystem::path>& paths,
                      const std::filesystem::path& destFolder, bool recursive);

}  // namespace cli
