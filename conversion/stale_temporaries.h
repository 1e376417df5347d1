// What runs that were killed outright leave behind: temporaries of ours,
// recognisable by name. Outputs are stale when their folder's lock is free
// (see DestinationLocks); private temp folders when the process that made
// them, on this machine, is gone.
#pragma once

#include <filesystem>

namespace unit_val {

// The name an older backup takes while it is moved aside. It holds a user's
// file, so it is never removed as stale.
std::filesystem::path MovedAsideBackupName();

// Removes the temporary outputs (".quillon-….tmp", as jww::PendingFile names
// them) from a destination folder whose lock the caller has just taken: no
// live run writes there, whatever process id or machine made them.
void RemoveTemporariesOfLockedFolder(const std::filesystem::path& folder);

// The lock file held while a private temp folder ("quillon-…") lives.
std::filesystem::path TempFolderLockFile(const std::filesystem::path& folder);

// Removes the private temp folders ("quillon-…") under `parent` whose lock
// can be taken: their process is gone, in this PID namespace or another.
void RemoveStaleTempFolders(const std::filesystem::path& parent);

}  // namespace unit_val
