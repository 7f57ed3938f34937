// The message ticker's queue and timing: lines rise in from below, stand for
// a time that grows with their length, and the oldest slides out to the left.
#include "game/messagebox.h"

#include <climits>
#include <cstring>

namespace {
const int kCopySize = 200;   // a copy holds 199 characters and the terminator
const size_t kMaxShown = 3;
}  // namespace

Messagebox box;

Messagebox::~Messagebox() { clear(); }

void Messagebox::add(const char* text) {
    char* copy = new char[kCopySize];
    // Longer texts are cut: the ticker shows a line, not a paragraph.
    size_t len = text ? strnlen(text, kCopySize - 1) : 0;
    if (len > 0) std::memcpy(copy, text, len);
    copy[len] = '\0';
    waiting.push(copy);
}

void Messagebox::clear() {
    for (char* line : lines) delete[] line;
    lines.clear();
    while (!waiting.empty()) {
        delete[] waiting.front();
        waiting.pop();
    }
    animating = false;
    incoming = false;
    anim = 0.0;
}

void Messagebox::step() {
    // Held below INT_MAX: the box counts on through a whole game without
    // messages.
    if (timer < INT_MAX) timer += 1;

    // A new line has priority over the oldest one leaving.
    if (!waiting.empty() && !animating && lines.size() < kMaxShown) {
        lines.push_back(waiting.front());
        waiting.pop();
        animating = true;
        incoming = true;
        anim = 0.0;
    }

    if (!animating && !lines.empty()) {
        double len = static_cast<double>(std::strlen(lines[0]));
        double shown = len / (0.25 * static_cast<double>(lines.size()));
        if (timer > shown) {
            anim = 0.0;
            animating = true;
        }
    }

    if (animating) {
        anim += 0.05;
        if (anim >= 1.0) {
            if (!incoming) {
                delete[] lines[0];
                lines.erase(lines.begin());
            }
            timer = 0;
            incoming = false;
            animating = false;
            anim = 0.0;
        }
    }
}
