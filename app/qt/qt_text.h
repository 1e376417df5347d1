// Texts between Qt and the rest of the program: paths in the system's own
// form, UTF-8 messages, and the bytes the settings file holds.
#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <filesystem>
#include <string>

namespace unit1 {

inline std::filesystem::path ToPath(const QString& text) {
#ifdef _WIN32
  return std::filesystem::path(text.toStdWString());
#else
  return std::filesystem::path(QFile::encodeName(text).toStdString());
#endif
}

inline QString FromPath(const std::filesystem::path& path) {
#ifdef _WIN32
  return QString::fromStdWString(path.native());
#else
  return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

inline QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A folder as shown and kept: native separators, ending in one.
inline QString FolderText(const QString& folder) {
  QString text = QDir::toNativeSeparators(folder);
  if (!text.isEmpty() && !text.endsWith(QDir::separator())) text += QDir::separator();
  return text;
}

// Folders are kept in the settings file as the bytes of their path.
inline std::string IniBytes(const QString& text) {
#ifdef _WIN32
  return text.toStdString();
#else
  return QFile::encodeName(text).toStdString();
#endif
}

inline QString FromIniBytes(const std::string& bytes) {
#ifdef _WIN32
  return QString::fromStdString(bytes);
#else
  return QFile::decodeName(QByteArray::fromStdString(bytes));
#endif
}

}  // namespace unit1
