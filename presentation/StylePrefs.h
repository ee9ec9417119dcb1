// The look of the produced site: page background, default font, margin, the
// style of 16 page elements and the link colours, and the style sheet text.
#pragma once

#include "presentation/NetColors.h"

#include <array>
#include <string>

namespace tavimor {

class TValueReader;
class TValueWriter;

inline constexpr int kStyleSlots = 16;
inline constexpr int kNotSet = -1;
// The page margin never holds more characters than this; longer text is cut.
inline constexpr std::size_t kMaxPMarginLength = 255;

// Alignment index 0..3: "left", "right", "center", "justify". An index outside
// 0..3 counts as left everywhere (no text-align line in the style sheet).
const char* AlignKeyword(int alignIndex);

// One slot of the built-in element table: used for every slot-table entry
// still unset when defaults are applied, and by the style dialog for the
// selector and description of a slot whose entry is empty.
struct BuiltinElement {
    const char* Selector; // empty for slots 12-15
    const char* Info;
    int Size;
    int Align;
    int FontColor; // index into BasicColors()
};
const std::array<BuiltinElement, kStyleSlots>& BuiltinElements();

struct TStyleSpecs {
    std::string Selector; // empty: an unused slot, which produces no rule
    std::string BGName;
    std::string FontFamily;
    std::string SizeText;
    std::string FontColorName;
    std::string Margin;
    std::string Padding;
    std::string Options; // free declarations, lines separated by CR LF
    int Size = 0;
    int AlignIndex = 0;
    ColorValue FontColor = 0;
    ColorValue BGValue = 0;
    bool Transparent = true;

    // A new element style for slot (0..15) with the built-in size and
    // alignment; another slot is "List index out of bounds (%d)".
    static TStyleSpecs Create(int slot, const std::string& fontFamily, const std::string& selector);

    // Eleven fields each followed by ";", Options encoded.
    std::string ToText() const;
    // Reads ToText's form; an empty text changes nothing. backgroundValue is
    // the preferences' BGSysCol, taken when the element is transparent.
    // A non-numeric number field throws ConvertError and leaves the element
    // as it was.
    void FromText(const std::string& text, ColorValue backgroundValue);

    bool operator==(const TStyleSpecs&) const = default;
};

struct TLinkStyle {
    std::string State; // "link", "active", "visited"
    std::string ColorName;
    tavimor::ColorValue ColorValue = 0; // qualified: the member takes the type's name
    bool Underline = false;

    bool operator==(const TLinkStyle&) const = default;
};

// One entry of the element table the editor installs at start-up.
struct StartupElement {
    const char* Selector;
    const char* Title;
    const char* Info;
    int Size;
    int Align;
};
// Slots 0-11 of the start-up element table.
const std::array<StartupElement, 12>& StartupElements();

class TStylePrefs {
public:
    // Every slot-table entry "not set", then SetDefaults.
    TStylePrefs();

    void SetDefaults();
    // Installs the start-up element table over slots 0-11, rebuilds the
    // element styles and sets PrefsDir.
    void SetStartupElements(const std::string& prefsDir);
    void BuildSpecs();
    void ResetLinkStyles();

    std::string LinkStylesToText() const;
    // Colour name, value and underline flag per state; State is kept. An empty
    // text changes nothing; a non-numeric value throws ConvertError.
    void LinkStylesFromText(const std::string& text);

    // The ".sprf" INI file, section "STYLEPREFS": the scalar preferences and
    // the 16 element styles, not the link styles. Saving updates the keys in
    // place and keeps anything else the file holds ("Unable to write to %s").
    void SaveToFile(const std::string& path) const;
    // A missing file or key gives the file's own defaults ("7%" margin); a
    // missing slot keeps its style. The slot tables are not touched.
    void LoadFromFile(const std::string& path);

    // The block at the end of the document file: 30 values.
    void WriteTo(TValueWriter& writer) const;
    void ReadFrom(TValueReader& reader);

    // Copies one element style onto another through its text form (the
    // selector too). A slot outside 0..15 is "List index out of bounds (%d)".
    void CopySpecs(int sourceSlot, int targetSlot);

    // PMargin := the first kMaxPMarginLength characters of margin.
    void SetPMargin(const std::string& margin);

    // The whole style sheet, CR LF line ends.
    std::string MakeStyleSheet() const;

    std::string PMargin;
    std::string BGColor;
    std::string BodyColor;
    std::string LinkColor;
    std::string ALinkColor;
    std::string VLinkColor;
    ColorValue BGSysCol = 0;
    ColorValue BodySysCol = 0;
    ColorValue LinkSysColor = 0;
    ColorValue ALinkSysColor = 0;
    ColorValue VLinkSysColor = 0;
    std::array<TStyleSpecs, kStyleSlots> StyleSpecs;
    std::array<std::string, kStyleSlots> ElemInfo;
    std::array<std::string, kStyleSlots> ElemSelector;
    std::array<std::string, kStyleSlots> ElemTitle;
    std::array<int, kStyleSlots> DefAlign {};
    std::array<int, kStyleSlots> DefSize {};
    std::array<int, kStyleSlots> DefFontColor {};
    std::array<int, kStyleSlots> DefBGColor {};
    std::array<TLinkStyle, 3> LinkStyles;
    std::array<int, 3> DefLinkColor {};
    std::string DefFontFace;
    std::string sFileName;
    std::string PrefsDir;

    bool operator==(const TStylePrefs&) const = default;
};

} // namespace tavimor
