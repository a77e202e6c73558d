// FreeType faces: the library, faces opened once per process, and the registry of caches.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "font/font_impl.h"

namespace mipofc::fontdetail {

namespace {
// FreeType's own wording of its error codes.
// clang-format off
#undef FTERRORS_H_
#define FT_ERRORDEF(e, v, s) {v, s},
#define FT_ERROR_START_LIST {
#define FT_ERROR_END_LIST {0, nullptr}};
const struct {
  int code;
  const char* text;
} FtErrors[] =
#include FT_ERRORS_H
}  // namespace

const char* FtReason(FT_Error err) {
  for (const auto& e : FtErrors)
    if (e.text && e.code == err) return e.text;
  return "unknown FreeType error";
}
// clang-format on

const TT_OS2* UsableOs2(FT_Face face) {
  auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (!os2 || os2->version == 0xFFFF || face->units_per_EM == 0) return nullptr;
  if (os2->usWinAscent + os2->usWinDescent == 0) return nullptr;
  return os2;
}

Registry& Reg() {
  // One per thread: FreeType faces and the glyph caches are not to be shared between threads,
  // so a thread that draws opens its own.
  thread_local Registry registry;
  return registry;
}

std::string FileStamp(const std::string& file) {
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) return "";
  return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino) + ":" + std::to_string(st.st_size) + ":" +
         std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec);
}

std::shared_ptr<FtFace> OpenFace(const std::string& file, long index) {
  Registry& reg = Reg();
  const auto key = std::make_pair(file + '\n' + FileStamp(file), index);
  if (auto it = reg.faces.find(key); it != reg.faces.end()) return it->second;

  if (index < 0) throw TFontError(file, TFailure{TFailureKind::FontNoFace, {std::to_string(index)}});
  if (std::FILE* probe = std::fopen(file.c_str(), "rb")) {
    std::fclose(probe);
  } else {
    throw TFontError(file, SystemFailure(errno));
  }
  auto face = std::make_shared<FtFace>();
  face->lib = reg.lib;
  face->file = file;
  if (FT_Error err = FT_New_Face(reg.lib->lib, file.c_str(), index, &face->face)) {
    face->face = nullptr;
    if (err == FT_Err_Invalid_Argument && index > 0)
      throw TFontError(file, TFailure{TFailureKind::FontNoFace, {std::to_string(index)}});
    throw TFontError(file, TFailure{TFailureKind::FontUnreadable, {FtReason(err), std::to_string(err)}});
  }
  FT_Face f = face->face;
  if (!FT_IS_SCALABLE(f) && f->num_fixed_sizes <= 0)
    throw TFontError(file, TFailure{TFailureKind::FontNoOutlines, {}});
  if (FT_Select_Charmap(f, FT_ENCODING_UNICODE) != 0 && f->num_charmaps > 0)
    FT_Set_Charmap(f, f->charmaps[0]);
  const TT_OS2* os2 = UsableOs2(f);
  face->bold = (f->style_flags & FT_STYLE_FLAG_BOLD) || (os2 && os2->usWeightClass >= 600);
  face->italic = (f->style_flags & FT_STYLE_FLAG_ITALIC) || (os2 && (os2->fsSelection & 0x201));
  reg.faces.emplace(key, face);
  return face;
}

}  // namespace mipofc::fontdetail
