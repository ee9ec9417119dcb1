#include "presentation/HtmlParams.h"

#include "base/FileIo.h"
#include "base/ValueStream.h"

namespace tavimor {

std::string HtmlParamsBytes(const THTMPrefs& layout)
{
    TValueWriter writer;
    writer.WriteString(kHtmlParamsSignature);
    writer.WriteInteger(kHtmlParamsFormat);
    layout.WriteBlock(writer);
    return writer.Bytes();
}

void SaveHtmlParams(const THTMPrefs& layout, const std::string& path)
{
    // A parameters file is the user's own layout choice: nothing can make it again.
    WriteFileAtomically(path, HtmlParamsBytes(layout), Durability::Durable);
}

HtmlParamsOutcome ReadHtmlParams(THTMPrefs& layout, std::string_view bytes)
{
    TValueReader reader(bytes);
    // A wrong signature is refused before the number is read, so that any
    // other file starting with a string gets the compatibility message.
    if (reader.ReadString() != kHtmlParamsSignature)
        return {false, kHtmlParamsRefusal};
    if (reader.ReadInteger() != kHtmlParamsFormat)
        return {false, kHtmlParamsRefusal};
    layout.ReadBlock(reader);
    return {true, {}};
}

HtmlParamsOutcome LoadHtmlParams(THTMPrefs& layout, const std::string& path)
{
    return ReadHtmlParams(layout, ReadWholeFile(path));
}

} // namespace tavimor
