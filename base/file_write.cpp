#include "base/file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

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

// A name beside path that no other writer uses: the process id and a serial number.
std::string TemporaryName(const std::string& path) {
  static std::atomic<unsigned> serial{0};
  return path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(serial++);
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
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

// Writes data to fd and does what options ask before the file gets a name; 0 or the errno.
int WriteContent(int fd, const std::string& path, std::string_view data, const TWriteOptions& options) {
  int error = WriteAll(fd, data);
  struct stat old {};
  if (error == 0 && options.KeepMode && ::stat(path.c_str(), &old) == 0) {
    if (::fchmod(fd, old.st_mode & 07777) != 0) error = errno;
    [[maybe_unused]] const int owned = ::fchown(fd, old.st_uid, old.st_gid);  // only root may give files away
  }
  if (error == 0 && options.Sync && ::fsync(fd) != 0) error = errno;
  return error;
}

}  // namespace

void WriteFileThroughTemporaryName(const std::string& path, std::string_view data) {
  WriteFileThroughTemporaryName(path, data, {});
}

void WriteFileAtomically(const std::string& path, std::string_view data) { WriteFileAtomically(path, data, {}); }

void WriteFileThroughTemporaryName(const std::string& path, std::string_view data, const TWriteOptions& options) {
  const std::string temp = TemporaryName(path);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) throw TFileError(path, std::strerror(errno));
  int error = WriteContent(fd, path, data, options);
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temp.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temp.c_str());
    throw TFileError(path, std::strerror(error));
  }
}

void WriteFileAtomically(const std::string& path, std::string_view data, const TWriteOptions& options) {
  // The content is written into a file without a name, which vanishes with the process if it
  // dies; only a whole file ever gets a name.
  const int fd = ::open(FolderOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) {
    // File systems (and kernels) without unnamed files refuse in one of these ways.
    if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)
      return WriteFileThroughTemporaryName(path, data, options);
    throw TFileError(path, std::strerror(errno));
  }
  int error = WriteContent(fd, path, data, options);
  if (error == 0) error = LinkUnnamed(fd, path);
  std::string temp;
  if (error == EEXIST) {
    // Only rename replaces a file atomically, and it needs a name to move: the whole file is
    // linked under a temporary name and renamed over the old one at once.
    for (int tries = 0; tries < 100 && error == EEXIST; ++tries) error = LinkUnnamed(fd, temp = TemporaryName(path));
    if (error == 0 && ::rename(temp.c_str(), path.c_str()) != 0) {
      error = errno;
      ::unlink(temp.c_str());
    }
  }
  ::close(fd);
  if (error == ENOTSUP) return WriteFileThroughTemporaryName(path, data, options);
  if (error != 0) throw TFileError(path, std::strerror(error));
}

}  // namespace mipofc
