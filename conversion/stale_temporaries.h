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

// The same for a caller that holds no lock: removes them only while the
// folder's lock can be taken (no run writes there), and nothing otherwise.
void RemoveStaleTemporaries(const std::filesystem::path& folder);

// Removes stale private temp folders ("quillon-…") under `parent`.
void RemoveStaleTempFolders(const std::filesystem::path& parent);

}  // namespace unit_val
