// Opaque handles the host gives out. Each is a pointer to something only the host knows;
// null always means "none". A handle stays unique for the whole run: a deleted object's
// handle is never handed out again.
#pragma once

struct VxObject;
struct VxDock;
struct VxAttachment;
struct VxScenarioFile;
struct VxAnimationComponent;

using OBJHANDLE = VxObject*;                             // a vessel (or the body)
using DOCKHANDLE = VxDock*;                              // one docking port of a vessel
using ATTACHMENTHANDLE = VxAttachment*;                  // one attachment point
using FILEHANDLE = VxScenarioFile*;                      // a scenario or class file
using ANIMATIONCOMPONENT_HANDLE = VxAnimationComponent*; // one component of an animation
