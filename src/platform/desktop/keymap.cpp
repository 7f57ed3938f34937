#include "platform/desktop/keymap.h"

#include "platform/platform.h"

#include <cstring>

namespace {
// The keyboard: what a desktop player would guess, and what the help
// picture shows.
struct KeyButton {
    SDLKey key;
    int button;
};
const KeyButton kKeyButtons[] = {
    {SDLK_b, BUTTON_B},          {SDLK_SPACE, BUTTON_B},       {SDLK_RETURN, BUTTON_B},
    {SDLK_KP_ENTER, BUTTON_B},   {SDLK_a, BUTTON_A},           {SDLK_x, BUTTON_X},
    {SDLK_y, BUTTON_Y},          {SDLK_r, BUTTON_R},           {SDLK_ESCAPE, BUTTON_START},
    {SDLK_BACKSPACE, BUTTON_SELECT}, {SDLK_PLUS, BUTTON_VOLUP}, {SDLK_EQUALS, BUTTON_VOLUP},
    {SDLK_KP_PLUS, BUTTON_VOLUP}, {SDLK_PAGEUP, BUTTON_VOLUP},  {SDLK_MINUS, BUTTON_VOLDOWN},
    {SDLK_KP_MINUS, BUTTON_VOLDOWN}, {SDLK_PAGEDOWN, BUTTON_VOLDOWN},
};

// Keys that push the stick, in the order of the direction sources.
struct KeyDirection {
    SDLKey key;
    int dx, dy;
};
const KeyDirection kKeyDirections[] = {
    {SDLK_UP, 0, -1}, {SDLK_DOWN, 0, 1}, {SDLK_LEFT, -1, 0}, {SDLK_RIGHT, 1, 0},
    {SDLK_KP8, 0, -1}, {SDLK_KP2, 0, 1}, {SDLK_KP4, -1, 0}, {SDLK_KP6, 1, 0},
    {SDLK_KP7, -1, -1}, {SDLK_KP9, 1, -1}, {SDLK_KP1, -1, 1}, {SDLK_KP3, 1, 1},
};

// A gamepad in the common layout (Xbox-style pads as Linux reports them):
// the bottom face button confirms and the right one cancels, as on desktop
// pads; the top one starts the next wave; the shoulders step through the
// turret types; Back and Start are SELECT and START; the guide button and
// the stick clicks fold the sidebar.
const int kPadButtons[] = {
    BUTTON_B,       // 0: A (bottom)
    BUTTON_X,       // 1: B (right)
    BUTTON_A,       // 2: X (left)
    BUTTON_Y,       // 3: Y (top)
    BUTTON_VOLDOWN, // 4: left shoulder
    BUTTON_VOLUP,   // 5: right shoulder
    BUTTON_SELECT,  // 6: Back
    BUTTON_START,   // 7: Start
    BUTTON_R,       // 8: Guide
    BUTTON_R,       // 9: left stick click
    BUTTON_R,       // 10: right stick click
};
// Stick travel inside which the stick counts as centred (of 32767).
const int kDeadZone = 16000;

// The direction button for a push of (x, y), each -1, 0 or 1.
const int kButtonAt[3][3] = {
    {BUTTON_UPLEFT, BUTTON_UP, BUTTON_UPRIGHT},
    {BUTTON_LEFT, -1, BUTTON_RIGHT},
    {BUTTON_DOWNLEFT, BUTTON_DOWN, BUTTON_DOWNRIGHT},
};

int stick_axis(Sint16 value) { return value < -kDeadZone ? -1 : value > kDeadZone ? 1 : 0; }
}  // namespace

int InputTranslator::button_for_key(SDLKey key) {
    for (const KeyButton& k : kKeyButtons)
        if (k.key == key) return k.button;
    return -1;
}

int InputTranslator::button_for_pad(int pad_button) {
    const int n = static_cast<int>(sizeof kPadButtons / sizeof kPadButtons[0]);
    return pad_button >= 0 && pad_button < n ? kPadButtons[pad_button] : -1;
}

void InputTranslator::push(const SDL_Event& event) {
    const int capacity = static_cast<int>(sizeof queue_ / sizeof queue_[0]);
    if (count_ == capacity) return;  // cannot happen: one feed queues at most 11
    queue_[(head_ + count_) % capacity] = event;
    count_++;
}

bool InputTranslator::pop(SDL_Event* out) {
    if (count_ == 0) return false;
    const int capacity = static_cast<int>(sizeof queue_ / sizeof queue_[0]);
    *out = queue_[head_];
    head_ = (head_ + 1) % capacity;
    count_--;
    return true;
}

void InputTranslator::emit(Uint8 type, int button) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = type;
    event.jbutton.type = type;
    event.jbutton.which = 0;
    event.jbutton.button = static_cast<Uint8>(button);
    event.jbutton.state = type == SDL_JOYBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    push(event);
}

