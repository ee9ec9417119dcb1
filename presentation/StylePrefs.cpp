#include "presentation/StylePrefs.h"

#include "base/Errors.h"
#include "base/IniFile.h"
#include "base/TextHelpers.h"
#include "base/ValueStream.h"

namespace tavimor {

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr const char* kSprfSection = "STYLEPREFS";
constexpr int kBlack = 5; // index of "black" in BasicColors()
constexpr int kElementFieldCount = 11;
constexpr std::array<int, 3> kBuiltinLinkColors = {7, 11, 10}; // blue, red, purple
constexpr std::array<const char*, 3> kLinkStates = {"link", "active", "visited"};

void CheckSlot(int slot)
{
    if (slot < 0 || slot >= kStyleSlots)
        throw ListIndexError(slot);
}

// A slot-table colour index outside the basic table (a table edited by hand)
// falls back to the given basic colour instead of reading past the table.
const BasicColor& BasicColorAt(int index, int fallback)
{
    const auto& colors = BasicColors();
    if (index < 0 || index >= kBasicColorCount)
        index = fallback;
    return colors[static_cast<std::size_t>(index)];
}

bool HasAlignLine(int alignIndex)
{
    return alignIndex > 0 && alignIndex <= 3;
}

// Every occurrence of from, scanned left to right without overlap.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to)
{
    std::string result;
    result.reserve(text.size());
    std::size_t pos = 0;
    while (true) {
        const std::size_t hit = text.find(from, pos);
        if (hit == std::string_view::npos)
            break;
        result.append(text.substr(pos, hit - pos));
        result.append(to);
        pos = hit + from.size();
    }
    result.append(text.substr(pos));
    return result;
}

// Line breaks become ";", then ";;" (a declaration ended by ";" before the
// break) becomes "#", so that the options fit in one field.
std::string EncodeOptions(const std::string& options)
{
    return ReplaceAll(ReplaceAll(options, kCrLf, ";"), ";;", "#");
}

std::string DecodeOptions(const std::string& field)
{
    return ReplaceAll(field, "#", ";\r\n");
}

// Takes fields off the front of a ";"-separated text. Once no ";" is left,
// every further field is empty and the rest of the text is dropped.
class FieldCutter {
public:
    explicit FieldCutter(std::string_view text)
        : rest_(text)
    {
    }

    std::string Next()
    {
        const std::size_t end = rest_.find(';');
        if (end == std::string_view::npos)
            return {};
        std::string field(rest_.substr(0, end));
        rest_.remove_prefix(end + 1);
        return field;
    }

private:
    std::string_view rest_;
};

std::string CutPMargin(const std::string& margin)
{
    return margin.substr(0, kMaxPMarginLength);
}

void AppendLine(std::string& out, std::string_view line)
{
    out.append(line);
    out.append(kCrLf);
}

void AppendTabLine(std::string& out, std::string_view a, std::string_view b = {}, std::string_view c = {})
{
    out += '\t';
    out.append(a);
    out.append(b);
    out.append(c);
    out.append(kCrLf);
}

// The rules that every produced style sheet ends with, text fixed.
constexpr const char* kFixedRules = ".center { text-align:center }\r\n"
                                    ".right  { text-align:right }\r\n"
                                    ".left  { text-align:left }\r\n"
                                    ".justify  { text-align:justify }\r\n"
                                    "\r\n"
                                    ".indent1 { text-align:justify; \r\n"
                                    "           margin-left:5%;\r\n"
                                    "\t}\r\n"
                                    ".indent2 { text-align:justify; \r\n"
                                    "           margin-left:7%;\r\n"
                                    "\t}\r\n"
                                    ".indent3 { text-align:justify; \r\n"
                                    "           margin-left:10%;\r\n"
                                    "\t}\r\n"
                                    "\r\n"
                                    ".topLeft {\r\n"
                                    "           float:left;\r\n"
                                    "           width:45%;\r\n"
                                    "\t}\r\n"
                                    "\r\n"
                                    ".topRight {\r\n"
                                    "           padding-left:15%;\r\n"
                                    "           float:right;\r\n"
                                    "           text-align:right\r\n"
                                    "\t}\r\n"
                                    "\r\n"
                                    ".topMenu {\r\n"
                                    "           padding-left:20%;\r\n"
                                    "           float:left;\r\n"
                                    "\t}\r\n"
                                    "\r\n"
                                    "\r\n"
                                    "HR {text-align:center}\r\n"
                                    "\r\n";

} // namespace

