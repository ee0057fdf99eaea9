// What the installed crew library runtime provides, by name. Paths are relative to the
// host's working folder and written with backslashes, as the runtime defines them.
#pragma once

namespace crewkit {

inline constexpr char kModuleFile[] = "modules\\CKit.dll";      // its vessel class's module
inline constexpr char kVersionFile[] = "meshes\\CKit\\ver.dtf"; // first line: the version
inline constexpr char kIdentityPattern[] = "config\\CKITIdConfig\\*.cfg"; // identity files
inline constexpr char kEvaExchangeFile[] = "config\\CKittmp.cfg";         // read by walkers
inline constexpr char kTransferExchangeFile[] = "config\\CKittmpT.cfg";   // read by receivers
inline constexpr char kVesselClass[] = "CKit";         // class of walking and transfer vessels
inline constexpr char kCrewPointId[] = "CKit";         // crew attachment point, for children
inline constexpr char kCrewDataPointId[] = "C-Ki";     // crew data point, for parents
inline constexpr char kEvaNamePrefix[] = "CKit_";      // walking person: prefix + label
inline constexpr char kTransferNamePrefix[] = "CKitT"; // transfer vessel: prefix + receiver
inline constexpr float kRequiredVersion = 2.0f;        // oldest runtime counted as current

} // namespace crewkit
