// Feeds arbitrary bytes, as the content of the settings file, to the settings
// reader, then writes changed settings over that same file, as the editor does
// at exit, and reads them back: every key must come back as written whatever
// else the file held.
#include "base/Errors.h"
#include "platform/AppSettings.h"
#include "scratch_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <tuple>

namespace {

auto Fields(const tavimor::AppSettings& s)
{
    return std::tie(s.Professeur, s.EMail, s.Institut, s.BaseURL, s.EPgTitle, s.EPgCmnt, s.RPgTitle, s.RPgCmnt,
        s.SaveID, s.AutoLoad, s.SaveTitle, s.FullPalette, s.LastFileName, s.RegisterFType, s.CertInd, s.TLabel,
        s.ResumLab);
}

// Other values for every key, derived from those read.
tavimor::AppSettings Changed(tavimor::AppSettings s)
{
    for (std::string* text : {&s.Professeur, &s.EMail, &s.Institut, &s.BaseURL, &s.EPgTitle, &s.EPgCmnt, &s.RPgTitle,
             &s.RPgCmnt, &s.LastFileName, &s.TLabel, &s.ResumLab})
        *text = text->size() % 2 == 0 ? *text + "; x=\xE9" : std::string();
    for (bool* flag : {&s.SaveID, &s.AutoLoad, &s.SaveTitle, &s.FullPalette, &s.RegisterFType, &s.CertInd})
        *flag = !*flag;
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const tavimor::fuzz::ScratchFile settingsFile(".ini");
    settingsFile.Write(data, size);
    const tavimor::AppSettings read = tavimor::ReadSettings(settingsFile.Path());

    const tavimor::AppSettings changed = Changed(read);
    tavimor::WriteSettings(changed, settingsFile.Path());
    const tavimor::AppSettings back = tavimor::ReadSettings(settingsFile.Path());
    settingsFile.Remove();
    if (Fields(back) != Fields(changed)) {
        std::fprintf(stderr, "settings written over this file do not read back\n");
        std::abort();
    }
    return 0;
}
