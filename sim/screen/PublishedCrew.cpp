#include "sim/screen/PublishedCrew.h"

#include <cstring>

namespace vx {

PublishedCrew readPublishedCrew(const VESSEL& vessel) {
    PublishedCrew crew;
    const unsigned int count = vessel.AttachmentCount(false);
    for (unsigned int i = 0; i < count; ++i) {
        ATTACHMENTHANDLE point = vessel.GetAttachmentHandle(false, i);
        const char* id = vessel.GetAttachmentId(point);
        // All five bytes, the terminating zero too: "CKit2" is not a crew point.
        if (id == nullptr || std::strcmp(id, "CKit") != 0) {
            continue;
        }
        VECTOR3 pos{}, dir{}, rot{};
        vessel.GetAttachmentParams(point, pos, dir, rot);
        crew.published = true;
        crew.open = rot.x != 0.0;
        crew.freeSeats = static_cast<int>(rot.z);
        const double box[6] = {pos.x, pos.y, pos.z, dir.x, dir.y, dir.z};
        std::memcpy(crew.box, box, sizeof box);
        return crew;
    }
    return crew;
}

} // namespace vx
