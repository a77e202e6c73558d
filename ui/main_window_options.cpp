// TForm1: the option controls as values, their rules, the font and the option handlers.
#include "ui/main_window.h"

#include <QPushButton>
#include <QRadioButton>
#include <cmath>

#include "ui/widgets.h"
#include "ui/form_helpers.h"

namespace mipofc {

using namespace formdetail;

QFont ToQFont(const TFont& font) {
  QFont q(Q(font.Name));
  q.setPointSize(font.Size > 0 ? font.Size : 10);
  q.setBold(font.Bold);
  q.setItalic(font.Italic);
  q.setUnderline(font.Underline);
  q.setStrikeOut(font.StrikeOut);
  return q;
}

TFont FromQFont(const QFont& qfont, TFont base) {
  base.Name = qfont.family().toStdString();
  // A face picked by family name replaces a font named by its file.
  base.File.clear();
  base.FaceIndex = 0;
  int points = static_cast<int>(std::lround(qfont.pointSizeF()));
  if (points <= 0 && qfont.pixelSize() > 0) points = MulDivRound(qfont.pixelSize(), 72, 96);
  base.SetSize(points > 0 ? points : base.Size);
  base.Bold = qfont.bold();
  base.Italic = qfont.italic();
  base.Underline = qfont.underline();
  base.StrikeOut = qfont.strikeOut();
  return base;
}

TOptionValues TForm1::ReadOptions() const {
  TOptionValues v;
  v.CellSizeIndex = ComboBox1->currentIndex();
  v.EncodingItems = Utf8Items(ComboBox2);
  v.EncodingIndex = ComboBox2->currentIndex();
  v.DistributionItems = Utf8Items(ComboBox3);
  v.DistributionIndex = ComboBox3->currentIndex();
  v.LimitIndex = ComboBox4->currentIndex();
  v.NarrowWide = TBp->value();
  v.FontSize = TBs->value();
  v.PosX = PosX;
  v.PosY = PosY;
  v.BgIndex = Ebg->value();
  v.GlyphIndex = Ewm->value();
  v.ColoursLocked = !Ebg->isEnabled();
  v.MVisible = !Eout04->isHidden();
  v.M = Eout04->value();
  v.ScanHorizontal = RWay01->isChecked();
  v.ScanVertical = RWay02->isChecked();
  v.ScanEnabled = RWay01->isEnabled();
  v.Font = BfFontFont;
  v.DialogFont = FontDialog1Font;
  v.CodeStart = CodeStart;
  v.CodeBytes = CodeBytes;
  v.Scenes = SceneValues;
  return v;
}

void TForm1::WriteOptions(const TOptionValues& v) {
  ComboBox1->setCurrentIndex(v.CellSizeIndex >= 0 && v.CellSizeIndex < ComboBox1->count() ? v.CellSizeIndex : -1);
  SetItems(ComboBox2, v.EncodingItems, v.EncodingIndex);
  SetItems(ComboBox3, v.DistributionItems, v.DistributionIndex);
  ComboBox4->setCurrentIndex(v.LimitIndex >= 0 && v.LimitIndex < ComboBox4->count() ? v.LimitIndex : -1);

  BfFontFont = v.Font;
  FontDialog1Font = v.DialogFont;
  ShowFontCaption();
  TBs->setValue(v.FontSize);
  TBp->setValue(v.NarrowWide);
  PosX = v.PosX;
  PosY = v.PosY;
  CodeStart = v.CodeStart;
  CodeBytes = v.CodeBytes;
  SceneValues = v.Scenes;

  Ebg->setValue(v.BgIndex);
  Ewm->setValue(v.GlyphIndex);
  Ebg->setEnabled(!v.ColoursLocked);
  Ewm->setEnabled(!v.ColoursLocked);
  Label5->setHidden(!v.MVisible);
  Eout04->setHidden(!v.MVisible);
  Eout04->setValue(v.M);

  RWay01->setEnabled(v.ScanEnabled);
  RWay02->setEnabled(v.ScanEnabled);
  // Both may be unchecked (a loaded file can say so); auto-exclusivity would refuse that.
  RWay01->setAutoExclusive(false);
  RWay02->setAutoExclusive(false);
  RWay01->setChecked(v.ScanHorizontal);
  RWay02->setChecked(v.ScanVertical && !v.ScanHorizontal);
  RWay01->setAutoExclusive(true);
  RWay02->setAutoExclusive(true);
}

void TForm1::ApplySizeRules() {
  TOptionValues v = ReadOptions();
  if (v.CellSizeIndex < 0) return;
  mipofc::ApplySizeRules(v);
  // The size rule selects mode 0 from code; run its rule too, so that the M field and the
  // colour lock never belong to a mode that is no longer selected.
  mipofc::ApplyEncodingRule(v);
  WriteOptions(v);
}

void TForm1::ApplyEncodingRule() {
  TOptionValues v = ReadOptions();
  mipofc::ApplyEncodingRule(v);
  WriteOptions(v);
}

void TForm1::ApplyChosenFont() {
  TOptionValues v = ReadOptions();
  mipofc::ApplyChosenFont(v);
  WriteOptions(v);
}

void TForm1::GatherSettings(TChrSettings& s) { s = mipofc::GatherSettings(ReadOptions(), &BfFontFont); }

TChrSettings TForm1::GatherSettings() {
  TChrSettings s;
  GatherSettings(s);
  return s;
}

void TForm1::ShowFontCaption() {
  // The caption shows the face and style; its size stays the window's, so it fits the button.
  QFont shown = ToQFont(BfFontFont);
  shown.setPointSizeF(font().pointSizeF() > 0 ? font().pointSizeF() : 9);
  BfFont->setFont(shown);
  QString toolTip;
  const QString caption = FontCaption(toolTip);
  BfFont->setText(caption);
  // The button may show the name shortened; the tip gives it whole.
  BfFont->setToolTip(toolTip.isEmpty() ? caption : caption + QLatin1Char('\n') + toolTip);
}

// ---- handlers ------------------------------------------------------------------------------

void TForm1::ComboBox1Change() {
  ApplySizeRules();
  SetFlag();
}

void TForm1::ComboBox2Change() {
  ApplyEncodingRule();
  SetFlag();
}

void TForm1::ComboBox3Change() { SetFlag(); }
void TForm1::ComboBox4Change() { SetFlag(); }

void TForm1::BfFontClick() {
  FontDialog1Font = BfFontFont;
  // OK without a change keeps everything as it was: the font, its caption and its banks.
  if (const auto chosen = dialogs_->ChooseFont(this, FontDialog1Font);
      chosen && !(chosen->SameFace(FontDialog1Font) && chosen->Color == FontDialog1Font.Color)) {
    FontDialog1Font = *chosen;
    ApplyChosenFont();
  }
  SetFlag();
}

void TForm1::TBsChange() {
  BfFontFont.SetSize(TBs->value());
  Label9->setText(QString::number(TBs->value()));
  SetFlag();
}

void TForm1::TBpChange() {
  Label11->setText(QString::number(TBp->value()));
  SetFlag();
}

void TForm1::Nudge(int dx, int dy) {
  PosX += dx;
  PosY += dy;
  Lsite->setText(QStringLiteral("(%1, %2)").arg(PosX).arg(PosY));
  SetFlag();
}

void TForm1::BluClick() { Nudge(-1, -1); }
void TForm1::BuClick() { Nudge(0, -1); }
void TForm1::BruClick() { Nudge(1, -1); }
void TForm1::BlClick() { Nudge(-1, 0); }
void TForm1::BrClick() { Nudge(1, 0); }
void TForm1::BldClick() { Nudge(-1, 1); }
void TForm1::BdClick() { Nudge(0, 1); }
void TForm1::BrdClick() { Nudge(1, 1); }

void TForm1::BautoColorClick() {
  Ebg->setValue(0);
  Ewm->setValue(1);
  SetFlag();
}

void TForm1::EbgChange() { SetFlag(); }
void TForm1::EwmChange() { SetFlag(); }
void TForm1::Eout04Change() { SetFlag(); }
void TForm1::RWay01Click() { SetFlag(); }
void TForm1::RWay02Click() { SetFlag(); }
void TForm1::CheckBox1Click() { SetFlag(); }

void TForm1::ChooseSwatchColour(TSwatch* swatch) {
  if (const auto chosen = dialogs_->ChooseColour(this, ToQColor(swatch->Color()))) swatch->SetColor(FromQColor(*chosen));
  SetFlag();
}

void TForm1::color0Click() { ChooseSwatchColour(color0); }
void TForm1::color1Click() { ChooseSwatchColour(color1); }
void TForm1::color2Click() { ChooseSwatchColour(color2); }
void TForm1::color3Click() { ChooseSwatchColour(color3); }

void TForm1::Shape1MouseUp() {
  if (const auto chosen = dialogs_->ChooseColour(this, ToQColor(Shape1->Color()))) Shape1->SetColor(FromQColor(*chosen));
  SetFlag();
}

void TForm1::BmyColorClick() {
  color0->SetColor(0x000000);
  color1->SetColor(0xFFFFFF);
  color2->SetColor(0x000080);
  color3->SetColor(0x808000);
  SetFlag();
}

}  // namespace mipofc
