#pragma once

#include <stdexcept>
#include <string>

#include "base/failure.h"

namespace mipofc {

/// A file could not be read or written; what() reads "<file>: <reason>", the reason in English.
class TFileError : public std::runtime_error {
 public:
  TFileError(std::string file, TFailure failure)
      : std::runtime_error(file + ": " + EnglishReason(failure)),
        file_(std::move(file)),
        reason_(EnglishReason(failure)),
        failure_(std::move(failure)) {}
  /// A failure of the system's errno.
  TFileError(std::string file, int error) : TFileError(std::move(file), SystemFailure(error)) {}
  const std::string& FileName() const { return file_; }
  const std::string& Reason() const { return reason_; }
  const TFailure& Failure() const { return failure_; }

 private:
  std::string file_;
  std::string reason_;
  TFailure failure_;
};

/// A font could not be found or opened; what() reads "<font or file>: <reason>".
class TFontError : public std::runtime_error {
 public:
  TFontError(std::string subject, TFailure failure)
      : std::runtime_error(subject + ": " + EnglishReason(failure)),
        subject_(std::move(subject)),
        failure_(std::move(failure)) {}
  /// The font family or file.
  const std::string& Subject() const { return subject_; }
  const TFailure& Failure() const { return failure_; }

 private:
  std::string subject_;
  TFailure failure_;
};

}  // namespace mipofc
