#include "ui/output_dialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "ui/form_helpers.h"

namespace mipofc {

using namespace formdetail;

namespace {

QString Hex(std::uint64_t value, int digits) {
  return QString::number(value, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

QDialogButtonBox* OkCancel(QDialog* dialog) {
  auto* buttons = Named(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel), "Buttons");
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

}  // namespace

QString SizeText(std::uint64_t bytes) {
  return bytes % 1024 == 0 ? QStringLiteral("%1 KB").arg(bytes / 1024) : QStringLiteral("%1 字节").arg(bytes);
}

QString ChrRangeText(std::uint64_t first, std::uint64_t last) {
  return QStringLiteral("CHR 0x") + Hex(first, 4) + QStringLiteral("-0x") + Hex(last, 4);
}

TCodeTableDialog::TCodeTableDialog(QWidget* parent, const TCodeTableChoice& initial) : QDialog(parent) {
  setObjectName(QStringLiteral("CodeTableDialog"));
  setWindowTitle(QStringLiteral("码表"));
  ECodeStart = Named(new QLineEdit(Hex(static_cast<std::uint64_t>(std::clamp(initial.Start, 0, 0xFFFFFF)), 2)),
                     "ECodeStart");
  ECodeStart->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9A-Fa-f]{1,6}")), ECodeStart));
  ECodeStart->setMaxLength(6);
  ComboCodeBytes = NewList("ComboCodeBytes");
  ComboCodeBytes->addItems({QStringLiteral("最少"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
  ComboCodeBytes->setCurrentIndex(std::clamp(initial.Bytes, 0, 3));
  Buttons = OkCancel(this);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("起始编码(十六进制)："), ECodeStart);
  form->addRow(QStringLiteral("编码字节："), ComboCodeBytes);
  auto* column = new QVBoxLayout(this);
  column->addLayout(form);
  column->addWidget(
      new QLabel(QStringLiteral("第 i 个字的编码为起始编码 + i；“最少”取容得下所有编码的最少字节。")));
  column->addWidget(Buttons);
  connect(ECodeStart, &QLineEdit::textChanged, this, &TCodeTableDialog::Check);
  Check();
}

TCodeTableChoice TCodeTableDialog::Choice() const {
  return {ECodeStart->text().toInt(nullptr, 16), ComboCodeBytes->currentIndex()};
}

void TCodeTableDialog::Check() {
  Buttons->button(QDialogButtonBox::Ok)->setEnabled(!ECodeStart->text().isEmpty());
}

TChrStartDialog::TChrStartDialog(QWidget* parent, TChrStartAsk ask) : QDialog(parent), ask_(std::move(ask)) {
  setObjectName(QStringLiteral("ChrStartDialog"));
  setWindowTitle(QStringLiteral("写入ROM"));
  LRomSizes = NewLabel("LRomSizes", QStringLiteral("PRG-ROM %1    CHR-ROM %2")
                                        .arg(SizeText(ask_.PrgSize), SizeText(ask_.ChrSize)));
  LBanksSize = NewLabel("LBanksSize", QStringLiteral("本文本的库：%1 个，共 %2")
                                          .arg(ask_.BankCount)
                                          .arg(SizeText(ask_.BanksSize)));
  SpinChrStart = NewSpin("SpinChrStart", 0, 0, 0);
  const std::uint64_t chrKb = ask_.ChrSize / 1024;
  SpinChrStart->setRange(0, static_cast<int>(std::min<std::uint64_t>(chrKb, std::numeric_limits<int>::max())));
  SpinChrStart->setSuffix(QStringLiteral(" KB"));
  SpinChrStart->setValue(static_cast<int>(std::clamp<std::int64_t>(ask_.Initial, 0, SpinChrStart->maximum())));
  LChrRange = NewLabel("LChrRange", QString());
  LChrRange->setWordWrap(true);
  Buttons = OkCancel(this);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("ROM："), NewLabel("LRomName", ask_.RomName));
  form->addRow(QString(), LRomSizes);
  form->addRow(QString(), LBanksSize);
  form->addRow(QStringLiteral("从 CHR-ROM 第几 KB 起："), SpinChrStart);
  auto* column = new QVBoxLayout(this);
  column->addLayout(form);
  column->addWidget(LChrRange);
  column->addWidget(Buttons);
  // The range or the refusal may take two lines; the dialog grows with it.
  column->setSizeConstraint(QLayout::SetMinimumSize);
  setMinimumWidth(400);
  connect(SpinChrStart, &QSpinBox::valueChanged, this, &TChrStartDialog::Check);
  Check();
}

std::int64_t TChrStartDialog::Start() const { return SpinChrStart->value(); }

void TChrStartDialog::Check() {
  const QString refusal = ask_.Refusal ? ask_.Refusal(Start()) : QString();
  const bool fits = refusal.isEmpty() && ask_.BanksSize > 0;
  Buttons->button(QDialogButtonBox::Ok)->setEnabled(fits);
  if (!refusal.isEmpty()) {
    LChrRange->setText(refusal);
  } else {
    const std::uint64_t first = static_cast<std::uint64_t>(Start()) * 1024;
    LChrRange->setText(ask_.BanksSize > 0 ? QStringLiteral("写入 ") + ChrRangeText(first, first + ask_.BanksSize - 1)
                                          : QString());
  }
  // A refusal in red, so that it reads as the reason OK is disabled.
  LChrRange->setStyleSheet(refusal.isEmpty() ? QString() : QStringLiteral("color: #C00000;"));
}

}  // namespace mipofc
