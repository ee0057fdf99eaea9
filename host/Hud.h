// The HUD area the host hands to VESSEL2::clbkDrawHUD.
#pragma once

struct HUDPAINTSPEC {
    int W;          // width of the HUD area, pixels
    int H;          // height of the HUD area, pixels
    int CX;         // x of the HUD centre, pixels
    int CY;         // y of the HUD centre, pixels
    double Scale;   // pixels per degree of view
    int Markersize; // size of the host's markers, pixels
};
