// Everything a vessel module needs of the host, in one include.
#pragma once

#include "host/Animation.h"
#include "host/CrewKit.h"
#include "host/Export.h"
#include "host/Geometry.h"
#include "host/Handles.h"
#include "host/Hud.h"
#include "host/Keys.h"
#include "host/Module.h"
#include "host/Vapi.h"
#include "host/Vessel.h"
#include "host/Vessel2.h"
#include "host/VesselStatus.h"
