// libzip, loaded the first time an archive is written. Linked in, it would
// bring the system's crypto library into every program of the project, whose
// loading costs each start about a millisecond, for the SCORM package that
// most runs never write. The entry points keep libzip's own types, so that a
// call is checked against its header as a linked call would be.
#pragma once

#include <zip.h>

namespace tavimor {

struct ZipLibrary {
    decltype(&::zip_error_init) error_init;
    decltype(&::zip_error_strerror) error_strerror;
    decltype(&::zip_source_buffer_create) source_buffer_create;
    decltype(&::zip_source_keep) source_keep;
    decltype(&::zip_source_free) source_free;
    decltype(&::zip_open_from_source) open_from_source;
    decltype(&::zip_source_buffer) source_buffer;
    decltype(&::zip_file_add) file_add;
    decltype(&::zip_get_error) get_error;
    decltype(&::zip_close) close;
    decltype(&::zip_discard) discard;
    decltype(&::zip_source_stat) source_stat;
    decltype(&::zip_source_open) source_open;
    decltype(&::zip_source_read) source_read;
    decltype(&::zip_source_close) source_close;
    decltype(&::zip_source_error) source_error;

    // The library, loaded on the first call; Error("ZIP: ...") naming what
    // is missing when it cannot be loaded.
    static const ZipLibrary& Get();
};

} // namespace tavimor
