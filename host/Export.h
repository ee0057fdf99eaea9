// How names cross the boundary between the host and the modules it loads.
#pragma once

#if defined(_WIN32)
#ifdef VXHOST_BUILD
#define VXAPI __declspec(dllexport)
#else
#define VXAPI __declspec(dllimport)
#endif
// A module's exports: C linkage, so that 32-bit Windows gives them plain, undecorated names.
#define DLLCLBK extern "C" __declspec(dllexport)
#else
#define VXAPI __attribute__((visibility("default")))
#define DLLCLBK extern "C" __attribute__((visibility("default")))
#endif
