// The loading screen is drawn by Sim::updatescreen (game/sim.h).
#pragma once

// Called at the start of every Sim::updatescreen with its arguments, before
// anything is drawn; null in the game. The loader's tests watch the progress
// reports through it, since each call repaints the screen of the one before.
extern void (*loading_screen_watch)(int progress, const char* message, bool error);
