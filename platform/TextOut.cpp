// TextOutA on systems that are not Windows: the host's HUD surface decides what a drawn text
// becomes; this only checks the arguments a Windows device context would refuse.
#include "platform/HudSurface.h"
#include "platform/WinApi.h"

BOOL TextOutA(HDC dc, int x, int y, const char* text, int length) {
    if (dc == nullptr || dc->textOut == nullptr || length < 0) {
        return FALSE;
    }
    if (length > 0 && text == nullptr) {
        return FALSE;
    }
    dc->textOut(dc, x, y, text, length);
    return TRUE;
}
