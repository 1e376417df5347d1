// What runs that were killed outright leave behind: temporaries of ours,
// recognisable by their exact name and what they hold. Outputs are stale when their folder's lock
// is free (see DestinationLocks); private temp folders when the process that made them, on this
// machine, is gone.
#pragma once

#include <filesystem>
#include <set>

#include "platform/file_io.h"

namespace unit_val {

// The name an older backup takes while it is moved aside. It holds a user's
// file, so it is never removed as stale.
std::filesystem::path MovedAsideBackupName();

// Removes the temporary outputs from a destination folder whose lock the
// caller has just taken: no live run writes there, whatever process id or
// machine made them. Only a regular file named exactly as jww::PendingFile
// names them (".quillon-" UniqueSuffix ".tmp") that is empty or begins with a
// drawing's signature is one; a file the run reads (`read`) never is.
void RemoveTemporariesOfLockedFolder(const std::filesystem::path& folder,
                                     const std::set<platform::FileIdentity>& read);

// The lock file held while a private temp folder ("quillon-…") lives.
std::filesystem::path TempFolderLockFile(const std::filesystem::path& folder);

// Removes the private temp folders ("quillon-…") under `parent` whose lock
// can be taken: their process is gone, in this PID namespace or another.
// A lock file of that name whose folder is gone is removed too, once free.
void RemoveStaleTempFolders(const std::filesystem::path& parent);

}  // namespace unit_val
