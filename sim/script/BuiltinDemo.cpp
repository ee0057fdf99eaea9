#include "sim/script/BuiltinDemo.h"

// The same texts as scenarios/demo.scn and tests/e2e/colony/demo.vxs; the end-to-end tests
// check that the three agree.
namespace vx {

std::string_view builtinDemoScenario() {
    return R"(# The demo: the colony in orbit with a tender docked at its dock 0 (the tender's dock 0 to the
# colony's dock 0). The twelve founders are in the Spacedock and the tender's pilot in her seat.
BEGIN_WORLD
  TIME 0
  BODY Earth 6371000 3.986004418e14
  FOCUS Halcyra
  HUDSIZE 1024 768
END_WORLD
BEGIN_VESSEL halcyra Halcyra
  POS 7000000 0 0
  VEL 0 7546.0 0
  ORI 0 0 0
  AVEL 0 0 0
  STATUS FLIGHT
  DOCK 0 0 Tender
  CKITCREW Capt-Governer_Vasko-41-65-74
  CKITCREW Eng-Marietta_Vasko-37-67-55
  CKITCREW Doc-Tobiah_Renart-29-70-45
  CKITCREW Sci-Kenta_Morisawa-25-70-45
  CKITCREW -Olef_Brandt-19-70-45
  CKITCREW -Duma_Okaro-32-70-45
  CKITCREW -WeiLin_Tsao-61-70-45
  CKITCREW -Lucien_Marrot-48-70-45
  CKITCREW Eng-Siobha_Carrick-31-70-45
  CKITCREW -Matthias_Petrovan-38-70-45
  CKITCREW -Anselm_Varadi-26-70-45
  CKITCREW Eng-Nerea_Castelli-23-70-45
END_VESSEL
BEGIN_VESSEL Tender Tender
  POS 7000081.74 189.56 21704.4
  VEL 0 7546.0 0
  ORI 0 180 0
  AVEL 0 0 0
  STATUS FLIGHT
  CKITCREW Pil-Ilsa_Brandvik-34-68-62
END_VESSEL
)";
}

std::string_view builtinDemoScript() {
    return R"(# The road of one EVA and return, then a transfer into the tender and back, then a save.
dt 0.1
step
key s
step
# The tender casts off, so the selected member leaves on foot.
undock Halcyra 0
key 1
step
key e
step
# Walk her back into the airlock: she stepped out to 1 m beyond it.
focus CKit_Eng-Marietta_Vasko
step
key down
key down
key down
run 0.5
# The tender docks again, and a member crosses into it and back.
dock Halcyra 0 Tender 0
key 1
key 1
step
key e
run 0.5
focus Tender
step
key 1
step
key e
step
# Back on the colony, which takes him in at its next arrival scan.
focus Halcyra
run 0.5
key s
step
save demo-saved.scn
)";
}

} // namespace vx