const char* AlignKeyword(int alignIndex)
{
    static constexpr std::array<const char*, 4> kKeywords = {"left", "right", "center", "justify"};
    if (alignIndex < 0 || alignIndex > 3)
        return kKeywords[0];
    return kKeywords[static_cast<std::size_t>(alignIndex)];
}

const std::array<BuiltinElement, kStyleSlots>& BuiltinElements()
{
    // Alignment: 0 left, 2 center, 3 justify. Font colour: 5 black, 6 navy,
    // 15 green, 16 olive, 11 red, 2 silver.
    static constexpr std::array<BuiltinElement, kStyleSlots> kBuiltin = {{
        {"Body", "Texte courant", 10, 3, 5},
        {"H1", "Titre principal", 20, 2, 5},
        {"H2", "Sous-titre principal", 18, 2, 6},
        {"H3", "Titre de section niveau 1", 16, 2, 6},
        {"H4", "Titre de section niveau 2", 15, 0, 6},
        {"H5", "Titre de section niveau 3", 14, 0, 15},
        {"H6", "En-t\xEAte et pied de page", 12, 2, 16},
        {"TH", "T\xEAtes de cellule de tableau", 8, 3, 11},
        {"TD", "Cellules de tableau", 11, 3, 5},
        {"BLOCKQUOTE", "Citation retrait", 10, 3, 5},
        {".note", "Style modifiable", 10, 0, 2},
        {".citation", "Style modifiable", 12, 0, 11},
        {"", "", 11, 0, 5},
        {"", "", 10, 0, 5},
        {"", "", 10, 0, 5},
        {"", "", 10, 0, 5},
    }};
    return kBuiltin;
}

const std::array<StartupElement, 12>& StartupElements()
{
    static constexpr std::array<StartupElement, 12> kStartup = {{
        {"Body", "Normal", "Texte courant, utilis\xE9 partout, couleur g\xE9n\xE9rale", 10, 3},
        {"H1", "Titre 1", "Titre principal", 20, 2},
        {"H2", "Sous-titre 1", "Sous-Titre, page des messages", 18, 2},
        {"H3", "Sous-titre 2", "Sous-titre secondaire, identification d'ouverture", 16, 2},
        {"H4", "Sous-titre 3", "Sous-titre secondaire, page des questions", 15, 0},
        {"H6", "En-t\xEAte", "En-t\xEAte et pied de page", 8, 2},
        {"Blockquote", "Retrait", "Texte en retrait", 11, 3},
        {"TD", "R\xE9ponses", "Texte des choix de r\xE9ponses", 11, 3},
        {"TH", "R\xE9sultats", "En-t\xEAtes de cellules du tableau des r\xE9sultats", 11, 2},
        {".rev", "Rev", "Revision, messages de mise \xE0 jour", 10, 0},
        {".note", "Note", "", 10, 3},
        {".notUsed", "inutilis\xE9", "", 10, 0},
    }};
    return kStartup;
}

// ---------------------------------------------------------------- TStyleSpecs

TStyleSpecs TStyleSpecs::Create(int slot, const std::string& fontFamily, const std::string& selector)
{
    CheckSlot(slot);
    const BuiltinElement& builtin = BuiltinElements()[static_cast<std::size_t>(slot)];
    TStyleSpecs specs;
    specs.Selector = selector;
    specs.FontFamily = fontFamily;
    specs.BGName = "transparent";
    specs.Size = builtin.Size;
    specs.SizeText = std::to_string(builtin.Size);
    specs.AlignIndex = builtin.Align;
    specs.FontColorName = "black";
    specs.FontColor = 0;
    specs.Transparent = true;
    return specs;
}

std::string TStyleSpecs::ToText() const
{
    std::string text;
    for (const std::string& field :
        {Selector, BGName, FontFamily, SizeText, std::to_string(AlignIndex), FontColorName, std::to_string(FontColor),
            std::string(Transparent ? "1" : "0"), Margin, Padding, EncodeOptions(Options)}) {
        text += field;
        text += ';';
    }
    return text;
}