// Like the console's stick, only one direction button is down at a time:
// a change of direction releases the old button and presses the new one.
// On each axis the push made last wins, so left then right goes right, and
// letting go of right goes back to left.
void InputTranslator::set_direction(int source, int dx, int dy) {
    DirectionSource& s = sources_[source];
    if (dx != 0 && dx != s.dx) s.seqx = ++sequence_;
    if (dy != 0 && dy != s.dy) s.seqy = ++sequence_;
    s.dx = dx;
    s.dy = dy;
    update_direction();
}

void InputTranslator::update_direction() {
    int x = 0, y = 0;
    unsigned long latestx = 0, latesty = 0;
    for (const DirectionSource& d : sources_) {
        if (d.dx != 0 && d.seqx > latestx) {
            latestx = d.seqx;
            x = d.dx;
        }
        if (d.dy != 0 && d.seqy > latesty) {
            latesty = d.seqy;
            y = d.dy;
        }
    }
    int now = kButtonAt[y + 1][x + 1];
    if (now == direction_) return;
    if (direction_ >= 0) emit(SDL_JOYBUTTONUP, direction_);
    if (now >= 0) emit(SDL_JOYBUTTONDOWN, now);
    direction_ = now;
}

// Several keys may stand for one button (B, Space, Enter): it is down while
// any of them is.
void InputTranslator::hold(int button, bool down) {
    if (down) {
        if (holders_[button]++ == 0) emit(SDL_JOYBUTTONDOWN, button);
    } else if (holders_[button] > 0) {
        if (--holders_[button] == 0) emit(SDL_JOYBUTTONUP, button);
    }
}

// A window that loses the keyboard never hears of the keys let go
// meanwhile; releasing them keeps the cursor from running on by itself.
void InputTranslator::release_keyboard() {
    for (int k = 0; k < kKeySources; k++) sources_[k].dx = sources_[k].dy = 0;
    update_direction();
    for (int key = 0; key < SDLK_LAST; key++) {
        if (!keyheld_[key]) continue;
        keyheld_[key] = false;
        int button = button_for_key(static_cast<SDLKey>(key));
        if (button >= 0) hold(button, false);
    }
}

void InputTranslator::feed(const SDL_Event& raw, bool pad_open) {
    switch (raw.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        bool down = raw.type == SDL_KEYDOWN;
        SDLKey key = raw.key.keysym.sym;
        for (int k = 0; k < kKeySources; k++) {
            if (kKeyDirections[k].key == key) {
                if (down)
                    set_direction(k, kKeyDirections[k].dx, kKeyDirections[k].dy);
                else
                    set_direction(k, 0, 0);
                return;
            }
        }
        int button = button_for_key(key);
        if (button < 0 || key < 0 || key >= SDLK_LAST) {
            push(raw);  // not a console button: the help screen still counts it as a key
            return;
        }
        if (keyheld_[key] == down) return;  // a repeat, or the release of a key we never saw go down
        keyheld_[key] = down;
        hold(button, down);
        return;
    }
    case SDL_ACTIVEEVENT:
        if (!raw.active.gain && (raw.active.state & SDL_APPINPUTFOCUS)) release_keyboard();
        push(raw);
        return;
    case SDL_JOYAXISMOTION:
    case SDL_JOYHATMOTION:
    case SDL_JOYBALLMOTION:
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        if (!pad_open) {
            push(raw);
            return;
        }
        break;
    default:
        push(raw);
        return;
    }

    // A raw gamepad event: never passed on, only what it stands for.
    if (raw.type == SDL_JOYAXISMOTION && raw.jaxis.which == 0) {
        if (raw.jaxis.axis == 0) stickx_ = stick_axis(raw.jaxis.value);
        if (raw.jaxis.axis == 1) sticky_ = stick_axis(raw.jaxis.value);
        if (raw.jaxis.axis <= 1) set_direction(kStick, stickx_, sticky_);
    } else if (raw.type == SDL_JOYHATMOTION && raw.jhat.which == 0 && raw.jhat.hat == 0) {
        Uint8 v = raw.jhat.value;
        int x = (v & SDL_HAT_RIGHT) ? 1 : (v & SDL_HAT_LEFT) ? -1 : 0;
        int y = (v & SDL_HAT_DOWN) ? 1 : (v & SDL_HAT_UP) ? -1 : 0;
        set_direction(kHat, x, y);
    } else if ((raw.type == SDL_JOYBUTTONDOWN || raw.type == SDL_JOYBUTTONUP) && raw.jbutton.which == 0) {
        int pad = raw.jbutton.button;
        int button = button_for_pad(pad);
        bool down = raw.type == SDL_JOYBUTTONDOWN;
        if (button < 0 || pad >= static_cast<int>(sizeof padheld_) || padheld_[pad] == down) return;
        padheld_[pad] = down;
        hold(button, down);
    }
}
