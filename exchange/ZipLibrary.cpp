#include "exchange/ZipLibrary.h"

#include "base/Errors.h"

#include <dlfcn.h>

#include <string>

namespace tavimor {
namespace {

// The library whose header the project is built with, by its shared-object
// name (found by the build next to that header's library).
constexpr const char* kSoname = TAVIMOR_LIBZIP_SONAME;

template <class Function> void Bind(void* library, Function& function, const char* name)
{
    void* const address = ::dlsym(library, name);
    if (address == nullptr)
        throw Error(std::string("ZIP: ") + kSoname + " has no " + name);
    function = reinterpret_cast<Function>(address);
}

ZipLibrary Load()
{
    // Never closed: the entry points stay valid for the rest of the run.
    void* const library = ::dlopen(kSoname, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        throw Error(std::string("ZIP: ") + kSoname + " cannot be loaded");
    ZipLibrary zip {};
    Bind(library, zip.error_init, "zip_error_init");
    Bind(library, zip.error_strerror, "zip_error_strerror");
    Bind(library, zip.source_buffer_create, "zip_source_buffer_create");
    Bind(library, zip.source_keep, "zip_source_keep");
    Bind(library, zip.source_free, "zip_source_free");
    Bind(library, zip.open_from_source, "zip_open_from_source");
    Bind(library, zip.source_buffer, "zip_source_buffer");
    Bind(library, zip.file_add, "zip_file_add");
    Bind(library, zip.get_error, "zip_get_error");
    Bind(library, zip.close, "zip_close");
    Bind(library, zip.discard, "zip_discard");
    Bind(library, zip.source_stat, "zip_source_stat");
    Bind(library, zip.source_open, "zip_source_open");
    Bind(library, zip.source_read, "zip_source_read");
    Bind(library, zip.source_close, "zip_source_close");
    Bind(library, zip.source_error, "zip_source_error");
    return zip;
}

} // namespace

const ZipLibrary& ZipLibrary::Get()
{
    // A failed load throws out of the initialisation, which the next call tries again.
    static const ZipLibrary zip = Load();
    return zip;
}

} // namespace tavimor
