#include "tests/property/PropertyRoot.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>

namespace colonycheck {

PropertyRoot::PropertyRoot() : started_(std::filesystem::current_path()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "vx-property-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        return;
    }
    root_ = pattern;
    std::error_code error;
    std::filesystem::create_directory_symlink(VX_MODULE_DIR, root_ / "modules", error);
    std::filesystem::create_directories(root_ / "config" / "CKITIdConfig", error);
    std::filesystem::create_directories(root_ / "meshes" / "CKit", error);
    std::ofstream(root_ / "meshes" / "CKit" / "ver.dtf") << "2.0\n";
    std::filesystem::current_path(root_, error);
    ready_ = !error && std::filesystem::exists(root_ / "meshes" / "CKit" / "ver.dtf");
}

PropertyRoot::~PropertyRoot() {
    std::error_code ignored;
    std::filesystem::current_path(started_, ignored);
    if (!root_.empty()) {
        std::filesystem::remove_all(root_, ignored);
    }
}

bool LoadDemo(vx::ScenarioDoc& doc, std::string& error) {
    std::ifstream in(VX_DEMO_SCENARIO, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    if (!in) {
        error = std::string("cannot read ") + VX_DEMO_SCENARIO;
        return false;
    }
    return vx::parseScenarioText(text.str(), "demo.scn", doc, error);
}

} // namespace colonycheck
