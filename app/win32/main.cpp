// quillon.exe: the desktop window of Quillon on Windows.
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <objbase.h>

#include "app/unit1.h"
#include "app/unit2.h"
#include "app/win32/form_events.h"
#include "app/win32/main_window.h"
#include "app/win32/settings_dialog.h"
#include "conversion/conversion_settings.h"
#include "drawing/jwwunit.h"
#include "platform/process.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES;
  ::InitCommonControlsEx(&controls);
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  int status = 0;
  {
    unit_val::ConversionSettings settings;
    jww::Drawing drawing;
    win32::MainWindow window1(instance);
    win32::SettingsDialog window2(instance, window1.hwnd());
    window1.SetSettingsDialog(&window2);
    TForm1 form1({platform::ExecutableDir(), settings, drawing}, window1);
    TForm2 form2(settings, window2);
    win32::ForwardMainEvents<TForm1> events1(form1);
    win32::ForwardSettingsEvents<TForm2> events2(form2);
    window1.SetEvents(&events1);
    window2.SetEvents(&events2);
    window1.Show(show);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (window1.PreTranslate(message)) continue;
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    status = static_cast<int>(message.wParam);
  }
  ::CoUninitialize();
  return status;
}
