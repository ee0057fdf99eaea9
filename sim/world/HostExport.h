// How the stand-in host's own tool interface (the world, for vxsim and the tests) leaves the
// library. Everything not marked here or with VXAPI stays inside libvxhost.
#pragma once

#if defined(_WIN32)
#ifdef VXHOST_BUILD
#define VXHOST_API __declspec(dllexport)
#else
#define VXHOST_API __declspec(dllimport)
#endif
#else
#define VXHOST_API __attribute__((visibility("default")))
#endif
