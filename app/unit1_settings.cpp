// Start-up and shut-down of the main window: the settings file "quillon.ini".
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QShowEvent>
#include <QSplitter>
#include <QTableWidget>
#include <string>

#include "app/qt_text.h"
#include "app/unit1.h"
#include "app/unit2.h"
#include "app/unit_ini.h"
#include "common/func.h"

namespace {

// Values are read into buffers of this many bytes.
constexpr std::size_t kValueBuffer = 22;
constexpr std::size_t kFolderBuffer = 512;

unit_ini::Setting Read(const char* section, const std::string& key,
                       const std::filesystem::path& file, std::size_t buffer = kValueBuffer) {
  return unit_ini::ReadSetting(section, key, buffer, file);
}

// Applies an integer key when it is present and not empty.
template <typename Apply>
void ApplyInteger(const char* section, const std::string& key, const std::filesystem::path& file,
                  Apply apply) {
  const unit_ini::Setting setting = Read(section, key, file);
  if (setting.found) apply(func::TextToInt(setting.text));
}

}  // namespace

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (startedUp_) return;
  startedUp_ = true;
  Guarded([this] { StartUp(); });
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (busy_) {
    event->ignore();
    return;
  }
  ShutDown();
  QMainWindow::closeEvent(event);
}

void TForm1::StartUp() {
  treeReady_ = listReady_ = sortDescending_ = scanCancelled_ = false;
  ComboBox1->setCurrentIndex(0);
  context_.settings.Reset();
  memoLookup_.Reset();
  context_.drawing.ClearImageList();
  context_.drawing.Reset();
  // Images are extracted into a folder of this process alone: the program
  // folder may be read-only or shared by several users.
  tempFolder_ = std::make_unique<unit_val::TempFolder>();

  programFolder_ = unit1::FolderText(unit1::FromPath(context_.programFolder));
  searchFolder_ = programFolder_;
  destinationFolder_.clear();
  settingsFile_ = context_.programFolder / "quillon.ini";

  ApplyWindowKeys();
  ApplyFolderKeys();
  LoadConversionSettings();

  const QStringList headers = {QStringLiteral("ファイル名"), QStringLiteral("Bytes"),
                               QStringLiteral("種類"),       QStringLiteral("図面メモ"),
                               QStringLiteral("更新日時"),   QStringLiteral("属性")};
  StringGrid1->setHorizontalHeaderLabels(headers);
  Edit2->setText(destinationFolder_);
  SetStatus(QStringLiteral("検索フォルダを指定して下さい。"));
}

namespace {

struct Geometry {
  int x, y, width, height;  // outer size, frame included
};

// Left, top, outer width and outer height of a window: each key present and
// not empty is applied, the others keep their built-in values.
void ApplyGeometryKeys(QWidget* window, const char* prefix, const Geometry& builtIn,
                       const std::filesystem::path& file) {
  Geometry g = builtIn;
  const std::string p(prefix);
  ApplyInteger("Form", p + "_X", file, [&g](int v) { g.x = v; });
  ApplyInteger("Form", p + "_Y", file, [&g](int v) { g.y = v; });
  ApplyInteger("Form", p + "_W", file, [&g](int v) { g.width = v; });
  ApplyInteger("Form", p + "_H", file, [&g](int v) { g.height = v; });
  const QSize frame = window->frameGeometry().size() - window->size();
  window->move(g.x, g.y);
  window->resize(g.width - frame.width(), g.height - frame.height());
}

}  // namespace

void TForm1::ApplyWindowKeys() {
  const std::filesystem::path& file = settingsFile_;
  ApplyGeometryKeys(this, "F1", {192, 107, 696, 478}, file);
  if (settingsDialog_) ApplyGeometryKeys(settingsDialog_, "F2", {192, 111, 748, 502}, file);
  ApplyInteger("Comp", "F1P1", file, [this](int v) {
    QList<int> sizes = Splitter1->sizes();
    const int total = sizes.value(0) + sizes.value(1);
    Splitter1->setSizes({v, std::max(0, total - v)});
  });
  for (int column = 0; column < StringGrid1->columnCount(); ++column) {
    ApplyInteger("Comp", "F1S" + std::to_string(column), file,
                 [this, column](int v) { StringGrid1->setColumnWidth(column, v); });
  }
}

void TForm1::ApplyFolderKeys() {
  const unit_ini::Setting search = Read("Set", "FLD1", settingsFile_, kFolderBuffer);
  if (search.found) searchFolder_ = unit1::FromIniBytes(search.text);
  const unit_ini::Setting destination = Read("Set", "FLD2", settingsFile_, kFolderBuffer);
  if (destination.found) destinationFolder_ = unit1::FromIniBytes(destination.text);
  ApplyInteger("Set", "FTYP", settingsFile_, [this](int index) {
    ComboBox1->setCurrentIndex(index >= 0 && index < ComboBox1->count() ? index : -1);
  });
}

// A range value too large for a double counts as 0, and start-up goes on
// with every other key, so that closing does not overwrite the rest of the
// settings with zeros; the user is told which key it was.
void TForm1::LoadConversionSettings() {
  context_.settings.Load(settingsFile_);
  QStringList overflowing;
  for (int n = 1; n <= unit_val::kRangeValueCount; ++n) {
    const unit_ini::Setting setting = Read("JWW", "C" + std::to_string(n), settingsFile_);
    if (!setting.found) continue;
    try {
      func::TextToDouble(setting.text);
    } catch (const func::FloatOverflow& overflow) {
      overflowing << QStringLiteral("[JWW] C%1=%2").arg(n).arg(unit1::FromUtf8(setting.text));
    }
  }
  if (overflowing.isEmpty()) return;
  context_.dialogs.ShowBox(this, unit1::BoxIcon::kError,
                           QString::fromUtf8(func::FloatOverflow().what()) + "\n\nquillon.ini: " +
                               overflowing.join(QStringLiteral(", ")) + QStringLiteral(" → 0"),
                           unit1::BoxButtons::kOk);
}

void TForm1::ShutDown() {
  if (!startedUp_ || shutDown_) return;
  shutDown_ = true;
  tempFolder_.reset();
  context_.drawing.ClearImageList();
  memoLookup_.Reset();
  context_.drawing.Free();
  WriteSettingsFile();
}

void TForm1::WriteSettingsFile() {
  unit_ini::SettingsWriter writer(settingsFile_);
  auto write = [&writer](const char* section, const std::string& key, long long value) {
    writer.Write(section, key, std::to_string(value));
  };
  const QRect main = frameGeometry();
  write("Form", "F1_X", main.x());
  write("Form", "F1_Y", main.y());
  write("Form", "F1_W", main.width());
  write("Form", "F1_H", main.height());
  const QRect dialog =
      settingsDialog_ ? settingsDialog_->frameGeometry() : QRect(192, 111, 748, 502);
  write("Form", "F2_X", dialog.x());
  write("Form", "F2_Y", dialog.y());
  write("Form", "F2_W", dialog.width());
  write("Form", "F2_H", dialog.height());
  write("Comp", "F1P1", Panel1->width());
  for (int column = 0; column < StringGrid1->columnCount(); ++column) {
    write("Comp", "F1S" + std::to_string(column), StringGrid1->columnWidth(column));
  }
  writer.Write("Set", "FLD1", unit1::IniBytes(searchFolder_));
  writer.Write("Set", "FLD2", unit1::IniBytes(destinationFolder_));
  write("Set", "FTYP", ComboBox1->currentIndex());
  context_.settings.Save(writer);
  writer.Commit();
}
