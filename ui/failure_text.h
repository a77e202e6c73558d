#pragma once

// The window's words for what went wrong: each failure kind in Chinese, and any exception a
// command throws as the message the window shows.

#include <QString>
#include <exception>

#include "base/failure.h"

namespace mipofc {

/// The reason of a failure in Chinese, without the file ("文件或文件夹不存在").
QString ChineseReason(const TFailure& failure);
/// The message of an exception a command threw: the file (and line) and ChineseReason for the
/// failures the libraries report, what() for anything else.
QString ChineseMessage(const std::exception& error);

}  // namespace mipofc
