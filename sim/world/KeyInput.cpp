// A key pressed and released on the focus vessel, with the modifier keys held as the key
// names them.
#include <array>
#include <string>

#include "host/Keys.h"
#include "sim/world/EventKinds.h"
#include "sim/world/VesselCallbacks.h"
#include "sim/world/World.h"

namespace vx {

int World::pressKey(const KeySpec& key) {
    std::array<char, VXK_STATE_SIZE> state{};
    const auto hold = [&state](bool held, std::uint32_t code) {
        if (held) {
            state[code] = static_cast<char>(0x80);
        }
    };
    hold(key.leftShift, VXK_LSHIFT);
    hold(key.rightShift, VXK_RSHIFT);
    hold(key.leftCtrl, VXK_LCONTROL);
    hold(key.rightCtrl, VXK_RCONTROL);

    int result = 0;
    {
        Dispatch dispatch(*this);
        VesselRecord* vessel = focus_;
        if (VESSEL2* callbacks = vessel != nullptr ? callbacksOf(*vessel) : nullptr) {
            ModuleCallScope guard(allocationsOf(*vessel), GuardedCallback::Key);
            result = callbacks->clbkConsumeBufferedKey(key.code, true, state.data());
            // The key handler may have deleted the vessel or moved the focus away.
            if (vessel->alive && vessel->iface != nullptr) {
                callbacks->clbkConsumeBufferedKey(key.code, false, state.data());
            }
        }
    }
    emit(events::kKey, key.text + " -> " + std::to_string(result));
    reportDebugLine();
    return result;
}

} // namespace vx
