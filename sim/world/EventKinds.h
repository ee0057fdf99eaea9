// The kinds of event the world reports, as the transcript names them: one table for the host
// that reports them and for what `vxsim help transcript` shows.
#pragma once

namespace vx::events {

inline constexpr char kVesselCreated[] = "vessel+";
inline constexpr char kVesselDeleted[] = "vessel-";
inline constexpr char kFocus[] = "focus";
inline constexpr char kKey[] = "key";
inline constexpr char kHud[] = "hud";
inline constexpr char kDebug[] = "debug";
inline constexpr char kLog[] = "log";
inline constexpr char kDock[] = "dock";
inline constexpr char kUndock[] = "undock";
inline constexpr char kSave[] = "save";

struct Kind {
    const char* name; // as the transcript shows it
    const char* when; // what brings it
    const char* text; // what follows "KIND: "
};

inline constexpr Kind kKinds[] = {
    {kVesselCreated, "a vessel is created", "NAME (CLASS)"},
    {kVesselDeleted, "a vessel is deleted", "NAME"},
    {kFocus, "the focus changes", "NAME"},
    {kKey, "a key is sent", "KEY -> RESULT (what the vessel gave back on the key going down)"},
    {kHud, "the focus vessel's HUD differs from the last frame's",
     "NAME (X,Y) TEXT, one line a text drawn; NAME - when nothing is drawn"},
    {kDebug, "the debug line changed", "the line, or - when it became empty"},
    {kLog, "a vessel wrote the host's log", "the line"},
    {kDock, "a dock is made", "A PORT B PORT"},
    {kUndock, "a dock is broken", "A PORT"},
    {kSave, "a scenario was saved", "the file, as the script named it"},
};

} // namespace vx::events
