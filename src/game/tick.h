// The per-kind updates of one tick's pass over the object list. Each gets
// the index of the object it handles; the bullet update lowers it when it
// removes objects at or before that index, so the pass skips nothing.
#pragma once

class MonsterGrid;
class Sim;

// False when this monster's escape has used up the last life.
bool monster_update(Sim& sim, int i);
// Both find monsters through the grid, and mark it stale when they remove one.
void turret_update(Sim& sim, int i, MonsterGrid& grid);
void bullet_update(Sim& sim, int& i, MonsterGrid& grid);
