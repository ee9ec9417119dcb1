// Where the page set finds the bytes of a built-in GIF image.
#pragma once

#include <optional>
#include <string_view>

namespace tavimor {

class GifSource {
public:
    virtual ~GifSource() = default;
    // The bytes of the image called name (matched without regard to case), if any.
    virtual std::optional<std::string_view> Find(std::string_view name) const = 0;
};

} // namespace tavimor
