// quillon: the desktop window of Quillon.
#include <QApplication>
#include <QTranslator>

#include "app/escape_filter.h"
#include "app/folder_icon.h"
#include "app/qt_japanese.h"
#include "app/unit1.h"
#include "app/unit2.h"
#include "app/user_dialogs.h"
#include "conversion/conversion_settings.h"
#include "drawing/jwwunit.h"
#include "platform/process.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quillon"));
  QApplication::setWindowIcon(unit1::YellowFolder());
  QTranslator qtTexts;
  unit1::InstallJapaneseQtTexts(qtTexts);
  unit1::EscapeFilter escapeFilter;
  application.installEventFilter(&escapeFilter);

  unit_val::ConversionSettings settings;
  jww::Drawing drawing;
  unit1::QtUserDialogs dialogs;
  TForm1 form1({platform::ExecutableDir(), settings, drawing, dialogs});
  TForm2 form2(settings, dialogs, &form1);
  form1.AttachSettingsDialog(&form2);
  form1.show();
  return application.exec();
}
