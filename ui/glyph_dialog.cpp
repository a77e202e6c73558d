#include "ui/glyph_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "jobs/glyph_export.h"
#include "ui/form_helpers.h"

namespace mipofc {

using namespace formdetail;

TGlyphDialog::TGlyphDialog(QWidget* parent, const TGlyphChoice& initial) : QDialog(parent) {
  setObjectName(QStringLiteral("FormGlyphs"));
  setWindowTitle(QStringLiteral("CHR-RAM字模"));
  ComboBpp = NewList("ComboBpp");
  ComboBpp->addItems({QStringLiteral("1"), QStringLiteral("2")});
  ComboBpp->setCurrentIndex(initial.BitsPerPixel == 1 ? 0 : 1);
  ComboPrgBank = NewList("ComboPrgBank");
  ComboPrgBank->addItems({QStringLiteral("不分"), QStringLiteral("8K"), QStringLiteral("16K"), QStringLiteral("32K")});
  int bank = 0;
  for (int i = 0; i < 3; ++i)
    if (initial.PrgBank == PrgBankSizes[i]) bank = i + 1;
  ComboPrgBank->setCurrentIndex(bank);
  Buttons = Named(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel), "Buttons");
  Buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
  Buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
  connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("每像素位数："), ComboBpp);
  form->addRow(QStringLiteral("PRG库大小："), ComboPrgBank);
  auto* column = new QVBoxLayout(this);
  column->addLayout(form);
  auto* note = new QLabel(QStringLiteral("每个字的块按扫描顺序依次排列，字与字之间不留空。\n"
                                         "1 位：每块 8 字节，字色的像素为 1（只用于编码方式 0）；\n"
                                         "2 位：每块 16 字节，与字库相同。\n"
                                         "分 PRG 库时每个文件只放整字，末尾补 0 到库的大小。"));
  column->addWidget(note);
  column->addWidget(Buttons);
}

TGlyphChoice TGlyphDialog::Choice() const {
  const int bank = ComboPrgBank->currentIndex();
  return {ComboBpp->currentIndex() == 0 ? 1 : 2, bank >= 1 && bank <= 3 ? PrgBankSizes[bank - 1] : 0};
}

}  // namespace mipofc
