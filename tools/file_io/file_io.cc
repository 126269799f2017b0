#include "tools/file_io/file_io.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace lite {
namespace {

std::string ErrnoText(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + strerror(errno);
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string* bytes, std::string* error) {
  struct stat info;
  if (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    *error = path + " is not a regular file";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = ErrnoText("cannot open", path);
    return false;
  }
  std::ostringstream contents;
  contents << in.rdbuf();
  if (in.bad()) {
    *error = ErrnoText("cannot read", path);
    return false;
  }
  *bytes = contents.str();
  return true;
}

bool ReplaceFileContents(const std::string& path, std::string_view bytes,
                         const std::string& permissions_from, std::string* error) {
  std::string temp = path + ".partial-XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) {
    *error = ErrnoText("cannot create a temporary file beside", path);
    return false;
  }
  struct stat original;
  if (!permissions_from.empty() && stat(permissions_from.c_str(), &original) == 0) {
    fchmod(fd, original.st_mode & 07777);
  } else {
    // mkstemp makes the file private; a new output is made as open() would.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
  }
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  const bool written = done == bytes.size() && fsync(fd) == 0;
  const bool closed = close(fd) == 0;
  if (!written || !closed || rename(temp.c_str(), path.c_str()) != 0) {
    *error = ErrnoText("cannot write", path);
    unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace lite
