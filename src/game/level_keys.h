// The keys of level.txt, for whatever needs their names: the level checker
// suggests the nearest one for a misspelt line.
#pragma once

// The keys in the order the loader tests them, then null.
const char* level_key_name(int i);
