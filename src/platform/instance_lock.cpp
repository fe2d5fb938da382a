// One running copy per user: a socket bound in the abstract namespace.
#include "instance_lock.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {
int lockSocket = -1;
}

bool AcquireInstanceLock(const std::string& name) {
  if (lockSocket >= 0) return true;
  std::string full = name + "/" + std::to_string(getuid());
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  // Abstract names start with a NUL byte and are not NUL-terminated; cut what does not fit.
  size_t length = std::min(full.size(), sizeof address.sun_path - 1);
  std::memcpy(address.sun_path + 1, full.data(), length);
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  socklen_t size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0) {
    close(fd);
    return false;
  }
  lockSocket = fd;
  return true;
}

void ReleaseInstanceLock() {
  if (lockSocket < 0) return;
  close(lockSocket);
  lockSocket = -1;
}
