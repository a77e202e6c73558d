#pragma once

class QApplication;

namespace mipofc {

/// Loads Qt's own Chinese translation (qtbase_zh_CN) into app, so that the standard dialogs and
/// buttons (确定, 取消, 是, 否, the file dialog) speak Chinese whatever the locale. False when the
/// translation is not installed; Qt's English stays then.
bool InstallQtChinese(QApplication& app);

}  // namespace mipofc
