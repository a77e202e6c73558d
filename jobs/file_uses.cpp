#include "jobs/file_uses.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <unordered_map>

#include "base/file_write.h"

namespace mipofc {

std::string FileIdentity(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0)
    return "inode " + std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
  std::error_code ec;
  const std::filesystem::path where = std::filesystem::weakly_canonical(std::filesystem::absolute(LinkTarget(path), ec), ec);
  return "path " + where.lexically_normal().string();
}

std::optional<TFileClash> FindFileClash(const std::vector<TFileUse>& uses,
                                        const std::vector<std::pair<std::string, std::string>>& allowed) {
  const auto meant = [&](const TFileUse& a, const TFileUse& b) {
    return std::any_of(allowed.begin(), allowed.end(), [&](const auto& pair) {
      return (pair.first == a.Name && pair.second == b.Name) || (pair.first == b.Name && pair.second == a.Name);
    });
  };
  // The uses of each file so far, by identity: an export's thousands of bank files are checked
  // in one pass.
  std::unordered_map<std::string, std::vector<std::size_t>> seen;
  const TFileUse* reader = nullptr;  // the first use of standard input
  const TFileUse* printer = nullptr;  // the first use of standard output
  for (const TFileUse& b : uses) {
    if (b.Path == "-") {
      const TFileUse*& first = b.Written ? printer : reader;
      if (first)
        return TFileClash{b.Written ? TFileClash::StandardOutputTwice : TFileClash::StandardInputTwice, *first, b};
      first = &b;
      continue;
    }
    std::vector<std::size_t>& same = seen[FileIdentity(b.Path)];
    for (const std::size_t i : same) {
      const TFileUse& a = uses[i];
      if ((!a.Written && !b.Written) || meant(a, b)) continue;
      if (a.Written && b.Written) return TFileClash{TFileClash::SameOutput, a, b};
      return a.Written ? TFileClash{TFileClash::OutputIsInput, b, a} : TFileClash{TFileClash::OutputIsInput, a, b};
    }
    same.push_back(static_cast<std::size_t>(&b - uses.data()));
  }
  return std::nullopt;
}

}  // namespace mipofc
