#include "base/CsvRecords.h"

#include "base/TextHelpers.h"

#include <algorithm>
#include <string>

namespace tavimor {

CsvRecords::CsvRecords(std::string_view text, char separator)
    : text_(text)
    , separator_(separator)
{
}

bool CsvRecords::NextRecord()
{
    while (NextField()) { }
    if (at_ >= text_.size())
        return false;
    recordLine_ = line_;
    fieldsLeft_ = true;
    return true;
}

std::optional<std::string_view> CsvRecords::NextField()
{
    if (!fieldsLeft_)
        return std::nullopt;
    const std::string_view field = at_ < text_.size() && text_[at_] == '"' ? QuotedField() : PlainField();
    EndField();
    return field;
}

std::string_view CsvRecords::PlainField()
{
    const char ends[] = {separator_, '\r', '\n', '\0'};
    const std::size_t end = std::min(text_.find_first_of(ends, at_), text_.size());
    const std::string_view field = text_.substr(at_, end - at_);
    at_ = end;
    return field;
}

// From the opening quote: the text up to the closing one, a doubled quote
// standing for one. Anything between the closing quote and the end of the
// field is kept after it, as spreadsheets do. Only a field that holds a
// doubled quote or such a tail is copied.
std::string_view CsvRecords::QuotedField()
{
    const std::size_t start = ++at_;
    std::size_t quote = ClosingQuote();
    at_ = quote + 1;
    const bool doubled = at_ < text_.size() && text_[at_] == '"';
    if (!doubled && FieldEndsAt(at_))
        return text_.substr(start, quote - start);
    unquoted_.assign(text_.substr(start, quote - start));
    while (at_ < text_.size() && text_[at_] == '"') {
        unquoted_ += '"';
        ++at_;
        quote = ClosingQuote();
        unquoted_.append(text_.substr(at_, quote - at_));
        at_ = quote + 1;
    }
    if (!FieldEndsAt(at_))
        unquoted_.append(PlainField());
    return unquoted_;
}

std::size_t CsvRecords::ClosingQuote()
{
    const std::size_t quote = text_.find('"', at_);
    if (quote == std::string_view::npos)
        throw CsvQuoteError("Ligne " + std::to_string(recordLine_) + " : un guillemet ouvert n'est jamais referm\xE9.");
    for (std::size_t i = at_; i < quote; ++i)
        if (LineBreakLength(text_, i) == 1) // CR LF counts once, at its LF
            ++line_;
    return quote;
}

bool CsvRecords::FieldEndsAt(std::size_t at) const
{
    return at >= text_.size() || text_[at] == separator_ || LineBreakLength(text_, at) > 0;
}

void CsvRecords::EndField()
{
    if (at_ >= text_.size()) {
        fieldsLeft_ = false;
    } else if (text_[at_] == separator_) {
        ++at_; // a field follows, if only an empty one at the end of the text
    } else {
        at_ += LineBreakLength(text_, at_);
        ++line_;
        fieldsLeft_ = false;
    }
}

char HeaderSeparator(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || LineBreakLength(text, at) > 0))
        ++at;
    bool quoted = false;
    for (; at < text.size(); ++at) {
        if (text[at] == '"')
            quoted = !quoted;
        else if (!quoted && text[at] == ';')
            return ';';
        else if (!quoted && LineBreakLength(text, at) > 0)
            break;
    }
    return ',';
}

} // namespace tavimor
