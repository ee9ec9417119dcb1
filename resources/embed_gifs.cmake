# Writes OUTPUT, a C++ source that holds the bytes of every file in INPUTS
# and serves them through EmbeddedGifs(), found by base name without regard to case.
set(body "// Generated from resources/*.gif; do not edit.\n#include \"resources/EmbeddedGifs.h\"\n\n#include <algorithm>\n#include <array>\n#include <cctype>\n\nnamespace {\n")
set(table "")
set(count 0)
foreach(input IN LISTS INPUTS)
  get_filename_component(name ${input} NAME_WE)
  file(READ ${input} hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND body "const unsigned char gif${count}[] = {${bytes}};\n")
  string(APPEND table "    tavimor::EmbeddedGif{\"${name}\", std::string_view(reinterpret_cast<const char*>(gif${count}), sizeof gif${count})},\n")
  math(EXPR count "${count} + 1")
endforeach()
string(APPEND body "
const std::array<tavimor::EmbeddedGif, ${count}> kGifs{{
${table}}};

bool SameNameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

class EmbeddedGifSource final : public tavimor::GifSource {
public:
    std::optional<std::string_view> Find(std::string_view name) const override
    {
        for (const auto& gif : kGifs)
            if (SameNameIgnoringCase(gif.name, name))
                return gif.bytes;
        return std::nullopt;
    }
};

} // namespace

namespace tavimor {

const GifSource& EmbeddedGifs()
{
    static const EmbeddedGifSource source;
    return source;
}

std::span<const EmbeddedGif> EmbeddedGifList()
{
    return kGifs;
}

} // namespace tavimor
")
file(WRITE ${OUTPUT} "${body}")
