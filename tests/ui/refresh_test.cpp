// The change flag, the 500 ms tick and the pictures the previews show.
#include <QComboBox>
#include <QSlider>
#include <QTest>
#include <QTextEdit>

#include "tests/ui/scripted_dialogs.h"
#include "ui/widgets.h"

namespace mipofc::test {
namespace {

using RefreshTest = WindowTest;
using PreviewPixelTest = WindowTest;

TEST_F(RefreshTest, ManyChangesWithinOneIntervalCauseOneRefresh) {
  EXPECT_EQ(Tick(), 1);  // the start state
  EXPECT_EQ(Tick(), 0);
  for (int v = 6; v <= 28; ++v) Form->TBs->setValue(v);
  Form->TBp->setValue(3);
  Form->Bd->click();
  Form->Ebg->setValue(2);
  Form->CheckBox1->click();
  Pick(Form->ComboBox4, 0);
  Form->Memo1->append(QStringLiteral("更多"));
  EXPECT_EQ(Tick(), 1);
  EXPECT_EQ(Tick(), 0);
}

TEST_F(RefreshTest, EveryOptionHandlerSetsTheFlag) {
  const std::pair<const char*, std::function<void(TForm1&)>> changes[] = {
      {"ComboBox1", [](TForm1& f) { Pick(f.ComboBox1, 6); }},
      {"ComboBox2", [](TForm1& f) { Pick(f.ComboBox2, 2); }},
      {"ComboBox3", [](TForm1& f) { Pick(f.ComboBox3, 0); }},
      {"ComboBox4", [](TForm1& f) { Pick(f.ComboBox4, 1); }},
      {"TBs", [](TForm1& f) { f.TBs->setValue(11); }},
      {"TBp", [](TForm1& f) { f.TBp->setValue(1); }},
      {"Ebg", [](TForm1& f) { f.Ebg->setValue(1); }},
      {"Ewm", [](TForm1& f) { f.Ewm->setValue(2); }},
      {"Eout04", [](TForm1& f) { f.Eout04->setValue(5); }},
      {"RWay02", [](TForm1& f) { f.RWay02->click(); }},
      {"CheckBox1", [](TForm1& f) { f.CheckBox1->click(); }},
      {"BautoColor", [](TForm1& f) { f.BautoColor->click(); }},
      {"BmyColor", [](TForm1& f) { f.BmyColor->click(); }},
      {"Memo1", [](TForm1& f) { f.Memo1->insertPlainText(QStringLiteral("字")); }},
  };
  for (const auto& [name, change] : changes) {
    Form->Timer1Timer();
    ASSERT_FALSE(Form->OptionsChanged);
    change(*Form);
    EXPECT_TRUE(Form->OptionsChanged) << name;
    EXPECT_EQ(Tick(), 1) << name;
  }
}

TEST_F(RefreshTest, RealTimerRedrawsOncePerTickWhileASliderIsDragged) {
  Form->Timer1->start();
  // A drag across the whole range, then the same back, well within one interval.
  for (int v = Form->TBs->minimum(); v <= Form->TBs->maximum(); ++v) Form->TBs->setValue(v);
  for (int v = Form->TBs->maximum(); v >= 12; --v) Form->TBs->setValue(v);
  QTest::qWait(650);
  EXPECT_EQ(Refreshes, 1);
  QTest::qWait(600);
  EXPECT_EQ(Refreshes, 1);
  EXPECT_EQ(Form->BfFontFont.Size, 12);
}

TEST_F(RefreshTest, HiddenButtonRefreshesAtOnceAndKeepsTheFlag) {
  Form->Timer1Timer();
  Form->Bu->click();
  const int before = Refreshes;
  Form->Button1Click();
  EXPECT_EQ(Refreshes, before + 1);
  EXPECT_TRUE(Form->OptionsChanged);
}

TEST_F(RefreshTest, AFontThatCannotBeOpenedIsReportedOnce) {
  Form->BfFontFont.File = "/nonexistent/font.ttf";
  EXPECT_EQ(Tick(), 0);
  ASSERT_EQ(Dialogs->Messages.size(), 1u);
  EXPECT_EQ(Dialogs->Messages[0].first, Form->TitleText);
  EXPECT_FALSE(Form->OptionsChanged);
  EXPECT_EQ(Tick(), 0);
  EXPECT_EQ(Dialogs->Messages.size(), 1u);
}

TEST(PreviewImageTest, ConvertsBgrColoursToQtColours) {
  TBitmap bitmap;
  bitmap.SetSize(3, 2);
  const TColor colours[6] = {0x000000, 0xFFFFFF, 0x000080, 0x808000, 0x563412, 0xC0C0C0};
  for (int i = 0; i < 6; ++i) bitmap.SetPixel(i % 3, i / 3, colours[i]);
  const QImage image = ToQImage(bitmap);
  ASSERT_EQ(image.size(), QSize(3, 2));
  for (int i = 0; i < 6; ++i) {
    const QColor c = image.pixelColor(i % 3, i / 3);
    EXPECT_EQ(FromQColor(c), colours[i]) << i;
    EXPECT_EQ(c.red(), static_cast<int>(colours[i] & 0xFF)) << i;
  }
}

TFont TestFont() {
  TFont font;
  font.Name = "Mipo Test";
  font.File = MIPOFC_UI_TEST_FONT;
  font.SetSize(12);
  return font;
}

// What the engine itself draws for one preview, on a target filled with the grid colour.
QImage EngineDrawing(bool bank, const TChrSettings& s, const TPalette& palette, bool grid, TColor gridColour,
                     const std::u16string& text) {
  TChr engine;
  TBitmap target;
  target.SetSize(128, 128);
  target.Canvas.BrushColor = gridColour;
  target.Canvas.PenColor = gridColour;
  target.FillRect(0, 0, 128, 128);
  if (bank)
    engine.DrawBankPreview(target, palette, grid, s, text);
  else
    engine.DrawTextPreview(target, palette, grid, s, text);
  return ToQImage(target);
}

TEST_F(PreviewPixelTest, PreviewsShowWhatTheEngineDraws) {
  struct Case {
    const char* name;
    int size;        // ComboBox1
    int mode;        // ComboBox2 item
    int limit;       // ComboBox4
    int distribution;  // ComboBox3
    bool grid;
    TColor gridColour;
    TPalette palette;
    int nudgeRight;
    std::u16string text;
    TChrSettings expected;  // font filled in below
  };
  auto settings = [](int w, int h, int mode, int dist, int limit, int dx, bool scanH) {
    TChrSettings s;
    s.CellWidth = w;
    s.CellHeight = h;
    s.BgIndex = 0;
    s.GlyphIndex = 1;
    s.ScanHorizontal = scanH;
    s.EncodeMode = mode;
    s.M = 1;
    s.Distribution = dist;
    s.Limit = limit;
    s.OffsetX = dx;
    return s;
  };
  const TPalette start = {0x000000, 0xFFFFFF, 0x000080, 0x808000};
  const Case cases[] = {
      {"16x16 block", 3, 0, 2, 1, false, 0xC0C0C0, start, 0, u"你们大家好。789A", settings(16, 16, 0, 1, 4096, 0, true)},
      {"grid", 3, 0, 1, 0, true, 0x00FF00, {0x112233, 0x445566, 0x778899, 0xAABBCC}, 0, u"AB你好",
       settings(16, 16, 0, 0, 2048, 0, true)},
      {"8x8 transposed", 0, 2, 0, 0, false, 0xC0C0C0, start, 2, u"ABCjg", settings(8, 8, 2, 0, 1024, 2, true)},
      {"32x32 folded", 6, 3, 2, 0, false, 0x808080, start, 0, u"中文字模", settings(32, 32, 3, 0, 4096, 0, true)},
  };
  for (const auto& c : cases) {
    SetUp();
    Form->FontDialog1Font = TestFont();
    Form->ApplyChosenFont();
    ASSERT_EQ(Form->TBs->value(), 12) << c.name;
    Pick(Form->ComboBox1, c.size);
    Pick(Form->ComboBox2, c.mode);
    Pick(Form->ComboBox4, c.limit);
    Pick(Form->ComboBox3, c.distribution);
    if (c.grid) Form->CheckBox1->click();
    Form->Shape1->SetColor(c.gridColour);
    TSwatch* swatches[4] = {Form->color0, Form->color1, Form->color2, Form->color3};
    for (int i = 0; i < 4; ++i) swatches[i]->SetColor(c.palette[i]);
    for (int i = 0; i < c.nudgeRight; ++i) Form->Br->click();
    Form->Memo1->setPlainText(QString::fromUtf16(c.text.data(), static_cast<qsizetype>(c.text.size())));
    ASSERT_EQ(Tick(), 1) << c.name;

    TFont font = TestFont();
    TChrSettings expected = c.expected;
    expected.Font = &font;
    for (const bool bank : {false, true}) {
      const QImage want = EngineDrawing(bank, expected, c.palette, c.grid, c.gridColour, c.text);
      const QImage& got = bank ? Form->Image2Picture() : Form->Image1Picture();
      ASSERT_EQ(got.size(), QSize(128, 128)) << c.name;
      int mismatches = 0;
      for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) mismatches += got.pixel(x, y) != want.pixel(x, y);
      EXPECT_EQ(mismatches, 0) << c.name << (bank ? " bank" : " text");
      // The shown pixmap is the picture itself at this scale.
      const QImage shown = (bank ? Form->Image2 : Form->Image1)->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
      EXPECT_EQ(shown, got) << c.name;
    }
    // The text preview holds glyph pixels, not only background.
    const QImage& text = Form->Image1Picture();
    int glyph = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 128; ++x) glyph += FromQColor(text.pixelColor(x, y)) == c.palette[1];
    EXPECT_GT(glyph, 10) << c.name;
  }
}

