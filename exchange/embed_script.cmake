# Writes OUTPUT, a C++ source whose function FUNCTION (namespace tavimor)
# returns the text of INPUT byte for byte, so that the program carries the
# script it writes into packages.
file(READ ${INPUT} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
get_filename_component(name ${INPUT} NAME)
file(WRITE ${OUTPUT} "// Generated from ${name}; do not edit.
#include <string_view>

namespace tavimor {
namespace {
const unsigned char kText[] = {${bytes}};
} // namespace

std::string_view ${FUNCTION}()
{
    return std::string_view(reinterpret_cast<const char*>(kText), sizeof kText);
}

} // namespace tavimor
")
