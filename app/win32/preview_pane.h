// The preview pane right of the file list: the highlighted drawing drawn to
// fit on white and the line under it. The wheel zooms at the pointer,
// dragging moves the picture, a double click fits it again. Painted through
// a memory bitmap, so that nothing flickers; a paint that input interrupts
// is dropped and made again once the input is handled, so that a huge
// drawing never holds the window.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/win32/gdi_painter.h"
#include "app/win32/paper_view.h"
#include "render/display_list.h"

namespace win32 {

class PreviewPane {
 public:
  // Creates the pane as the child `id` of `parent`.
  PreviewPane(HWND parent, int id);
  PreviewPane(const PreviewPane&) = delete;
  PreviewPane& operator=(const PreviewPane&) = delete;

  HWND hwnd() const { return window_; }
  // A null drawing empties the pane.
  void Show(std::shared_ptr<const render::DisplayList> drawing, const std::string& caption);
  // The picture's place in the pane (its pixels, the line under it left out)
  // and the view it is drawn through.
  RECT Picture() const;
  PaperView View() const;
  // The list's highlight changed now: the first picture completed of the
  // next drawing shown records how long it took, in milliseconds from now
  // (the pane's property kPaintedMs holds them plus one; none until then).
  void NoteHighlight();

  static constexpr wchar_t kPaintedMs[] = L"QuillonPreviewPaintedMs";

 private:
  template <typename T>
  friend LRESULT CALLBACK ObjectWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  bool Paint(HDC target);
  int CaptionHeight() const;

  HWND window_ = nullptr;
  std::shared_ptr<const render::DisplayList> drawing_;
  std::wstring caption_;
  PaperView view_;
  bool fitted_ = true;  // the view follows the pane's size
  HFONT font_ = nullptr;
  bool dragging_ = false;
  POINT dragFrom_{0, 0};
  LONGLONG highlightAt_ = 0;  // QueryPerformanceCounter; 0: none pending
  bool shownSinceHighlight_ = false;
  FontCache fonts_;
};

}  // namespace win32
