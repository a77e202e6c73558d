#include "ui/failure_text.h"

#include <cerrno>

#include "base/errors.h"
#include "params/ini.h"
#include "params/param_file.h"
#include "table/codes.h"
#include "table/position.h"
#include "ui/form_helpers.h"

namespace mipofc {

namespace {

using formdetail::Q;

QString SystemReason(int error) {
  switch (error) {
    case ENOENT: return QStringLiteral("文件或文件夹不存在");
    case EACCES:
    case EPERM: return QStringLiteral("没有权限");
    case EISDIR: return QStringLiteral("这是一个文件夹");
    case ENOTDIR: return QStringLiteral("路径中有一项不是文件夹");
    case EROFS: return QStringLiteral("文件系统只读");
    case ENOSPC: return QStringLiteral("磁盘已满");
    case EDQUOT: return QStringLiteral("磁盘配额已用完");
    case ENAMETOOLONG: return QStringLiteral("文件名太长");
    case EEXIST: return QStringLiteral("文件已存在");
    case EIO: return QStringLiteral("读写出错");
    case EMFILE:
    case ENFILE: return QStringLiteral("打开的文件太多");
    case EBADF: return QStringLiteral("无法写入");
    case ENOMEM: return QStringLiteral("内存不足");
    case EFBIG: return QStringLiteral("文件太大");
    case ELOOP: return QStringLiteral("符号链接太多层");
    case ETXTBSY:
    case EBUSY: return QStringLiteral("文件正在使用中");
    default: return QStringLiteral("系统错误%1号").arg(error);
  }
}

QString EncodingName(const std::string& id) {
  if (id == "utf-8-bom") return QStringLiteral("UTF-8（按字节顺序标记）");
  if (id == "utf-16le-bom") return QStringLiteral("UTF-16LE（按字节顺序标记）");
  if (id == "utf-16be-bom") return QStringLiteral("UTF-16BE（按字节顺序标记）");
  if (id == "gbk") return QStringLiteral("GBK");
  return QStringLiteral("UTF-8");
}

QString OutputName(const std::string& id) {
  return id == "ips" ? QStringLiteral("IPS补丁") : id == "bps" ? QStringLiteral("BPS补丁") : QStringLiteral("写入后的ROM");
}

// A size: "16 KB" for whole kilobytes, else bytes; "" for one no 64 bits hold.
QString Bytes(const std::string& bytes) {
  if (bytes.empty()) return QStringLiteral("超过2^64字节");
  const unsigned long long n = std::strtoull(bytes.c_str(), nullptr, 10);
  return n % 1024 == 0 ? QStringLiteral("%1 KB").arg(n / 1024) : Q(bytes) + QStringLiteral("字节");
}

// What FreeType's error code means.
QString FreeTypeReason(const std::string& code) {
  switch (std::atoi(code.c_str())) {
    case 0x01: return QStringLiteral("无法打开字体文件");
    case 0x02: return QStringLiteral("字体文件格式无法识别");
    case 0x03: return QStringLiteral("字体文件格式有误");
    case 0x08: return QStringLiteral("字体文件已损坏");
    case 0x40: return QStringLiteral("内存不足");
    default: return QStringLiteral("字体库错误%1号").arg(code.c_str());
  }
}

}  // namespace

QString ChineseReason(const TFailure& f) {
  const auto v = [&](std::size_t i) { return Q(f.At(i)); };
  switch (f.Kind) {
    case TFailureKind::System: return SystemReason(std::atoi(f.At(0).c_str()));
    case TFailureKind::NotTextUnread:
      return f.At(0) == "gbk" ? QStringLiteral("不是文本：UTF-8和GBK都读不出第%1行").arg(v(1))
                              : QStringLiteral("不是文本：按%1读不出第%2行").arg(EncodingName(f.At(0)), v(1));
    case TFailureKind::NotTextOddUtf16:
      return QStringLiteral("不是文本：%1的字节数应为偶数，文件却有%2字节").arg(EncodingName(f.At(0)), v(1));
    case TFailureKind::NotTextControl:
      return QStringLiteral("不是文本：第%1行有文本中不会出现的控制字符%2（按%3读；UTF-16文本需要字节顺序标记）")
          .arg(v(0), v(1), EncodingName(f.At(2)));
    case TFailureKind::NotTextUnknown: return QStringLiteral("不是文本：按%1读不出来").arg(EncodingName(f.At(0)));
    case TFailureKind::NotParamFile: return QStringLiteral("不是参数文件：其中没有参数文件的任何一节");
    case TFailureKind::FontFileUriEscape:
      return QStringLiteral("字体文件路径“%1”无法解码：转义“%2”不是%号加两位十六进制数").arg(v(0), v(1));
    case TFailureKind::FontFileUriEmpty: return QStringLiteral("字体文件路径“%1”无法解码：其中没有路径").arg(v(0));
    case TFailureKind::FontFileUriNul: return QStringLiteral("字体文件路径“%1”无法解码：解码后含有空字节").arg(v(0));
    case TFailureKind::FontNameNotGbk: return QStringLiteral("字体名“%1”无法用GBK写入").arg(v(0));
    case TFailureKind::TableCharNotGbk: return QStringLiteral("字符%1无法用GBK写入").arg(v(0));
    case TFailureKind::TableNotGbk: return QStringLiteral("码表无法用GBK写入");
    case TFailureKind::TableNotEntry: return QStringLiteral("不是码表项（应为 编码=文字、*编码 或 /编码）");
    case TFailureKind::TableMissingCode: return QStringLiteral("缺少编码");
    case TFailureKind::TableCodeNotHex: return QStringLiteral("编码“%1”不是十六进制数").arg(v(0));
    case TFailureKind::TableCodeOddDigits: return QStringLiteral("编码“%1”的位数是奇数").arg(v(0));
    case TFailureKind::TableCodeTooLong: return QStringLiteral("编码“%1”超过6位（3字节）").arg(v(0));
    case TFailureKind::TableEmptyText: return QStringLiteral("编码%1没有文字").arg(v(0));
    case TFailureKind::TableCodeTwice: return QStringLiteral("编码%1在第%2行已经有了").arg(v(0), v(1));
    case TFailureKind::TableCodeElsewhere: return QStringLiteral("编码%1也在%2第%3行").arg(v(0), v(1), v(2));
    case TFailureKind::OutsideBmp:
      return QStringLiteral("字符%1在基本多文种平面之外（一个字模格只放一个16位编码单元）").arg(v(0));
    case TFailureKind::LoneSurrogate: return QStringLiteral("%1是落单的代理项，不是字符").arg(v(0));
    case TFailureKind::CodeRange:
      return QStringLiteral("码表放不下：从编码%2起的%1个字符要用到编码%3，超过%4字节所能容纳的（最大%5）")
          .arg(v(0), v(1), v(2), v(3), v(4));
    case TFailureKind::IpsTooLarge:
      return QStringLiteral("IPS补丁只能改动前16 MB（3字节偏移），而ROM有%1字节：请改用BPS补丁").arg(v(0));
    case TFailureKind::IpsShortens:
      return QStringLiteral("IPS补丁不能让文件变短（%1字节变为%2字节）").arg(v(0), v(1));
    case TFailureKind::NoChrRom:
      return QStringLiteral("没有CHR-ROM（CHR大小为0：游戏的图块来自CHR-RAM），无法写入CHR库");
    case TFailureKind::BankNoTiles: return QStringLiteral("没有图块（0字节）");
    case TFailureKind::BankNotTiles: return QStringLiteral("%1字节不是16字节图块的整数倍").arg(v(0));
    case TFailureKind::PastChrRom:
      return QStringLiteral("从第%4 KB起放不下：%3字节的库超出CHR-ROM（%2 KB）%1")
          .arg(f.At(0).empty() ? QStringLiteral("无数字节") : v(0) + QStringLiteral("字节"), v(1), v(2), v(3));
    case TFailureKind::PastEndOfFile:
      return QStringLiteral("从偏移%4起放不下：%3字节的库超出文件末尾（文件%2字节）%1")
          .arg(f.At(0).empty() ? QStringLiteral("无数字节") : v(0) + QStringLiteral("字节"), v(1), v(2), v(3));
    case TFailureKind::HeaderTooShort:
      return QStringLiteral("文件比iNES头部还短：只有%1字节，头部需要16字节").arg(v(0));
    case TFailureKind::NotInes: return QStringLiteral("不是iNES格式的ROM：文件开头不是“NES”和0x1A");
    case TFailureKind::RomShorterThanHeader:
      return QStringLiteral("ROM文件比头部所说的短：实有%1字节，头部%2与%3 PRG-ROM、%4 CHR-ROM共需%5")
          .arg(v(0), f.At(1) == "1" ? QStringLiteral("、训练器") : QString(), Bytes(f.At(2)), Bytes(f.At(3)),
               f.At(4).empty() ? QStringLiteral("超过任何文件的大小") : v(4) + QStringLiteral("字节"));
    case TFailureKind::PatchIsRom: return QStringLiteral("就是%1所依据的源ROM：请给补丁另起一个名字").arg(OutputName(f.At(0)));
    case TFailureKind::OutputTwice:
      return QStringLiteral("同时被指定为%1和%2").arg(OutputName(f.At(0)), OutputName(f.At(1)));
    case TFailureKind::FontNoFace: return QStringLiteral("文件中没有第%1个字体").arg(v(0));
    case TFailureKind::FontUnreadable: return FreeTypeReason(f.At(1));
    case TFailureKind::FontNoOutlines: return QStringLiteral("字体既没有轮廓也没有点阵");
    case TFailureKind::FontCannotSize: return QStringLiteral("无法设为%1像素：%2").arg(v(0), FreeTypeReason(f.At(2)));
    case TFailureKind::FontNoMatch: return QStringLiteral("没有与这个字体名相配的字体");
    case TFailureKind::FontConfigMissing: return QStringLiteral("无法载入字体配置");
    case TFailureKind::OutOfMemory: return QStringLiteral("内存不足");
    case TFailureKind::Unwritable: return QStringLiteral("无法写入");
    case TFailureKind::FolderMissing: return QStringLiteral("文件夹%1不存在").arg(v(0));
    case TFailureKind::NotAFolder: return QStringLiteral("%1不是文件夹").arg(v(0));
  }
  return {};
}

QString ChineseMessage(const std::exception& error) {
  if (const auto* e = dynamic_cast<const TFileError*>(&error))
    return Q(e->FileName()) + QStringLiteral("：") + ChineseReason(e->Failure());
  if (const auto* e = dynamic_cast<const TFontError*>(&error))
    return Q(e->Subject()) + QStringLiteral("：") + ChineseReason(e->Failure());
  if (const auto* e = dynamic_cast<const TTextError*>(&error)) {
    QString place = Q(e->File()) + QStringLiteral("第%1行").arg(e->Line());
    if (e->Column() > 0) place += QStringLiteral("第%1列").arg(e->Column());
    return place + QStringLiteral("：") + ChineseReason(e->Failure());
  }
  if (const auto* e = dynamic_cast<const TCodeRangeError*>(&error)) return ChineseReason(e->Failure());
  if (const auto* e = dynamic_cast<const TIniWriteError*>(&error))
    return QStringLiteral("无法写入") + Q(e->Path()) + QStringLiteral("：") + ChineseReason(e->Failure());
  return QString::fromUtf8(error.what());
}

}  // namespace mipofc
