#include "sim/world/ClassRegistry.h"

#include <cstdio>

#include "sim/text/TextWords.h"
#include "sim/world/ModuleLibrary.h"

namespace vx {

ClassRegistry::ClassRegistry(std::string moduleFolder) : moduleFolder_(std::move(moduleFolder)) {}

ClassRegistry::~ClassRegistry() {
    clear();
}

void ClassRegistry::add(std::string_view name, VesselInitFunc init, VesselExitFunc exit) {
    auto entry = std::make_unique<VesselClass>();
    entry->name = std::string(name);
    entry->init = init;
    entry->exit = exit;
    classes_[std::string(name)] = std::move(entry);
}

std::string ClassRegistry::modulePath(std::string_view name) const {
    return moduleFolder_ + "/" + std::string(name) + ".dll";
}

const VesselClass* ClassRegistry::find(std::string_view name, std::string* reason) {
    if (auto found = classes_.find(name); found != classes_.end()) {
        return found->second.get();
    }
    auto fail = [&](std::string why) -> const VesselClass* {
        if (reason != nullptr) {
            *reason = std::move(why);
        }
        return nullptr;
    };
    // A class name is a file name here: nothing that could leave the modules folder.
    if (name.empty() || name.find_first_of("/\\") != std::string_view::npos) {
        return fail("no vessel class " + text::quoted(name));
    }
    const std::string path = modulePath(name);
    if (std::FILE* probe = std::fopen(path.c_str(), "rb"); probe != nullptr) {
        std::fclose(probe);
    } else {
        return fail("vessel class " + text::quoted(name) + ": no module file " + path);
    }
    auto library = std::make_unique<ModuleLibrary>();
    std::string why;
    if (!library->open(path, why)) {
        return fail("vessel class " + text::quoted(name) + ": " + why);
    }
    // Through the generic function pointer type, which any function pointer may become.
    auto init = reinterpret_cast<VesselInitFunc>(
        reinterpret_cast<void (*)()>(library->symbol(kVesselInitExport)));
    auto exit = reinterpret_cast<VesselExitFunc>(
        reinterpret_cast<void (*)()>(library->symbol(kVesselExitExport)));
    if (init == nullptr || exit == nullptr) {
        return fail("vessel class " + text::quoted(name) + ": " + path +
                    " does not export vvcInit and vvcExit");
    }
    auto entry = std::make_unique<VesselClass>();
    entry->name = std::string(name);
    entry->init = init;
    entry->exit = exit;
    entry->library = std::move(library);
    const VesselClass* result = entry.get();
    classes_[std::string(name)] = std::move(entry);
    return result;
}

void ClassRegistry::clear() {
    classes_.clear();
}

} // namespace vx
