// The nine GIF images built into the program (drawn by resources/draw_images.py).
#pragma once

#include "generator/GifSource.h"

#include <span>
#include <string_view>

namespace tavimor {

struct EmbeddedGif {
    std::string_view name; // as the file is named in resources/, without ".gif"
    std::string_view bytes;
};

// The built-in images, found by name without regard to case.
const GifSource& EmbeddedGifs();
std::span<const EmbeddedGif> EmbeddedGifList();

} // namespace tavimor
