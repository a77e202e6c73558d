#pragma once

// Helpers of the viewer, font-file, drop and progress tests: the test font, files, the CLI.

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <ostream>
#include <string>

#include "font/font.h"

/// QString in test failures as its text.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace mipofc::test {

/// The test font (a 16-pixel BDF) at 12 points, as the window holds a font file.
inline TFont UiTestFont() {
  TFont font;
  font.File = MIPOFC_UI_TEST_FONT;
  font.SetSize(12);
  return font;
}

/// The whole content of a file; empty when it cannot be read.
inline QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// Writes bytes to a file; false when it cannot be written.
inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

/// Text as a UTF-8 file.
inline bool WriteUtf8(const QString& path, const std::u16string& text) {
  return WriteBytes(path, QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())).toUtf8());
}

/// Runs mipofc-cli; its exit status, or -1 when it did not finish normally.
inline int RunCli(const QStringList& args, QString* errors = nullptr) {
  QProcess cli;
  cli.start(QStringLiteral(MIPOFC_CLI), args);
  if (!cli.waitForFinished(120000)) return -1;
  if (errors) *errors = QString::fromUtf8(cli.readAllStandardError());
  return cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
}

/// The characters the test font draws with shapes of their own.
inline const std::u16string TestFontCharacters =
    u"你们大家好。中文字模工具测试一二三四五六七八九十的是在有人这上我不他来个国到说时要就出会也子"
    u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

/// length characters of the test font, no two neighbours alike.
inline std::u16string TestText(std::size_t length) {
  std::u16string text;
  for (std::size_t i = 0; i < length; ++i) text += TestFontCharacters[(i * 7) % TestFontCharacters.size()];
  return text;
}

}  // namespace mipofc::test