void TStyleSpecs::FromText(const std::string& text, ColorValue backgroundValue)
{
    if (text.empty())
        return;
    FieldCutter cutter(text);
    std::array<std::string, kElementFieldCount> fields;
    for (std::string& field : fields)
        field = cutter.Next();

    // Built aside so that a conversion error leaves this element untouched.
    TStyleSpecs read = *this;
    read.Selector = fields[0];
    read.BGName = fields[1];
    read.FontFamily = fields[2];
    read.SizeText = fields[3];
    read.AlignIndex = ParseInteger(fields[4]);
    read.FontColorName = fields[5];
    read.FontColor = ParseInteger(fields[6]);
    read.Transparent = TrimBlanks(fields[7]) != "0";
    read.Margin = fields[8];
    read.Padding = fields[9];
    read.Options = DecodeOptions(fields[10]);
    read.BGValue = read.Transparent ? backgroundValue : ColorByName(read.BGName);
    read.Size = ParseInteger(read.SizeText);
    *this = std::move(read);
}

// ---------------------------------------------------------------- TStylePrefs

TStylePrefs::TStylePrefs()
{
    DefAlign.fill(kNotSet);
    DefSize.fill(kNotSet);
    DefFontColor.fill(kNotSet);
    DefBGColor.fill(kNotSet);
    DefLinkColor.fill(kNotSet);
    SetDefaults();
}

void TStylePrefs::SetDefaults()
{
    BGColor = "WHITE";
    BodyColor = "BLACK";
    LinkColor = "PURPLE";
    ALinkColor = "RED";
    VLinkColor = "GREEN";
    BGSysCol = 0xFFFFFF;
    BodySysCol = 0;
    LinkSysColor = 0x800080;
    ALinkSysColor = 255;
    VLinkSysColor = 0x8000;

    PMargin = "2%,7%";
    DefFontFace = "Arial";
    sFileName = "cStyle.css";

    StyleSpecs = {};
    // Entries already set (by the start-up table) keep their values, so a
    // reset returns to the start-up table rather than the built-in one.
    for (std::size_t n = 0; n < kStyleSlots; ++n) {
        const BuiltinElement& builtin = BuiltinElements()[n];
        if (DefAlign[n] == kNotSet)
            DefAlign[n] = builtin.Align;
        if (DefSize[n] == kNotSet)
            DefSize[n] = builtin.Size;
        if (DefFontColor[n] == kNotSet)
            DefFontColor[n] = builtin.FontColor;
        if (DefBGColor[n] == kNotSet)
            DefBGColor[n] = 0;
    }
    BuildSpecs();

    for (std::size_t i = 0; i < DefLinkColor.size(); ++i)
        if (DefLinkColor[i] == kNotSet)
            DefLinkColor[i] = kBuiltinLinkColors[i];
    ResetLinkStyles();
}

void TStylePrefs::SetStartupElements(const std::string& prefsDir)
{
    const auto& startup = StartupElements();
    for (std::size_t n = 0; n < startup.size(); ++n) {
        ElemSelector[n] = startup[n].Selector;
        ElemTitle[n] = startup[n].Title;
        ElemInfo[n] = startup[n].Info;
        DefSize[n] = startup[n].Size;
        DefAlign[n] = startup[n].Align;
    }
    BuildSpecs();
    PrefsDir = prefsDir;
}

void TStylePrefs::BuildSpecs()
{
    for (std::size_t n = 0; n < kStyleSlots; ++n) {
        if (ElemSelector[n].empty())
            ElemSelector[n] = BuiltinElements()[n].Selector;
        TStyleSpecs specs = TStyleSpecs::Create(static_cast<int>(n), DefFontFace, ElemSelector[n]);
        specs.Size = DefSize[n];
        specs.SizeText = std::to_string(DefSize[n]);
        specs.AlignIndex = DefAlign[n];
        const BasicColor& font = BasicColorAt(DefFontColor[n], kBlack);
        specs.FontColorName = font.Name;
        specs.FontColor = font.Value;
        const BasicColor& background = BasicColorAt(DefBGColor[n], 0);
        specs.BGName = background.Name;
        specs.BGValue = background.Value;
        if (DefBGColor[n] != DefBGColor[0])
            specs.Transparent = false;
        StyleSpecs[n] = std::move(specs);
    }
    TStyleSpecs& body = StyleSpecs[0];
    body.FontFamily = DefFontFace;
    body.BGName = BGColor;
    body.BGValue = BGSysCol;
    body.FontColorName = "black";
    body.Margin = CutPMargin(PMargin);
}

