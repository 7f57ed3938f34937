// The per-kind updates of one tick's pass over the object list. Each gets
// the index of the object it handles; the bullet update lowers it when it
// removes objects at or before that index, so the pass skips nothing.
#pragma once

class Sim;

// False when this monster's escape has used up the last life.
bool monster_update(Sim& sim, int i);
void turret_update(Sim& sim, int i);
void bullet_update(Sim& sim, int& i);
