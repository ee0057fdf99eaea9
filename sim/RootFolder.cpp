#include "sim/RootFolder.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#ifdef _WIN32
#include <io.h>

#include "platform/WinApi.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace vx {

namespace fs = std::filesystem;

namespace {

bool fail(const fs::path& root, const std::string& reason, std::string& error) {
    error = root.string() + ": " + reason;
    return false;
}

#ifdef _WIN32
bool writable(const fs::path& root) {
    return _access(root.string().c_str(), 2) == 0;
}
#else
bool writable(const fs::path& root) {
    return faccessat(AT_FDCWD, root.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}
#endif

} // namespace

RootFolder::~RootFolder() {
#ifdef _WIN32
    if (lock_ != nullptr) {
        CloseHandle(lock_);
    }
#else
    if (lock_ >= 0) {
        close(lock_);
    }
#endif
}

bool RootFolder::enter(const fs::path& root, std::string& error) {
    std::error_code why;
    const fs::file_status status = fs::status(root, why);
    if (!fs::exists(status)) {
        return fail(root, "the root folder does not exist", error);
    }
    if (!fs::is_directory(status)) {
        return fail(root, "the root is not a folder", error);
    }
    if (!writable(root)) {
        return fail(root,
                    std::string("the root folder cannot be written (") + std::strerror(errno) +
                        "); vxsim writes its log and the crew exchange files there",
                    error);
    }
#ifdef _WIN32
    const std::string lockFile = (root / "vxsim.lock").string();
    lock_ = CreateFileA(lockFile.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                        FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (lock_ == INVALID_HANDLE_VALUE) {
        lock_ = nullptr;
        return fail(root,
                    GetLastError() == ERROR_SHARING_VIOLATION
                        ? "the root folder is in use by another vxsim run"
                        : "the root folder cannot be locked for this run",
                    error);
    }
#else
    lock_ = open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (lock_ < 0 || flock(lock_, LOCK_EX | LOCK_NB) != 0) {
        const int code = errno;
        return fail(root,
                    code == EWOULDBLOCK ? "the root folder is in use by another vxsim run"
                                        : std::string("the root folder cannot be locked (") +
                                              std::strerror(code) + ")",
                    error);
    }
#endif
    fs::create_directory(root / "config", why);
    if (why) {
        return fail(root, "cannot create its config folder (" + why.message() + ")", error);
    }
    fs::current_path(root, why);
    if (why) {
        return fail(root, "cannot enter the root folder (" + why.message() + ")", error);
    }
    return true;
}

std::string RootFolder::missingCrewLibrary() {
    std::error_code why;
    if (fs::exists("modules/CKit.dll", why)) {
        return {};
    }
    return "warning: " + (fs::current_path(why) / "modules" / "CKit.dll").string() +
           " is missing: the crew library is not installed, so crew lines are refused and "
           "nobody can leave a vessel";
}

} // namespace vx