void TStylePrefs::ResetLinkStyles()
{
    for (std::size_t i = 0; i < LinkStyles.size(); ++i) {
        const BasicColor& color = BasicColorAt(DefLinkColor[i], kBuiltinLinkColors[i]);
        LinkStyles[i].State = kLinkStates[i];
        LinkStyles[i].ColorName = color.Name;
        LinkStyles[i].ColorValue = color.Value;
        LinkStyles[i].Underline = false;
    }
}

std::string TStylePrefs::LinkStylesToText() const
{
    std::string text;
    for (const TLinkStyle& link : LinkStyles) {
        text += link.ColorName + ';';
        text += std::to_string(link.ColorValue) + ';';
        text += link.Underline ? "1;" : "0;";
    }
    return text;
}

void TStylePrefs::LinkStylesFromText(const std::string& text)
{
    if (text.empty())
        return;
    FieldCutter cutter(text);
    std::array<TLinkStyle, 3> read = LinkStyles;
    for (TLinkStyle& link : read) {
        link.ColorName = TrimBlanks(cutter.Next());
        link.ColorValue = ParseInteger(TrimBlanks(cutter.Next()));
        link.Underline = TrimBlanks(cutter.Next()) != "0";
    }
    LinkStyles = std::move(read);
}

void TStylePrefs::SaveToFile(const std::string& path) const
{
    TIniFile ini = TIniFile::Load(path);
    ini.WriteString(kSprfSection, "BGColor", BGColor);
    ini.WriteString(kSprfSection, "BodyColor", BodyColor);
    ini.WriteString(kSprfSection, "LinkColor", LinkColor);
    ini.WriteString(kSprfSection, "ALinkColor", ALinkColor);
    ini.WriteString(kSprfSection, "VLinkColor", VLinkColor);
    ini.WriteInteger(kSprfSection, "BGSysCol", BGSysCol);
    ini.WriteInteger(kSprfSection, "BodySysCol", BodySysCol);
    ini.WriteInteger(kSprfSection, "LinkSysColor", LinkSysColor);
    ini.WriteInteger(kSprfSection, "ALinkSysColor", ALinkSysColor);
    ini.WriteInteger(kSprfSection, "VLinkSysColor", VLinkSysColor);
    ini.WriteString(kSprfSection, "DefFontFace", DefFontFace);
    ini.WriteString(kSprfSection, "sFileName", sFileName);
    ini.WriteString(kSprfSection, "PMargin", CutPMargin(PMargin));
    for (int n = 0; n < kStyleSlots; ++n)
        ini.WriteString(
            kSprfSection, "StyleSpecs" + std::to_string(n), StyleSpecs[static_cast<std::size_t>(n)].ToText());
    ini.Save(path);
}

void TStylePrefs::LoadFromFile(const std::string& path)
{
    const TIniFile ini = TIniFile::Load(path);
    BGColor = ini.ReadString(kSprfSection, "BGColor", "WHITE");
    BodyColor = ini.ReadString(kSprfSection, "BodyColor", "BLACK");
    LinkColor = ini.ReadString(kSprfSection, "LinkColor", "PURPLE");
    ALinkColor = ini.ReadString(kSprfSection, "ALinkColor", "RED");
    VLinkColor = ini.ReadString(kSprfSection, "VLinkColor", "GREEN");
    BGSysCol = ini.ReadInteger(kSprfSection, "BGSysCol", 0xFFFFFF);
    BodySysCol = ini.ReadInteger(kSprfSection, "BodySysCol", 0);
    LinkSysColor = ini.ReadInteger(kSprfSection, "LinkSysColor", 0x800080);
    ALinkSysColor = ini.ReadInteger(kSprfSection, "ALinkSysColor", 255);
    VLinkSysColor = ini.ReadInteger(kSprfSection, "VLinkSysColor", 0x8000);
    DefFontFace = ini.ReadString(kSprfSection, "DefFontFace", "Arial");
    sFileName = ini.ReadString(kSprfSection, "sFileName", "cStyle.css");
    SetPMargin(ini.ReadString(kSprfSection, "PMargin", "7%"));
    for (int n = 0; n < kStyleSlots; ++n) {
        const std::string key = "StyleSpecs" + std::to_string(n);
        if (ini.HasKey(kSprfSection, key))
            StyleSpecs[static_cast<std::size_t>(n)].FromText(ini.ReadString(kSprfSection, key, {}), BGSysCol);
    }
}

