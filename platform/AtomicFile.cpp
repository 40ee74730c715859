#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/FixedTexts.h"

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

// The file a path finally names, symbolic links followed, and whether it
// exists (with its status then). A dangling link keeps the path itself, so
// the link is replaced rather than followed nowhere.
std::string ResolveTarget(const std::string& path, bool& exists, struct stat& info) {
  exists = lstat(path.c_str(), &info) == 0;
  if (!exists || !S_ISLNK(info.st_mode)) return path;
  char resolved[PATH_MAX];
  const std::string target = realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
  exists = stat(target.c_str(), &info) == 0;
  return target;
}

// The umask can only be read by setting it, which would race with a save
// on another thread: it is read once, by the first save.
mode_t Umask() {
  static const mode_t mask = [] {
    const mode_t m = umask(0);
    umask(m);
    return m;
  }();
  return mask;
}
mode_t NewFileMode() { return 0666 & ~Umask(); }

bool OwnedByUs(const struct stat& info) {
  static const uid_t user = geteuid();
  static const gid_t group = getegid();
  return info.st_uid == user && info.st_gid == group;
}

// Creates the temporary file for a target in `folder` named `name`, with the
// permission bits `mode` where open can give them (the umask applied), and
// says in `created` which bits it has. The name is the target's (shortened
// so that it stays within the length a folder entry may have) with the
// process id: the same for every save of the target, so that saving again
// reuses the folder entry instead of adding a random name each time. Where
// it is taken (a save of the same target under way on another thread, or a
// crash's leftover), a random name instead.
int CreateTemporary(const std::string& folder, const std::string& name, mode_t mode, std::string& path,
                    mode_t& created) {
  const std::string prefix = (folder.empty()  ? std::string()
                              : folder == "/" ? "/"
                                              : folder + "/") +
                             "." + name.substr(0, 200);
  // The program never forks: the id is looked up once.
  static const std::string process = [] {
    std::string text = std::to_string(getpid());
    text.insert(0, 1, '.');
    return text.append(".tmp");
  }();
  path = prefix + process;
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode & 0777);
  created = mode & 0777 & ~Umask();
  if (fd >= 0 || errno != EEXIST) return fd;
  path = prefix + ".XXXXXX";
  fd = mkostemp(path.data(), O_CLOEXEC);
  created = 0600;
  return fd;
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

// Everything of a save up to the rename: the bytes in a temporary file in the
// target's folder, closed, flushed to disk when `sync`. A device is written
// in place and needs no commit (its `temp` stays empty).
AtomicWriteResult Stage(const std::string& path, std::string_view bytes, bool sync, StagedFile& staged) {
  errno = 0;
  if (path.empty() || path.back() == '/') {
    errno = EISDIR;
    return Failed();
  }
  struct stat existing {};
  bool exists = false;
  staged.target = ResolveTarget(path, exists, existing);
  const std::string& target = staged.target;
  if (exists && S_ISDIR(existing.st_mode)) {
    errno = EISDIR;
    return Failed();
  }
  if (exists && !S_ISREG(existing.st_mode)) return WriteInPlace(target, bytes);

  staged.folder = ExtractFileDir(target);
  const mode_t mode = exists ? (existing.st_mode & 07777) : NewFileMode();
  std::string temp;
  mode_t created = 0;
  const int fd = CreateTemporary(staged.folder, ExtractFileName(target), mode, temp, created);
  if (fd < 0) return Failed();

  auto abandon = [&](bool open) {
    const AtomicWriteResult result = Failed();
    if (open) close(fd);
    unlink(temp.c_str());
    return result;
  };

  // Only where open could not give the old file's mode (bits the umask
  // takes away, or a random name's 0600).
  if (created != mode && fchmod(fd, mode) != 0) return abandon(true);
  if (exists && !OwnedByUs(existing)) {
    // Keeping the owner is only possible for a privileged user; failing to
    // is no reason to refuse the save.
    [[maybe_unused]] const int ignored = fchown(fd, existing.st_uid, existing.st_gid);
  }
  if (!WriteAll(fd, bytes)) return abandon(true);
  if (sync && fsync(fd) != 0) return abandon(true);
  if (close(fd) != 0) return abandon(false);
  staged.temp = std::move(temp);
  return {true, 0};
}

int OpenFolder(const std::string& folder) {
  return open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

}  // namespace

AtomicWriteResult WriteFileAtomically(const std::string& path, std::string_view bytes) {
  StagedFile staged;
  if (const AtomicWriteResult result = Stage(path, bytes, true, staged); !result || staged.temp.empty()) {
    return result;
  }
  if (rename(staged.temp.c_str(), staged.target.c_str()) != 0) {
    const AtomicWriteResult result = Failed();
    unlink(staged.temp.c_str());
    return result;
  }
  // Make the rename itself durable; a folder that cannot be synced does not
  // undo a completed save.
  const int dir = OpenFolder(staged.folder);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return {true, 0};
}

AtomicWriteResult StageFileAtomically(const std::string& path, std::string_view bytes, StagedFile& staged) {
  staged = {};
  return Stage(path, bytes, false, staged);
}

void AbandonStagedFile(StagedFile& staged) {
  if (!staged.temp.empty()) unlink(staged.temp.c_str());
  staged.temp.clear();
}

std::vector<bool> CommitStagedFiles(std::vector<StagedFile>& files) {
  std::vector<bool> committed(files.size(), false);
  // One descriptor per folder, and one sync per file system they are on.
  std::map<std::string, int> folders;
  std::set<dev_t> synced;
  bool durable = true;
  for (const StagedFile& file : files) {
    if (file.temp.empty() || folders.count(file.folder)) continue;
    const int dir = OpenFolder(file.folder);
    folders[file.folder] = dir;
    struct stat info {};
    if (dir < 0 || fstat(dir, &info) != 0) {
      durable = false;
    } else if (synced.insert(info.st_dev).second && syncfs(dir) != 0) {
      durable = false;
    }
  }
  for (size_t k = 0; k < files.size(); ++k) {
    StagedFile& file = files[k];
    if (file.temp.empty()) {
      committed[k] = true;  // written in place already
      continue;
    }
    // Data that may not be on disk is never put in the old file's place.
    committed[k] = durable && rename(file.temp.c_str(), file.target.c_str()) == 0;
    if (!committed[k]) unlink(file.temp.c_str());
    file.temp.clear();
  }
  for (const auto& [folder, dir] : folders) {
    if (dir < 0) continue;
    fsync(dir);
    close(dir);
  }
  return committed;
}

std::string WriteFileReported(const std::string& path, std::string_view bytes) {
  if (WriteFileAtomically(path, bytes)) return {};
  return path + ": " + kCannotCreateFile;
}
