# Writes OUTPUT, a C++ source that holds the bytes of SCRIPT and STYLE (the
# runtime of the self-contained quiz) and serves them through
# StandaloneScript() and StandaloneStyle() (generator/StandaloneRuntime.h).
function(embedded_bytes file variable)
  file(READ ${file} hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  set(${variable} "${bytes}" PARENT_SCOPE)
endfunction()

embedded_bytes(${SCRIPT} script_bytes)
embedded_bytes(${STYLE} style_bytes)
file(WRITE ${OUTPUT} "// Generated from resources/standalone/quiz.js and quiz.css; do not edit.
#include \"generator/StandaloneRuntime.h\"

namespace {
const unsigned char kScript[] = {${script_bytes}};
const unsigned char kStyle[] = {${style_bytes}};
} // namespace

namespace tavimor {

std::string_view StandaloneScript()
{
    return std::string_view(reinterpret_cast<const char*>(kScript), sizeof kScript);
}

std::string_view StandaloneStyle()
{
    return std::string_view(reinterpret_cast<const char*>(kStyle), sizeof kStyle);
}

} // namespace tavimor
")
