#include "ui/scene_dialog.h"

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

#include "ui/form_helpers.h"

namespace mipofc {

using namespace formdetail;

namespace {

QLineEdit* NewCodeEdit(const char* name, const std::string& value) {
  auto* edit = Named(new QLineEdit(Q(value)), name);
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("([0-9A-Fa-f]{2}){0,3}")), edit));
  edit->setMaxLength(6);
  return edit;
}

}  // namespace

TSceneDialog::TSceneDialog(QWidget* parent, const TSceneValues& initial) : QDialog(parent) {
  setObjectName(QStringLiteral("FormScenes"));
  setWindowTitle(QStringLiteral("按场景分库"));
  ComboSceneMode = NewList("ComboSceneMode");
  ComboSceneMode->addItems({QStringLiteral("空行分隔"), QStringLiteral("每行一个场景"), QStringLiteral("标记行分隔")});
  ComboSceneMode->setCurrentIndex(std::clamp(initial.Mode, 0, 2));
  EditMarker = Named(new QLineEdit(Q(initial.Marker)), "EditMarker");
  SpinFixedBanks = NewSpin("SpinFixedBanks", 0, 4, std::clamp(initial.FixedBanks, 0, 4));
  EditNewlineCode = NewCodeEdit("EditNewlineCode", initial.NewlineCode);
  EditEndCode = NewCodeEdit("EditEndCode", initial.EndCode);
  Buttons = Named(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel), "Buttons");
  Buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
  Buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
  connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(ComboSceneMode, &QComboBox::currentIndexChanged, this, &TSceneDialog::Check);
  for (QLineEdit* edit : {EditMarker, EditNewlineCode, EditEndCode})
    connect(edit, &QLineEdit::textChanged, this, &TSceneDialog::Check);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("场景："), ComboSceneMode);
  form->addRow(QStringLiteral("标记行："), EditMarker);
  form->addRow(QStringLiteral("固定库："), SpinFixedBanks);
  form->addRow(QStringLiteral("换行编码(十六进制)："), EditNewlineCode);
  form->addRow(QStringLiteral("结束编码(十六进制)："), EditEndCode);
  auto* column = new QVBoxLayout(this);
  column->addLayout(form);
  column->addWidget(new QLabel(QStringLiteral("每个场景看得到固定库和自己的一个切换库。\n"
                                              "固定库放出现在最多场景里的字，其余的字按场景分到切换库，\n"
                                              "切换库越少越好。编码可以留空。")));
  column->addWidget(Buttons);
  Check();
}

void TSceneDialog::Check() {
  const bool marker = ComboSceneMode->currentIndex() == 2;
  EditMarker->setEnabled(marker);
  const bool codes = EditNewlineCode->hasAcceptableInput() && EditEndCode->hasAcceptableInput();
  Buttons->button(QDialogButtonBox::Ok)->setEnabled(codes && (!marker || !EditMarker->text().isEmpty()));
}

TSceneValues TSceneDialog::Choice() const {
  TSceneValues v;
  v.Mode = ComboSceneMode->currentIndex();
  v.Marker = EditMarker->text().toStdString();
  v.FixedBanks = SpinFixedBanks->value();
  v.NewlineCode = EditNewlineCode->text().toUpper().toStdString();
  v.EndCode = EditEndCode->text().toUpper().toStdString();
  return v;
}

}  // namespace mipofc
