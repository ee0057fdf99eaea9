#include "tests/support/TestRoot.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/support/MakeTempFolder.h"

namespace vxtest {

namespace fs = std::filesystem;

TestRoot::TestRoot(Modules modules) : started_(fs::current_path()) {
    std::string pattern = (fs::temp_directory_path() / "vxtest-XXXXXX").string();
    if (!makeTempFolder(pattern)) {
        std::abort(); // no test can stand anywhere else
    }
    path_ = pattern;
    fs::create_directories(path_ / "config" / "CKITIdConfig");
    fs::create_directories(path_ / "meshes" / "CKit");
    if (modules == Modules::PresenceOnly) {
        fs::create_directories(path_ / "modules");
        write("modules/CKit.dll", "");
    } else {
#ifdef _WIN32
        fs::copy(VX_MODULE_DIR, path_ / "modules"); // the loader maps files from here itself
#else
        fs::create_directory_symlink(VX_MODULE_DIR, path_ / "modules");
#endif
    }
    write("meshes/CKit/ver.dtf", "2.0\n");
    fs::current_path(path_);
}

TestRoot::~TestRoot() {
    std::error_code ignored;
    fs::current_path(started_, ignored);
    fs::remove_all(path_, ignored);
}

void TestRoot::write(const std::string& relative, const std::string& content) const {
    std::ofstream(path_ / relative, std::ios::binary) << content;
}

std::string TestRoot::read(const std::string& relative) const {
    return readFile(path_ / relative);
}

void TestRoot::remove(const std::string& relative) const {
    std::error_code ignored;
    fs::remove(path_ / relative, ignored);
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace vxtest
