// The desktop's stand-in for the console's buttons: keyboard keys and a
// gamepad become joystick 0 button events numbered as the console's, so the
// menu, the help screen and the game handle one kind of event only.
#pragma once

#include <SDL.h>

class InputTranslator {
public:
    // Takes one event from SDL and queues what it stands for: zero, one or
    // two button events for input that stands for a button, the event itself
    // for anything else. With pad_open, joystick 0 is a real gamepad and its
    // raw events are translated; without, a joystick event can only have been
    // pushed by the program itself and already speaks in console buttons.
    void feed(const SDL_Event& raw, bool pad_open);

    // The oldest queued event; false when none is left.
    bool pop(SDL_Event* out);
    bool pending() const { return count_ > 0; }

    // The console button a key stands for, or -1. Direction keys are not
    // included: they combine into one direction button.
    static int button_for_key(SDLKey key);
    // The console button a gamepad button stands for, or -1.
    static int button_for_pad(int pad_button);

private:
    // Everything that can push the stick: each arrow and keypad key, the
    // pad's hat and its stick.
    enum { kKeySources = 12, kHat = kKeySources, kStick, kSources };
    struct DirectionSource {
        int dx = 0, dy = 0;
        unsigned long seqx = 0, seqy = 0;  // when each axis was last pushed
    };

    void set_direction(int source, int dx, int dy);
    void update_direction();
    void hold(int button, bool down);
    void release_keyboard();
    void emit(Uint8 type, int button);
    void push(const SDL_Event& event);

    DirectionSource sources_[kSources];
    unsigned long sequence_ = 0;
    int direction_ = -1;          // the direction button now held, or -1
    int holders_[20] = {};        // keys and pad buttons holding each button
    bool keyheld_[SDLK_LAST] = {};
    bool padheld_[32] = {};
    int stickx_ = 0, sticky_ = 0;

    SDL_Event queue_[32];
    int head_ = 0, count_ = 0;
};
