#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

std::string CurrentDirectory() {
  std::vector<char> buffer(4096);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE || buffer.size() > (1u << 20)) return {};
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

std::string ExtractFileDir(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string ExtractFileName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExtractFileExt(const std::string& path) {
  const std::string name = ExtractFileName(path);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::optional<std::string> ReadFileHead(const std::string& path, size_t maxBytes) {
  // Non-blocking, so that a pipe or terminal chosen by mistake cannot hang
  // the program; regular files read as ever.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  // The buffer grows as the file comes in: most files are far smaller than
  // the limit, and a buffer of the limit's size would be cleared for nothing.
  constexpr size_t kFirstBuffer = 4096;
  std::string bytes;
  size_t filled = 0;
  bool failed = false;
  while (filled < maxBytes) {
    if (filled == bytes.size()) bytes.resize(std::min(maxBytes, std::max(kFirstBuffer, 2 * filled)));
    const ssize_t got = read(fd, bytes.data() + filled, bytes.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      failed = true;
      break;
    }
    if (got == 0) break;
    filled += static_cast<size_t>(got);
  }
  close(fd);
  if (failed) return std::nullopt;
  bytes.resize(filled);
  return bytes;
}

bool MakeFolders(const std::string& path) {
  if (path.empty()) return false;
  struct stat info {};
  if (stat(path.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
  const std::string parent = ExtractFileDir(path);
  if (!parent.empty() && parent != path && !MakeFolders(parent)) return false;
  return mkdir(path.c_str(), 0777) == 0 || (errno == EEXIST && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode));
}
