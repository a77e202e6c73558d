// The window words every failure kind in Chinese: no English word reaches its messages.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "base/errors.h"
#include "params/ini.h"
#include "table/codes.h"
#include "table/position.h"
#include "ui/failure_text.h"

namespace mipofc {
namespace {

// The words a Chinese message may keep: format and unit names, U+XXXX, hex numbers.
QString WithoutAllowedWords(QString text) {
  static const QRegularExpression allowed(QStringLiteral(
      "U\\+[0-9A-F]{4,6}|0x[0-9A-F]+|NES 2\\.0|iNES|PRG|CHR|ROM|RAM|KB|MB|UTF-(8|16LE|16BE|16)|GBK|IPS|BPS|NES"));
  return text.remove(allowed);
}

TEST(FailureText, EveryKindHasAChineseReasonWithoutEnglishWords) {
  // Values of every shape a kind takes: numbers, a code, a character, an encoding.
  const std::vector<std::vector<std::string>> samples = {
      {"12", "7", "3", "1", "40976"}, {"gbk", "3", "utf-8-bom"}, {"utf-16le-bom", "U+0000", "gbk"}, {"", "", "", "", ""}};
  for (int k = 0; k < FailureKindCount; ++k) {
    for (const auto& values : samples) {
      const TFailure failure{static_cast<TFailureKind>(k), values};
      const QString chinese = ChineseReason(failure);
      EXPECT_FALSE(chinese.isEmpty()) << "kind " << k;
      // The values are the caller's (file names, codes, characters); the words around them are ours.
      QString words = WithoutAllowedWords(chinese);
      for (const std::string& value : values)
        if (!value.empty()) words.remove(QString::fromStdString(value));
      EXPECT_FALSE(words.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))))
          << "kind " << k << ": " << chinese.toStdString();
      EXPECT_FALSE(EnglishReason(failure).empty()) << "kind " << k;
    }
  }
}

TEST(FailureText, MessagesNameTheFileAndThePlace) {
  const struct {
    std::function<void()> fail;
    QString message;
  } cases[] = {
      {[] { throw TFontError("x.ttf", TFailure{TFailureKind::FontUnreadable, {"unknown file format", "2"}}); },
       QStringLiteral("x.ttf：字体文件格式无法识别")},
      {[] { throw TFileError("out/a.00.chr", ENOENT); }, QStringLiteral("out/a.00.chr：文件或文件夹不存在")},
      {[] { throw TTextError("g.tbl", 3, 0, TFailure{TFailureKind::TableCodeTwice, {"8140", "1"}}); },
       QStringLiteral("g.tbl第3行：编码8140在第1行已经有了")},
      {[] { throw TCodeRangeError(TFailure{TFailureKind::CodeRange, {"3001", "FF", "0CB7", "1", "FF"}}); },
       QStringLiteral("码表放不下：从编码FF起的3001个字符要用到编码0CB7，超过1字节所能容纳的（最大FF）")},
      {[] { throw TIniWriteError("p.ini", EROFS); }, QStringLiteral("无法写入p.ini：文件系统只读")},
  };
  for (const auto& c : cases) {
    try {
      c.fail();
      ADD_FAILURE() << "no failure";
    } catch (const std::exception& e) {
      EXPECT_EQ(ChineseMessage(e), c.message) << ChineseMessage(e).toStdString();
    }
  }
}

}  // namespace
}  // namespace mipofc
