#pragma once

#include <optional>

#include "base/failure.h"
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace mipofc {

/// Saving an INI file failed and nothing on disk changed; what() is "Unable to write to <path>".
class TIniWriteError : public std::runtime_error {
 public:
  TIniWriteError(const std::string& path, TFailure failure)
      : std::runtime_error("Unable to write to " + path), path_(path), failure_(std::move(failure)) {}
  /// A failure of the system's errno.
  TIniWriteError(const std::string& path, int error) : TIniWriteError(path, SystemFailure(error)) {}
  /// The file that could not be written.
  const std::string& Path() const { return path_; }
  /// Why ("Read-only file system").
  const TFailure& Failure() const { return failure_; }

 private:
  std::string path_;
  TFailure failure_;
};

/// An INI text read and updated key by key the way private-profile files are, over raw bytes:
/// names and values are code page 936 (GBK) bytes, and every line the update does not own
/// keeps its bytes and its line ending. Section and key names are compared with blanks around
/// them ignored, ASCII letters case-insensitively and every other byte (GBK trail bytes
/// included) exactly. Only the first section of a name and its first key of a name count.
class TIniFile {
 public:
  /// The INI text of these bytes; empty for a new file.
  explicit TIniFile(std::string_view bytes = {});
  /// The INI text of a file; empty when the file does not exist. Throws TFileError(path,
  /// strerror) when it exists but cannot be read.
  static TIniFile Load(const std::string& path);

  /// True when the text has a section of this name.
  bool HasSection(std::string_view section) const { return FindSection(section).has_value(); }
  /// The value of a key, without the blanks around it and one pair of enclosing quotes, cut
  /// to 2047 bytes (never inside a double-byte character); nullopt when the key is missing.
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;
  /// The value of a key, or fallback when it is missing.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
  /// A 32-bit integer in decimal, or in hexadecimal after "0x", "0X" or "$" (at most 32 bits,
  /// so "0x80000008" is -2147483640); fallback when missing, not a number or out of range.
  int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
  /// Any integer but 0 is true; fallback when missing or not an integer.
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

  /// Sets a key: its line is rewritten in place, or a line is added after the last non-blank
  /// line of its section, or the section is added at the end of the text. A value with blanks
  /// at either end or enclosing quotes is written in quotes so that it reads back unchanged.
  /// Throws std::invalid_argument for names and values no line can hold (line breaks, NUL,
  /// blanks around a name, "]" in a section name or a lone lead byte at its end, "=" in a key
  /// or a key starting "[" or ";").
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  /// WriteString of the decimal form.
  void WriteInteger(std::string_view section, std::string_view key, int value);
  /// WriteString of "1" or "0".
  void WriteBool(std::string_view section, std::string_view key, bool value);

  /// The whole text.
  std::string Bytes() const;
  /// Writes the whole text over path atomically, leaving no temporary file even if killed
  /// (keeping an existing file's permissions; a read-only file is not replaced). Throws
  /// TIniWriteError; nothing changed then.
  void Save(const std::string& path) const;

 private:
  struct TLine {
    std::string Text;  // without its line ending
    std::string End;   // "\r\n", "\n", "\r" or "" (the last line without one)
  };
  struct TSection {
    size_t Header;  // index of the "[name]" line
    size_t End;     // one past its last line
  };
  std::optional<TSection> FindSection(std::string_view section) const;
  std::optional<size_t> FindKey(const TSection& section, std::string_view key) const;
  void Insert(size_t index, std::string text);

  std::vector<TLine> lines_;
  std::string newline_;  // the file's own line ending, for lines we add
};

}  // namespace mipofc
