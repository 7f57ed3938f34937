// Where the level loader reports how far it has got. In the game the report
// repaints the loading screen (Sim::updatescreen); whatever loads a level
// without showing it, a checking tool say, listens in its own way.
#pragma once

class LoadProgress {
public:
    // progress 0 to 100, the line just read or a message; error: the level
    // is refused for the reason in message.
    virtual void report(int progress, const char* message, bool error) = 0;

protected:
    ~LoadProgress() = default;
};
