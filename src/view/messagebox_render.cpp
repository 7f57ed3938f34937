// Drawing the message ticker: each line at its place in the running slide.
#include "game/messagebox.h"

#include "gfx/font.h"
#include "gfx/screen.h"
#include "gfx/text_picture.h"

#include <cstring>

void Messagebox::render() {
    // The lines stand still or slide for some hundred frames each: they are
    // kept as pictures, one more than are shown, for the line that rises in.
    static TextPictures& pictures = *new TextPictures(4);
    const int n = static_cast<int>(lines.size());  // at most 3
    for (int i = 0; i < n; i++) {
        double x = 0.0;
        double y;
        if (animating && incoming) {
            // Every line rises with the new one, which comes up from below.
            y = height - kGlyphHeight * anim - kGlyphHeight * (n - 1 - i);
        } else {
            y = height - kGlyphHeight * (n - i);
            if (i == 0 && animating)
                x = -kGlyphWidth * anim * static_cast<double>(std::strlen(lines[0]));
        }
        pictures.draw(static_cast<float>(x), static_cast<float>(y), lines[i]);
    }
}
