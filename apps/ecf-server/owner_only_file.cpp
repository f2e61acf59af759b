#include "owner_only_file.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#if defined(_WIN32)
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <memory>

#include "platform/numbers.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ecf_server {

#if defined(_WIN32)

namespace {

struct LocalMemory {
  void operator()(void* memory) const { LocalFree(memory); }
};

std::string ErrorText(const std::string& what) { return what + ": error " + platform::to_text(GetLastError()); }

// The SID of the user this process runs as, in its "S-1-..." form.
std::string CurrentUserSid() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) throw std::runtime_error(ErrorText("no process token"));
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::string buffer(size, '\0');
  const bool read = GetTokenInformation(token, TokenUser, buffer.data(), size, &size);
  CloseHandle(token);
  if (!read) throw std::runtime_error(ErrorText("cannot read the process user"));
  char* text = nullptr;
  if (!ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text))
    throw std::runtime_error(ErrorText("cannot name the process user"));
  std::unique_ptr<char, LocalMemory> owned(text);
  return text;
}

}  // namespace

// A protected access list with one entry: full access for this user.
void CreateOwnerOnlyFile(const std::string& path, const std::string& contents) {
  const std::string sddl = "D:P(A;;FA;;;" + CurrentUserSid() + ")";
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr))
    throw std::runtime_error(ErrorText("cannot make the access list of " + path));
  std::unique_ptr<void, LocalMemory> owned(descriptor);
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, &attributes, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error(ErrorText("cannot create " + path));
  DWORD written = 0;
  const bool complete = WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr) &&
                        written == contents.size() && FlushFileBuffers(file);
  CloseHandle(file);
  if (!complete) {
    DeleteFileA(path.c_str());
    throw std::runtime_error("cannot write " + path);
  }
}

// Every entry that grants anything names the file's owner.
bool IsOwnerOnly(const std::string& path) {
  PSID owner = nullptr;
  PACL list = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                            &owner, nullptr, &list, nullptr, &descriptor) != ERROR_SUCCESS)
    return false;
  std::unique_ptr<void, LocalMemory> owned(descriptor);
  if (!list || !owner) return false;  // no access list grants everyone everything
  for (DWORD i = 0; i < list->AceCount; ++i) {
    void* entry = nullptr;
    if (!GetAce(list, i, &entry)) return false;
    if (static_cast<ACE_HEADER*>(entry)->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
    if (!EqualSid(&static_cast<ACCESS_ALLOWED_ACE*>(entry)->SidStart, owner)) return false;
  }
  return true;
}

#else

void CreateOwnerOnlyFile(const std::string& path, const std::string& contents) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
  if (fd < 0) throw std::runtime_error("cannot create " + path + ": " + std::strerror(errno));
  const ssize_t written = ::write(fd, contents.data(), contents.size());
  const bool complete = written == static_cast<ssize_t>(contents.size()) && ::fsync(fd) == 0;
  ::close(fd);
  if (!complete) {
    ::unlink(path.c_str());
    throw std::runtime_error("cannot write " + path);
  }
}

bool IsOwnerOnly(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && (status.st_mode & (S_IRWXG | S_IRWXO)) == 0 &&
         status.st_uid == ::getuid();
}

#endif

}  // namespace ecf_server
