#pragma once

#include <stdexcept>
#include <string>

namespace mipofc {

/// A file could not be read or written; what() reads "<file>: <reason>".
class TFileError : public std::runtime_error {
 public:
  TFileError(std::string file, std::string reason)
      : std::runtime_error(file + ": " + reason), file_(std::move(file)), reason_(std::move(reason)) {}
  const std::string& FileName() const { return file_; }
  const std::string& Reason() const { return reason_; }

 private:
  std::string file_;
  std::string reason_;
};

/// A font could not be found or opened; what() names the font or file and the reason.
class TFontError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace mipofc