void TStylePrefs::WriteTo(TValueWriter& writer) const
{
    for (const std::string* text : {&BGColor, &BodyColor, &LinkColor, &ALinkColor, &VLinkColor})
        writer.WriteString(*text);
    for (const ColorValue value : {BGSysCol, BodySysCol, LinkSysColor, ALinkSysColor, VLinkSysColor})
        writer.WriteInteger(value);
    writer.WriteString(DefFontFace);
    writer.WriteString(CutPMargin(PMargin));
    writer.WriteString(sFileName);
    for (const TStyleSpecs& specs : StyleSpecs)
        writer.WriteString(specs.ToText());
    writer.WriteString(LinkStylesToText());
}

void TStylePrefs::ReadFrom(TValueReader& reader)
{
    for (std::string* text : {&BGColor, &BodyColor, &LinkColor, &ALinkColor, &VLinkColor})
        *text = reader.ReadString();
    for (ColorValue* value : {&BGSysCol, &BodySysCol, &LinkSysColor, &ALinkSysColor, &VLinkSysColor})
        *value = reader.ReadInteger();
    DefFontFace = reader.ReadString();
    SetPMargin(reader.ReadString());
    sFileName = reader.ReadString();
    for (TStyleSpecs& specs : StyleSpecs)
        specs.FromText(reader.ReadString(), BGSysCol);
    LinkStylesFromText(reader.ReadString());
}

void TStylePrefs::CopySpecs(int sourceSlot, int targetSlot)
{
    CheckSlot(sourceSlot);
    CheckSlot(targetSlot);
    const std::string text = StyleSpecs[static_cast<std::size_t>(sourceSlot)].ToText();
    StyleSpecs[static_cast<std::size_t>(targetSlot)].FromText(text, BGSysCol);
}

void TStylePrefs::SetPMargin(const std::string& margin)
{
    PMargin = CutPMargin(margin);
}

std::string TStylePrefs::MakeStyleSheet() const
{
    const std::string margin = CutPMargin(PMargin);
    std::string css;
    AppendLine(css, "/* Mivo's style Prefs generated StyleSheet */");
    AppendLine(css, "");

    for (std::size_t n = 0; n < kStyleSlots; ++n) {
        const TStyleSpecs& specs = StyleSpecs[n];
        if (specs.Selector.empty())
            continue;
        AppendLine(css, specs.Selector + " {");
        if (n == 0) {
            // The Body rule always carries the page background and margin.
            AppendTabLine(css, "background:", BGColor, ";");
            AppendTabLine(css, "margin:", margin, ";");
        } else {
            if (!specs.Transparent)
                AppendTabLine(css, "background:", specs.BGName, ";");
            if (!specs.Margin.empty() && specs.Margin != margin)
                AppendTabLine(css, "margin:", specs.Margin, ";");
            if (!specs.Padding.empty())
                AppendTabLine(css, "padding:", specs.Padding, ";");
        }
        AppendTabLine(css, "color:", specs.FontColorName, ";");
        AppendTabLine(css, "font-family:\"", specs.FontFamily, "\";");
        AppendTabLine(css, "font-size:", specs.SizeText, "pt;");
        if (HasAlignLine(specs.AlignIndex))
            AppendTabLine(css, "text-align:", AlignKeyword(specs.AlignIndex), ";");
        // The options' own line breaks are indented; "}" closes their last line.
        AppendTabLine(css, ReplaceAll(specs.Options, kCrLf, "\r\n\t"), "}");
        AppendLine(css, "");
    }

    for (const TLinkStyle& link : LinkStyles) {
        AppendLine(css, "a:" + link.State + " {");
        AppendTabLine(css, "color:", link.ColorName, ";");
        AppendTabLine(css, "text-decoration:", link.Underline ? "underline" : "none", ";");
        AppendTabLine(css, "}");
        AppendLine(css, "");
    }

    AppendLine(css, "DIR {");
    if (HasAlignLine(StyleSpecs[0].AlignIndex))
        AppendTabLine(css, "text-align:", AlignKeyword(StyleSpecs[0].AlignIndex), ";");
    AppendTabLine(css, "}");
    AppendLine(css, "");

    css += kFixedRules;
    return css;
}

} // namespace tavimor
