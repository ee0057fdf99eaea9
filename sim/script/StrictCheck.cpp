#include "sim/script/StrictCheck.h"

#include <cinttypes>
#include <cstdio>

namespace vx {

bool strictCheckPasses(const ClassRegistry& classes, std::string_view where) {
    if (classes.moduleAllocations() == 0) {
        return true;
    }
    classes.forEachAllocation(
        [where](const std::string& name, GuardedCallback callback, std::uint64_t count) {
            std::fprintf(stderr, "%.*s: strict: class '%s' allocated %" PRIu64 " time%s in %s\n",
                         static_cast<int>(where.size()), where.data(), name.c_str(), count,
                         count == 1 ? "" : "s", guardedCallbackName(callback));
        });
    return false;
}

} // namespace vx
