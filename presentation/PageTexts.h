// The texts of the three fixed pages of the quiz site and the layout
// preferences of the produced pages.
#pragma once

#include <array>
#include <functional>
#include <string>

namespace tavimor {

class TValueReader;
class TValueWriter;

struct THMessPage {
    std::string Title;
    std::string Body; // may hold several lines and HTML

    bool operator==(const THMessPage&) const = default;
};

// Pages: 0 entry ("Entrée"), 1 evaluation ("Évaluation"), 2 results ("Résultats").
// A page index outside 0..2 is "List index out of bounds (%d)".
class THMPList {
public:
    static constexpr int kPageCount = 3;

    // Called when SetTitle or SetBody changes page 1 or 2, so that the
    // settings remember the texts for new documents.
    enum class TextKind { Title, Body };
    using RememberHook = std::function<void(int page, TextKind kind, const std::string& text)>;

    const std::string& GetTitle(int page) const;
    const std::string& GetBody(int page) const;
    void SetTitle(int page, const std::string& text);
    void SetBody(int page, const std::string& text);

    void SetRememberHook(RememberHook hook) { remember_ = std::move(hook); }

private:
    THMessPage& Page(int page);
    const THMessPage& Page(int page) const;

    std::array<THMessPage, kPageCount> pages_;
    RememberHook remember_;
};

inline constexpr int kImageCount = 9;
using ImageNames = std::array<std::string, kImageCount>;
// "KWZ", "bGreen", "navBtn", "Eval", "bRes", "nImg", "gImg", "bImg", "bYellow".
const ImageNames& DefaultImageNames();

class THTMPrefs {
public:
    bool MenuLeft = true; // "Menu à gauche"
    bool NoBorder = false; // "Pas de bordure"
    bool DistinctPages = false; // "pages distinctes"
    ImageNames ImgNames = DefaultImageNames();

    // "<BODY>" or "<BODY onLoad=\"action\">".
    static std::string BodyTag(const std::string& action);

    void ResetFlags();
    void ResetImgNames() { ImgNames = DefaultImageNames(); }

    // The layout block: 3 booleans, 5 spare strings, 9 image names. The
    // editor copies its check boxes into the flags before writing.
    void WriteBlock(TValueWriter& writer) const;
    // Spare strings are dropped, image names cut to 255 characters. A read
    // error leaves the preferences as they were.
    void ReadBlock(TValueReader& reader);
    // The block of version 3 documents (read only), with the same guarantee.
    void ReadOldBlock(TValueReader& reader);

    bool operator==(const THTMPrefs&) const = default;
};

} // namespace tavimor
