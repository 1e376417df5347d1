// Why a file operation failed, in words a user can act on. On Windows the
// system's own error code is kept (the C runtime's errno cannot tell a file
// held open by another program from one that may not be written).
#pragma once

#include <system_error>

namespace platform {

// The error of the last failed OpenFile (or other C runtime file call) of
// this thread.
std::error_code LastFileError();

// Why OpenFile refused to read a device, a pipe or a socket (a folder is
// refused with the system's own "is a directory").
std::error_code NotRegularFileError();

// The errno value OpenFile leaves for that refusal; LastFileError turns it
// into NotRegularFileError.
inline constexpr int kNotRegularFileErrno = 0x5152;

#ifdef _WIN32
// A Windows system error code (GetLastError) as an error_code whose
// message is plain English.
std::error_code WindowsError(unsigned long code);
#endif

}  // namespace platform
