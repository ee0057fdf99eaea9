#include "tests/platform/TempFolder.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vxplatform-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::windowsPath(const std::string& name) const {
    std::string text = name.empty() ? path_.string() : (path_ / name).string();
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

void TempFolder::write(const std::string& name, const std::string& content) const {
    std::ofstream out(path_ / name, std::ios::binary);
    out << content;
}
