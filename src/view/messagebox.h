// The three-line message ticker in the bottom-left corner of the game screen.
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
