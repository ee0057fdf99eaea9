// The surface behind an HDC on systems that are not Windows. The host owns it; TextOutA only
// forwards to it, so the host decides what a drawn text becomes.
#pragma once

#ifndef _WIN32
struct HudSurface {
    // Called for every TextOutA on this surface; text holds length bytes, not terminated.
    void (*textOut)(HudSurface* self, int x, int y, const char* text, int length);
};
#endif
