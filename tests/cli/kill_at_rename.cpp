// Preloaded into mipofc-cli by a test: the process is killed at the moment a temporary of the
// atomic writer would be renamed over the file it replaces, as a power cut or a kill could.
#include <dlfcn.h>
#include <signal.h>

#include <cstdlib>
#include <cstring>

extern "C" int rename(const char* from, const char* to) {
  const char* slash = std::strrchr(from, '/');
  const char* name = slash ? slash + 1 : from;
  if (std::getenv("MIPOFC_KILL_AT_RENAME") && std::strncmp(name, ".mipofc-", 8) == 0) ::raise(SIGKILL);
  using TRename = int (*)(const char*, const char*);
  static const TRename next = reinterpret_cast<TRename>(::dlsym(RTLD_NEXT, "rename"));
  return next(from, to);
}
