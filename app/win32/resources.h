// Identifiers of the program's resources (quillon.rc).
#pragma once

#define QUILLON_ICON 1

#ifdef __cplusplus
namespace win32 {
inline constexpr int kIconId = QUILLON_ICON;
}
#endif
