// A Canyon game in full swing, built for measuring: the bundled level as the
// loader reads it, T turrets on the buildable cells nearest the trail and M
// monsters spread evenly along it. Nobody dies and escapes cost nothing, so
// the field stays as busy as it starts however long it runs.
#pragma once

#include "game/sim.h"

#include <memory>

// Needs the screen and the sine table; runs in the run directory.
std::unique_ptr<Sim> busy_canyon(int turrets, int monsters);
