// Where the level loader reports how far it has got, and what it met on the
// way. In the game the report repaints the loading screen (Sim::updatescreen)
// and the rest is only logged; the level checker listens to all of it, to
// tell the author every problem of a file with its line.
#pragma once

// What the loader met on a line besides the key lines it took.
enum class LevelProblem {
    LineTooLong,      // longer than a line may be: skipped
    NeedsRecord,      // a property before any record of its kind: skipped; subject "NewBullet", ...
    UnknownLine,      // no class and no key: skipped
    UnknownEffect,    // BulletEffect neither "Slow" nor empty: ignored; subject the value
    UnknownImmunity,  // MonsterImmunity names no bullet type and not Slow; subject the name
    UnknownBullet,    // TurretBullet names no bullet type; subject the name
    Refused,          // a reason the level cannot be played; the first one is the one reported
};

class LoadProgress {
public:
    // progress 0 to 100, the line just read or a message; error: the level
    // is refused for the reason in message.
    virtual void report(int progress, const char* message, bool error) = 0;

    // A line the loader took: a record-opening line (key "NewBullet" and the
    // like, value "") or a key line with its value as cut, before the key
    // takes effect. tilechar is a Tile line's map character.
    virtual void line_taken(int /*line*/, const char* /*key*/, const char* /*value*/, char /*tilechar*/) {}

    // A warning or a refusal on a line (0: the whole file). text is the line
    // as read (the value only, once cut), subject as above, message what the
    // game logs or, for a refusal, the reason.
    virtual void problem(int /*line*/, LevelProblem /*kind*/, const char* /*text*/, const char* /*subject*/,
                         const char* /*message*/) {}

protected:
    ~LoadProgress() = default;
};
