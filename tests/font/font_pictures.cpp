#include "tests/font/font_pictures.h"

#include <climits>
#include <fstream>
#include <sstream>

namespace mipofc::test {

std::string BdfPath() {
  return std::string(MIPOFC_TEST_DATA) + "/mipo-test16.bdf";
}

const BdfFile& Bdf() {
  static const BdfFile file = [] {
    BdfFile f;
    std::ifstream in(BdfPath());
    std::string line;
    bool inProps = false;
    int code = -1;
    BdfGlyph g;
    while (std::getline(in, line)) {
      std::istringstream words(line);
      std::string key;
      words >> key;
      if (key == "STARTPROPERTIES")
        inProps = true;
      else if (key == "ENDPROPERTIES")
        inProps = false;
      else if (inProps) {
        int value;
        if (words >> value) f.props[key] = value;
      } else if (key == "ENCODING")
        words >> code;
      else if (key == "DWIDTH")
        words >> g.advance;
      else if (key == "BBX")
        words >> g.width >> g.height >> g.xoff >> g.yoff;
      else if (key == "BITMAP") {
        for (int r = 0; r < g.height && std::getline(in, line); ++r)
          g.rows.push_back(std::stoul(line, nullptr, 16));
      } else if (key == "ENDCHAR") {
        f.glyphs[code] = g;
        g = BdfGlyph();
      }
    }
    return f;
  }();
  return file;
}

int Prop(const char* name) {
  auto it = Bdf().props.find(name);
  return it == Bdf().props.end() ? INT_MIN : it->second;
}

TFont BdfFont() {
  TFont f;
  f.File = BdfPath();
  f.SetSize(12);
  f.Color = static_cast<std::int32_t>(Ink);
  return f;
}

Picture Blank(int w, int h) {
  return Picture(static_cast<std::size_t>(h), std::string(static_cast<std::size_t>(w), '.'));
}

void Mark(Picture& p, int x, int y) {
  if (y >= 0 && y < static_cast<int>(p.size()) && x >= 0 && x < static_cast<int>(p[0].size()))
    p[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = '#';
}

std::string Show(const Picture& p) {
  std::string s = "\n";
  for (const auto& row : p) s += row + "\n";
  return s;
}

Picture Draw(const TFont& font, char16_t ch, int w, int h, int x, int y) {
  TBitmap bm;
  bm.SetSize(w, h);
  bm.Canvas.BrushColor = bm.Canvas.PenColor = Paper;
  bm.FillRect(0, 0, w, h);
  bm.Canvas.Font = font;
  bm.TextOut(x, y, ch);
  Picture p = Blank(w, h);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      const TColor c = bm.GetPixel(i, j);
      if (c != Paper) p[static_cast<std::size_t>(j)][static_cast<std::size_t>(i)] = c == Ink ? '#' : '?';
    }
  return p;
}

void MarkGlyph(Picture& p, const BdfGlyph& g, int x, int y, int dx) {
  const int top = y + Prop("FONT_ASCENT") - (g.height + g.yoff);
  for (int r = 0; r < g.height; ++r)
    for (int c = 0; c < g.width; ++c)
      if (g.At(c, r)) Mark(p, x + g.xoff + c + dx, top + r);
}

Picture Expected(char16_t ch, int w, int h, int x, int y) {
  Picture p = Blank(w, h);
  MarkGlyph(p, Bdf().glyphs.at(ch), x, y);
  return p;
}

int InkCount(const Picture& p) {
  int n = 0;
  for (const auto& row : p)
    for (char c : row) n += c != '.';
  return n;
}

}  // namespace mipofc::test
