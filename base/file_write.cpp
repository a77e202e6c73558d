#include "base/file_write.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>

#include "base/errors.h"

namespace mipofc {

namespace {

// Writes all of data to fd; 0 or the errno of the failure.
int WriteAll(int fd, std::string_view data) {
  const char* p = data.data();
  std::size_t left = data.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return 0;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Hex8(unsigned long value) {
  char text[9];
  std::snprintf(text, sizeof text, "%08lx", value & 0xFFFFFFFFul);
  return text;
}

// The process id a temporary name of ours was made by, or -1 when name is none of ours.
long TemporaryOwner(std::string_view name) {
  if (name.size() != TemporaryNameLength || name.substr(0, TemporaryPrefix.size()) != TemporaryPrefix) return -1;
  long pid = 0;
  for (std::size_t i = TemporaryPrefix.size(); i < name.size(); ++i) {
    const char c = name[i];
    const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    if (digit < 0) return -1;
    if (i < TemporaryPrefix.size() + 8) pid = pid * 16 + digit;
  }
  return pid;
}

// Removes, once a process for each folder, the temporaries that writers killed between naming a
// file and renaming it left behind: ours by their name, of a process that no longer runs.
void RemoveStaleTemporaries(const std::string& folder) {
  static std::mutex mutex;
  static std::set<std::string> swept;
  {
    const std::lock_guard<std::mutex> lock(mutex);
    if (!swept.insert(folder).second) return;
  }
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir)) {
    const long pid = TemporaryOwner(entry->d_name);
    if (pid <= 0 || pid == ::getpid()) continue;
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}

// A name beside path that no other writer uses: the process id and a serial number.
std::string TemporaryName(const std::string& path) {
  static std::atomic<unsigned long> serial{0};
  const std::string folder = FolderOf(path);
  const std::string name = std::string(TemporaryPrefix) + Hex8(static_cast<unsigned long>(::getpid())) + Hex8(serial++);
  return path.find('/') == std::string::npos ? name : folder + (folder == "/" ? "" : "/") + name;
}

// Gives the unnamed file fd the name to (which must not exist); 0 or the errno of the failure.
int LinkUnnamed(int fd, const std::string& to) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, to.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
  const int error = errno;
  if (error != ENOENT || ::access(self.c_str(), F_OK) == 0) return error;
  // Without /proc the descriptor itself is linked, which the kernel allows only to the privileged.
  return ::linkat(fd, "", AT_FDCWD, to.c_str(), AT_EMPTY_PATH) == 0 ? 0 : ENOTSUP;
}

// Writes data to fd; when it replaces old, passes old's permissions (and owner, where allowed) on
// and flushes the data. 0 or the errno.
int WriteContent(int fd, const struct stat* old, std::string_view data) {
  int error = WriteAll(fd, data);
  if (error == 0 && old) {
    if (::fchmod(fd, old->st_mode & 07777) != 0) error = errno;
    [[maybe_unused]] const int owned = ::fchown(fd, old->st_uid, old->st_gid);  // only root may give files away
    if (error == 0 && ::fdatasync(fd) != 0) error = errno;
  }
  return error;
}

// After a replacing rename: the folder's entry reaches the disk too.
void SyncFolder(const std::string& path) {
  const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// The file target names, when it exists as a regular file (which the write replaces).
bool Replaces(const std::string& target, struct stat& old) {
  return ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
}

void ThroughTemporaryName(const std::string& path, const std::string& target, std::string_view data) {
  RemoveStaleTemporaries(FolderOf(target));
  struct stat old {};
  const bool replaces = Replaces(target, old);
  const std::string temp = TemporaryName(target);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) throw TFileError(path, errno);
  int error = WriteContent(fd, replaces ? &old : nullptr, data);
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temp.c_str());
    throw TFileError(path, error);
  }
  if (replaces) SyncFolder(target);
}

}  // namespace

std::string LinkTarget(const std::string& path) {
  std::string target = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
    std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
    const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= link.size()) return target;
    link.resize(static_cast<std::size_t>(n));
    target = link[0] == '/' || target.find('/') == std::string::npos ? link : FolderOf(target) + "/" + link;
  }
  return target;
}

void WriteFileThroughTemporaryName(const std::string& path, std::string_view data) {
  ThroughTemporaryName(path, LinkTarget(path), data);
}

void WriteFileAtomically(const std::string& path, std::string_view data) {
  const std::string target = LinkTarget(path);
  RemoveStaleTemporaries(FolderOf(target));
  struct stat old {};
  const bool replaces = Replaces(target, old);
  // The content is written into a file without a name, which vanishes with the process if it
  // dies; only a whole file ever gets a name.
  const int fd = ::open(FolderOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) {
    // File systems (and kernels) without unnamed files refuse in one of these ways.
    if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) return ThroughTemporaryName(path, target, data);
    throw TFileError(path, errno);
  }
  int error = WriteContent(fd, replaces ? &old : nullptr, data);
  if (error == 0) error = LinkUnnamed(fd, target);
  std::string temp;
  if (error == EEXIST) {
    // Only rename replaces a file atomically, and it needs a name to move: the whole file is
    // linked under a temporary name and renamed over the old one at once.
    for (int tries = 0; tries < 100 && error == EEXIST; ++tries) error = LinkUnnamed(fd, temp = TemporaryName(target));
    if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0) {
      error = errno;
      ::unlink(temp.c_str());
    }
    if (error == 0) SyncFolder(target);
  }
  ::close(fd);
  if (error == ENOTSUP) return ThroughTemporaryName(path, target, data);
  if (error != 0) throw TFileError(path, error);
}

}  // namespace mipofc
