// The small text builders from which every produced page and the quiz script
// are assembled, the converters that make document text safe for HTML and
// for script string literals, and the file helpers of the page writers.
// Line breaks inside generated text are a single LF.
#pragma once

#include "base/FileIo.h"
#include "base/TextHelpers.h"
#include "base/WriteBehind.h"
#include "generator/GifSource.h"
#include "generator/TextBuffer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace tavimor {

inline constexpr char LF = '\n';
inline constexpr char TAB = '\t';

// Tag builders.
std::string TitleTag(const std::string& title);
std::string PageHead(
    const std::string& extra, const std::string& script, const std::string& css, const std::string& title);
std::string HeadingTag(const std::string& text, const std::string& cssClass, std::uint16_t level);
std::string TableTag(std::uint16_t width, std::uint16_t padding, std::uint16_t spacing, bool border);
std::string RuleTag(std::uint16_t width);
std::string AnchorTag(const std::string& target, const std::string& text);
std::string BodyEnd();
std::string ButtonTag(const std::string& name, const std::string& caption, const std::string& action);
std::string CheckBoxTag(const std::string& name, const std::string& label, bool checked);
std::string BlankPage(const std::string& headContent);

// Text converters. Each works byte by byte, so converting the pieces of a
// text one after the other gives the conversion of the whole text.
std::string EntityEncode(std::string_view text); // accented letters as named entities
std::string JsEscape(std::string_view text); // for a double-quoted script literal
std::string JsText(std::string_view text); // JsEscape(EntityEncode(text))
std::string FoldAccents(std::string_view text); // link targets

// The same conversions appended to out, which grows once per call for a text
// of usual length (once per 4 KiB piece of a longer one), without a copy of
// the text. TextBuffer has them too, for the builders of long texts.
void AppendEntityEncode(std::string& out, std::string_view text);
void AppendJsEscape(std::string& out, std::string_view text);
void AppendJsText(std::string& out, std::string_view text);
void AppendFoldAccents(std::string& out, std::string_view text);

// String helpers.
std::string TextAfterChar(char c, const std::string& s, const std::string& fallback);
std::string TextBefore(const std::string& sub, const std::string& s);
std::string StripExtension(const std::string& s);
std::string RemoveChar(char c, const std::string& s);
std::string ReplaceOrAppend(const std::string& token, const std::string& value, const std::string& s);
std::string BoolToFlag(bool b);
bool FlagToBool(const std::string& s);

// File helpers. Paths are the file system's own (UTF-8 on this platform).
// Creates the folder at path (one level) when none exists; true when it did
// not exist before, so the caller can announce it. A failure to create is not
// reported here: later writes into the folder fail instead.
bool MakeFolder(const std::string& path);
// Writes the built-in image name as folder + name + ".gif" (folder ends with
// a separator). Throws Error("Resource name not found") when there is none.
void ExportGifResource(const GifSource& gifs, const std::string& name, const std::string& folder);
// Copies source to destination; a destination that names a folder gets the
// source's file name. "Cannot open file %s" / "Cannot create file %s".
void CopyFileTo(const std::string& source, const std::string& destination, Durability durability);

// A page stored with CR LF after every line, the last one included, while it
// is built: lines are split at CR, LF and CR LF, also where one piece ends
// with CR and the next starts with LF. Pages are made again by every
// production, so they are replaced atomically without a sync (see
// Durability::Regenerable); until Commit() the previous page stays as it was,
// and a writer destroyed without Commit() leaves nothing behind.
// "Cannot create file %s" / "Stream write error".
class PageWriter {
public:
    // The line breaks of the text given: any of CR, LF and CR LF, each stored
    // as CR LF; or CR LF only (a builder that writes the file's form), stored
    // as they are.
    enum class LineBreaks { Any, CrLf };
    // A long page is stored chunk by chunk (see Spill), and the room of a
    // chunk is made whole from the start rather than step by step.
    enum class Length { Short, Long };

    explicit PageWriter(const std::string& path, LineBreaks breaks = LineBreaks::Any, Length length = Length::Short);
    ~PageWriter();

    // Text written so far and not yet stored; builders append to it.
    TextBuffer& Text() { return text_; }
    // Stores Text() once it holds a good chunk, so that a long page is never
    // whole in memory. The chunks of a long page are stored by a thread of
    // their own while the next ones are made.
    void Spill()
    {
        if (text_.Size() >= kChunk)
            StoreBehind();
    }
    // The same, stored on this thread: for a page that waits for its file
    // before it ends anyway (ReadBack), where the writing thread's wake-ups
    // cost more than they save.
    void SpillHere()
    {
        if (text_.Size() >= kChunk)
            Store();
    }
    // Stores text right away, after whatever Text() holds.
    void Write(std::string_view text);
    // The length of the page so far, Text() included: where the next byte
    // of Text() will stand in the file of a CrLf page.
    std::size_t Offset() const { return stored_ + text_.Size(); }
    // Stores what Text() holds, waits until it is written, and calls use with
    // the page from offset on as its file holds it: a last look at the page
    // before it is finished, without a copy of it in memory.
    void ReadBack(std::size_t offset, const std::function<void(std::string_view)>& use);
    // Stores the rest, ends the last line and puts the page in place.
    void Commit();

private:
    // Each chunk handed over wakes the writing thread, a cost of its own on
    // a virtual machine: 256 KiB made the 10,000-question script faster
    // than 64 or 128 KiB did, and 1 MiB slower.
    static constexpr std::size_t kChunk = std::size_t {256} * 1024;
    // A chunk and the little that it may run over.
    static constexpr std::size_t kChunkRoom = kChunk + kChunk / 4;

    // Stores what Text() holds here and now, after every chunk handed over.
    void Store();
    // Hands what Text() holds to the writing thread, started on the first call.
    void StoreBehind();
    void Convert(std::string_view text);

    AtomicFile file_;
    LineBreaks breaks_;
    TextBuffer text_;
    std::string lines_; // the CR LF form of what is being stored
    bool pendingCr_ = false; // the last byte stored was a CR: an LF right after it belongs to it
    bool lineOpen_ = false; // bytes were stored since the last line break
    std::size_t stored_ = 0; // the bytes of the text handed over to be stored
    std::string spare_; // room for Text() once its chunk is handed over
    // Last, so that the thread stops before anything it uses goes.
    std::unique_ptr<WriteBehind> behind_;
};

// Stores a whole page through a PageWriter.
void SavePage(const std::string& path, std::string_view text);

} // namespace tavimor
