// The three-line message ticker in the bottom-left corner of the game screen.
// The game announces through it (add); the lines rise in, stand for a time
// that grows with their length and slide out (step). Drawing them is the
// view's part: render is defined in view/messagebox_render.cpp.
#pragma once

#include <queue>
#include <vector>

class Messagebox {
public:
    std::vector<char*> lines;      // shown lines, oldest first, at most 3
    std::queue<char*> waiting;     // added and not yet shown
    double anim = 0.0;             // progress of the running slide, 0 to 1
    int timer = 0;                 // steps since the last slide ended
    bool animating = false;        // a slide is running
    bool incoming = false;         // the slide brings a line in (else takes the oldest out)

    Messagebox() = default;
    ~Messagebox();
    Messagebox(const Messagebox&) = delete;
    Messagebox& operator=(const Messagebox&) = delete;

    // Copies text (cut to 199 characters) and queues the copy.
    void add(const char* text);
    void clear();
    void step();
    void render();
};

// The game's one message box. Constructed after the standard streams, so it
// outlives nothing that prints; destroyed at normal process exit, which only
// happens when the console menu could not be started.
extern Messagebox box;
