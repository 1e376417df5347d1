// quillon: the desktop window of Quillon.
#include <QApplication>
#include <QTranslator>

#include "app/message_texts.h"
#include "app/qt/folder_icon.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_japanese.h"
#include "app/qt/qt_text.h"
#include "app/qt/settings_dialog.h"
#include "conversion/conversion_settings.h"
#include "drawing/jwwunit.h"
#include "platform/process.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(unit1::FromUtf8(texts::kApplicationTitle));
  QApplication::setWindowIcon(unit1::YellowFolder());
  QTranslator qtTexts;
  unit1::InstallJapaneseQtTexts(qtTexts);

  unit_val::ConversionSettings settings;
  jww::Drawing drawing;
  unit1::MainWindow form1({platform::ExecutableDir(), settings, drawing});
  unit1::SettingsDialog form2(settings, &form1);
  form1.AttachSettingsDialog(&form2);
  form1.show();
  return application.exec();
}
