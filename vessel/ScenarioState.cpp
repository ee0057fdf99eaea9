// The colony's scenario block: the host's own vessel lines, then the crew lines. Nothing else
// of the colony is kept; rotations, selection and HUD start afresh on every load.
#include "host/Vantrix.h"
#include "vessel/Halcyra.h"

void halcyra::clbkSaveState(FILEHANDLE scn) {
    SaveDefaultState(scn);
    crew.SaveCrewState(scn);
}

void halcyra::clbkLoadStateEx(FILEHANDLE scn, void* status) {
    char* line = nullptr;
    while (vapiReadScenario_nextline(scn, line)) {
        // The crew manager sees every line first; the host reads what it leaves.
        if (crew.ParseCrewScenarioLine(line) != 1) {
            ParseScenarioLineEx(line, status);
        }
    }
}
