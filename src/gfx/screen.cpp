#include "gfx/screen.h"

SDL_Surface* screen = nullptr;
int width = kScreenWidth;
int height = kScreenHeight;

void update_screen() { SDL_UpdateRect(screen, 0, 0, kScreenWidth, kScreenHeight); }
