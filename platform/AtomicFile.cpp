#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include "platform/FileSystem.h"

namespace {

bool WriteAll(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return false;
    if (put == 0) {
      errno = EIO;
      return false;
    }
    done += static_cast<size_t>(put);
  }
  return true;
}

AtomicWriteResult Failed() { return {false, errno != 0 ? errno : EIO}; }

// The file a path finally names, symbolic links followed. A dangling link
// keeps the path itself, so the link is replaced rather than followed nowhere.
std::string ResolveTarget(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved) != nullptr) return resolved;
  return path;
}

// The umask can only be read by setting it, which would race with a save
// on another thread: it is read once, by the first save.
mode_t NewFileMode() {
  static const mode_t mode = [] {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
  }();
  return mode;
}

AtomicWriteResult WriteInPlace(const std::string& path, std::string_view bytes) {
  // Non-blocking: a pipe without a reader fails at once instead of hanging.
  const int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Failed();
  if (!WriteAll(fd, bytes)) {
    const AtomicWriteResult result = Failed();
    close(fd);
    return result;
  }
  if (close(fd) != 0) return Failed();
  return {true, 0};
}

}  // namespace

AtomicWriteResult WriteFileAtomically(const std::string& path, std::string_view bytes) {
  errno = 0;
  if (path.empty() || path.back() == '/') {
    errno = EISDIR;
    return Failed();
  }
  const std::string target = ResolveTarget(path);
  struct stat existing {};
  const bool exists = stat(target.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) {
    errno = EISDIR;
    return Failed();
  }
  if (exists && !S_ISREG(existing.st_mode)) return WriteInPlace(target, bytes);

  const std::string folder = ExtractFileDir(target);
  // The temporary name is the target's, shortened so that it stays within
  // the length a folder entry may have.
  const std::string name = ExtractFileName(target).substr(0, 200);
  std::string pattern =
      (folder.empty() ? std::string() : folder == "/" ? "/" : folder + "/") + "." + name + ".XXXXXX";
  std::vector<char> temp(pattern.begin(), pattern.end());
  temp.push_back('\0');
  const int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return Failed();
  const std::string tempPath = temp.data();

  auto abandon = [&](bool open) {
    const AtomicWriteResult result = Failed();
    if (open) close(fd);
    unlink(tempPath.c_str());
    return result;
  };

  if (fchmod(fd, exists ? (existing.st_mode & 07777) : NewFileMode()) != 0) return abandon(true);
  if (exists && (existing.st_uid != geteuid() || existing.st_gid != getegid())) {
    // Keeping the owner is only possible for a privileged user; failing to
    // is no reason to refuse the save.
    [[maybe_unused]] const int ignored = fchown(fd, existing.st_uid, existing.st_gid);
  }
  if (!WriteAll(fd, bytes)) return abandon(true);
  if (fsync(fd) != 0) return abandon(true);
  if (close(fd) != 0) return abandon(false);
  if (rename(tempPath.c_str(), target.c_str()) != 0) return abandon(false);

  // Make the rename itself durable; a folder that cannot be synced does not
  // undo a completed save.
  const int dir = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return {true, 0};
}

std::string WriteFileReported(const std::string& path, std::string_view bytes) {
  if (WriteFileAtomically(path, bytes)) return {};
  return path + ": " + kCannotWriteFile;
}