TEST_F(PreviewPixelTest, EmptyTextShowsBackgroundCellsAndBlankTiles) {
  Form->Memo1->clear();
  ASSERT_EQ(Tick(), 1);
  for (int y = 0; y < 128; y += 7)
    for (int x = 0; x < 128; x += 5) {
      EXPECT_EQ(FromQColor(Form->Image1Picture().pixelColor(x, y)), 0x000000u);
      EXPECT_EQ(FromQColor(Form->Image2Picture().pixelColor(x, y)), 0x000080u);
    }
}

TEST_F(PreviewPixelTest, ShownPixmapIsCrispAtAnyScale) {
  ASSERT_EQ(Tick(), 1);
  const QImage& picture = Form->Image1Picture();
  for (const qreal ratio : {1.0, 1.5, 2.0, 3.0}) {
    const QPixmap pixmap = CrispPixmap(picture, ratio);
    EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(128, 128)) << ratio;
    const QImage shown = pixmap.toImage().convertToFormat(QImage::Format_RGB32);
    const int side = shown.width();
    ASSERT_EQ(side, qRound(128 * ratio));
    // Every device pixel has the colour of one picture pixel: nothing blended in between.
    int foreign = 0;
    for (int y = 0; y < side; ++y)
      for (int x = 0; x < side; ++x)
        foreign += shown.pixel(x, y) != picture.pixel(x * 128 / side, y * 128 / side) &&
                   shown.pixel(x, y) != picture.pixel(std::min(127, x * 128 / side + 1), y * 128 / side) &&
                   shown.pixel(x, y) != picture.pixel(x * 128 / side, std::min(127, y * 128 / side + 1)) &&
                   shown.pixel(x, y) != picture.pixel(std::min(127, x * 128 / side + 1), std::min(127, y * 128 / side + 1));
    EXPECT_EQ(foreign, 0) << ratio;
  }
}

}  // namespace
}  // namespace mipofc::test
