#include "platform/desktop/keymap.h"
#include "platform/platform.h"

namespace {
InputTranslator translator;
}  // namespace

int platform_poll_event(SDL_Event* event) {
    if (event == nullptr) return translator.pending() || SDL_PollEvent(nullptr);
    for (;;) {
        if (translator.pop(event)) return 1;
        SDL_Event raw;
        if (!SDL_PollEvent(&raw)) return 0;
        translator.feed(raw, SDL_JoystickOpened(0) != 0);
    }
}
