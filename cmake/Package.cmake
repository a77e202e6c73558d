# The Debian package, made by CPack from an install to /usr: `make package` (cpack -G DEB in the
# release build) gives mipofc_<version>_<architecture>.deb. Depends comes from the shared
# libraries the programs link (dpkg-shlibdeps), plus the font the default family maps to.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mipofc)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Tolvar)
set(CPACK_PACKAGE_CONTACT "MipoFC developers <mipofc@tolvar.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Unicode text to NES/Famicom pattern-table banks")
set(CPACK_PACKAGE_DESCRIPTION
    "MipoFC draws every character of a text, mostly Chinese, with a font into a glyph cell of\n"
    "8x8 up to 32x32 pixels, reduces it to two NES colour indexes, cuts it into 8x8 tiles and\n"
    "writes them as numbered pattern-table banks (raw .chr files or .inc include files).\n"
    "Fonts are drawn monochrome with their bitmap strikes, for crisp pixel glyphs.\n"
    "The package holds the window (mipofc) and the command-line tool (mipofc-cli).")
string(CONCAT CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# 宋体, the default family, is mapped to WenQuanYi Zen Hei Sharp; unifont covers what it lacks,
# and cc65 assembles the include files. The window loads Qt's own Chinese translation, so that
# the standard dialogs and buttons speak Chinese whatever the locale.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-zenhei")
if(TARGET mipofc)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", qt6-translations-l10n")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-unifont, cc65")

include(CPack)
