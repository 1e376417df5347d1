#include "app/win32/folder_chooser.h"

#include <shobjidl.h>

#include "app/win32/wide_text.h"

namespace win32 {

namespace {

template <typename T>
struct Released {
  T* p = nullptr;
  ~Released() {
    if (p != nullptr) p->Release();
  }
};

}  // namespace

std::optional<std::filesystem::path> ChooseFolder(HWND owner, const std::string& title,
                                                  const std::filesystem::path& start) {
  Released<IFileOpenDialog> dialog;
  if (FAILED(::CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&dialog.p)))) {
    return std::nullopt;
  }
  FILEOPENDIALOGOPTIONS options = 0;
  dialog.p->GetOptions(&options);
  dialog.p->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
  dialog.p->SetTitle(Wide(title).c_str());
  std::error_code error;
  if (!start.empty() && std::filesystem::is_directory(start, error)) {
    Released<IShellItem> folder;
    const std::wstring where = start.wstring();
    if (SUCCEEDED(::SHCreateItemFromParsingName(where.c_str(), nullptr, IID_PPV_ARGS(&folder.p)))) {
      dialog.p->SetFolder(folder.p);
    }
  }
  if (FAILED(dialog.p->Show(owner))) return std::nullopt;
  Released<IShellItem> chosen;
  if (FAILED(dialog.p->GetResult(&chosen.p))) return std::nullopt;
  PWSTR path = nullptr;
  if (FAILED(chosen.p->GetDisplayName(SIGDN_FILESYSPATH, &path))) return std::nullopt;
  std::filesystem::path result(path);
  ::CoTaskMemFree(path);
  return result;
}

}  // namespace win32
