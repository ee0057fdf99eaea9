#include "sim/screen/SaveTarget.h"

namespace vx {

SaveTarget saveTargetFor(const std::filesystem::path& start, const std::string& scenario) {
    if (scenario.empty()) {
        return {start, start / "demo-saved.scn"};
    }
    std::filesystem::path loaded(scenario);
    if (loaded.is_relative()) {
        loaded = start / loaded;
    }
    const std::string extension = loaded.has_extension() ? loaded.extension().string() : ".scn";
    return {start, loaded.parent_path() / (loaded.stem().string() + "-saved" + extension)};
}

} // namespace vx
