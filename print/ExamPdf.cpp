// The printed exam as an A4 PDF. Everything is measured first: each
// question becomes a group of items (lines of its Pango layouts, pictures,
// spaces) of known heights, the groups are placed on pages, and only then,
// with the number of pages known, are the pages drawn with "Page n / N".
#include "print/ExamPdf.h"

#include "base/Cp1252.h"
#include "base/Errors.h"
#include "base/FileIo.h"
#include "base/TextHelpers.h"
#include "generator/QuestionTexts.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tavimor {

namespace {

// A4 in points, with margins of 2 cm.
constexpr double kPageWidth = 595.28;
constexpr double kPageHeight = 841.89;
constexpr double kMargin = 56.69;
constexpr double kBodyWidth = kPageWidth - 2 * kMargin;
constexpr double kBodyTop = kMargin;
constexpr double kBodyBottom = kPageHeight - kMargin;
// A picture's pixels are CSS pixels: 96 to the inch, 72 points.
constexpr double kPointsPerPixel = 0.75;
constexpr double kQuestionGap = 12;
constexpr double kChoicesGap = 4;
constexpr double kPictureGap = 3;

constexpr const char* kFontFamily = "DejaVu Sans,sans-serif";
constexpr const char* kEmptyBox = "\xE2\x98\x90"; // U+2610
constexpr const char* kTickedBox = "\xE2\x98\x92"; // U+2612
// Breaks a line without starting a paragraph: a hanging indent stays hanging.
constexpr const char* kLineSeparator = "\xE2\x80\xA8";

struct GObjectUnref {
    void operator()(void* object) const { g_object_unref(object); }
};
struct SurfaceDestroy {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct CairoDestroy {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
struct FontDescriptionFree {
    void operator()(PangoFontDescription* font) const { pango_font_description_free(font); }
};
using LayoutPtr = std::unique_ptr<PangoLayout, GObjectUnref>;
using ContextPtr = std::unique_ptr<PangoContext, GObjectUnref>;
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDestroy>;
using CairoPtr = std::unique_ptr<cairo_t, CairoDestroy>;
using FontPtr = std::unique_ptr<PangoFontDescription, FontDescriptionFree>;

// What the PDF prints of one question, the texts still HTML (Windows-1252).
struct PrintQuestion {
    std::string Text; // the cloze marker already a blank
    std::vector<std::string> Choices;
    int Right = -1;
};

template <class Quests> std::vector<PrintQuestion> CollectQuestions(const Quests& quests)
{
    std::vector<PrintQuestion> printed(static_cast<std::size_t>(quests.Count()));
    for (int n = 1; n <= quests.Count(); ++n) {
        PrintQuestion& question = printed[static_cast<std::size_t>(n - 1)];
        const auto& quest = quests.Quest(n);
        ExamTextPieces(quests, n, [&question](std::string_view piece) { question.Text += piece; });
        for (const auto& choice : quest.Reps)
            question.Choices.emplace_back(choice);
        if (quest.QType == TRepType::rTrue && question.Choices.empty())
            question.Choices = {"Vrai", "Faux"};
        question.Right = quest.GoodRep;
    }
    return printed;
}

std::string Escaped(std::string_view utf8)
{
    gchar* escaped = g_markup_escape_text(utf8.data(), static_cast<gssize>(utf8.size()));
    std::string text(escaped);
    g_free(escaped);
    return text;
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// A measured thing to draw: one line of a layout, a picture, a rule or a space.
struct Item {
    enum class Kind { Line, Picture, Rule, Space } Type = Kind::Space;
    double Height = 0;
    // Line: the layout's line, drawn at X from the item's left with its
    // baseline Baseline below the item's top.
    PangoLayout* Layout = nullptr;
    int LineIndex = 0;
    double X = 0;
    double Baseline = 0;
    // Picture, drawn at X, Width wide; nullptr draws nothing.
    cairo_surface_t* Surface = nullptr;
    double Width = 0;
    double Scale = 1;
    // Where the pagination put it.
    int Page = 0;
    double Y = 0;
};

// One question, or the head of the first page: kept on one page when it fits.
using Group = std::vector<Item>;

class ExamDocument {
public:
    ExamDocument(const TQuizDocument& doc, const TExamPdfOptions& options)
        : doc_(doc)
        , options_(options)
    {
    }

    std::string Render(const std::vector<PrintQuestion>& questions)
    {
        std::string bytes;
        SurfacePtr surface(cairo_pdf_surface_create_for_stream(
            [](void* closure, const unsigned char* data, unsigned int length) {
                static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
                return CAIRO_STATUS_SUCCESS;
            },
            &bytes, kPageWidth, kPageHeight));
        Check(cairo_surface_status(surface.get()));
        const std::string title = Title();
        cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_TITLE, title.c_str());
        cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATOR, "Tavimor");
        cr_.reset(cairo_create(surface.get()));
        context_.reset(pango_cairo_create_context(cr_.get()));
        // Font sizes in points: one point is one unit of the PDF surface.
        pango_cairo_context_set_resolution(context_.get(), 72);
        cairo_font_options_t* fontOptions = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(fontOptions, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(fontOptions, CAIRO_HINT_STYLE_NONE);
        pango_cairo_context_set_font_options(context_.get(), fontOptions);
        cairo_font_options_destroy(fontOptions);
        body_.reset(pango_font_description_from_string(kFontFamily));
        pango_font_description_set_size(body_.get(), 10 * PANGO_SCALE);

        std::vector<Group> groups;
        groups.push_back(Head());
        numberWidth_ = NumberWidth(static_cast<int>(questions.size()));
        for (std::size_t n = 0; n < questions.size(); ++n)
            groups.push_back(Question(static_cast<int>(n) + 1, questions[n]));
        const int pages = Paginate(groups);
        Draw(groups, pages);
        cr_.reset();
        cairo_surface_finish(surface.get());
        Check(cairo_surface_status(surface.get()));
        return bytes;
    }

private:
    static void Check(cairo_status_t status)
    {
        if (status != CAIRO_STATUS_SUCCESS)
            throw Error(Utf8ToCp1252(
                std::string("Impossible de produire le PDF de l'examen : ") + cairo_status_to_string(status)));
    }

    std::string Title() const
    {
        const std::string title = Cp1252ToUtf8ResolvingReferences(doc_.Pages.GetTitle(0));
        if (!title.empty())
            return title;
        return Cp1252ToUtf8ResolvingReferences((options_.Key ? "Corrig\xE9 " : "Examen ") + options_.QuizName);
    }

    // A layout of markup (UTF-8) width points wide; hang indents the lines
    // after the first of each paragraph. Markup Pango refuses (it cannot
    // come from HtmlToPrintPieces) is shown as plain text instead.
    PangoLayout* Layout(const std::string& markup, double width, double hang = 0,
        PangoAlignment alignment = PANGO_ALIGN_LEFT, const PangoFontDescription* font = nullptr)
    {
        PangoLayout* layout = pango_layout_new(context_.get());
        layouts_.emplace_back(layout);
        pango_layout_set_font_description(layout, font ? font : body_.get());
        pango_layout_set_width(layout, static_cast<int>(width * PANGO_SCALE));
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
        pango_layout_set_alignment(layout, alignment);
        if (hang > 0) {
            pango_layout_set_indent(layout, static_cast<int>(-hang * PANGO_SCALE));
            PangoTabArray* tabs
                = pango_tab_array_new_with_positions(1, FALSE, PANGO_TAB_LEFT, static_cast<int>(hang * PANGO_SCALE));
            pango_layout_set_tabs(layout, tabs);
            pango_tab_array_free(tabs);
        }
        if (pango_parse_markup(markup.c_str(), -1, 0, nullptr, nullptr, nullptr, nullptr)) {
            pango_layout_set_markup(layout, markup.c_str(), -1);
        } else {
            gchar* valid = g_utf8_make_valid(markup.c_str(), -1);
            pango_layout_set_text(layout, valid, -1);
            g_free(valid);
        }
        return layout;
    }

    // The lines of a layout drawn x points from the left margin.
    static void AddLines(Group& group, PangoLayout* layout, double x)
    {
        PangoLayoutIter* iter = pango_layout_get_iter(layout);
        int index = 0;
        do {
            int top = 0;
            int bottom = 0;
            pango_layout_iter_get_line_yrange(iter, &top, &bottom);
            PangoRectangle logical;
            pango_layout_iter_get_line_extents(iter, nullptr, &logical);
            Item line;
            line.Type = Item::Kind::Line;
            line.Layout = layout;
            line.LineIndex = index++;
            line.Height = static_cast<double>(bottom - top) / PANGO_SCALE;
            line.X = x + static_cast<double>(logical.x) / PANGO_SCALE;
            line.Baseline = static_cast<double>(pango_layout_iter_get_baseline(iter) - top) / PANGO_SCALE;
            group.push_back(line);
        } while (pango_layout_iter_next_line(iter));
        pango_layout_iter_free(iter);
    }

    static void AddSpace(Group& group, double height)
    {
        Item space;
        space.Height = height;
        group.push_back(space);
    }

    Group Head()
    {
        Group head;
        FontPtr titleFont(pango_font_description_copy(body_.get()));
        pango_font_description_set_size(titleFont.get(), 15 * PANGO_SCALE);
        pango_font_description_set_weight(titleFont.get(), PANGO_WEIGHT_BOLD);
        AddLines(head, Layout(Escaped(Title()), kBodyWidth, 0, PANGO_ALIGN_CENTER, titleFont.get()), 0);
        AddSpace(head, 6);
        std::string side;
        if (options_.Key)
            side = "<b>Corrig\xC3\xA9</b>";
        if (!options_.Version.empty())
            side += (side.empty() ? "" : " \xE2\x80\x94 ") + std::string("<b>Version ")
                + Escaped(Cp1252ToUtf8(options_.Version)) + "</b>";
        if (!side.empty())
            AddLines(head, Layout(side, kBodyWidth, 0, PANGO_ALIGN_RIGHT), 0);
        if (!options_.Key) {
            AddSpace(head, 10);
            AddLines(head,
                Layout("Pr\xC3\xA9nom : ____________________   Nom : ____________________   Groupe : ________",
                    kBodyWidth),
                0);
        }
        AddSpace(head, 8);
        Item rule;
        rule.Type = Item::Kind::Rule;
        rule.Height = 1;
        head.push_back(rule);
        AddSpace(head, kQuestionGap);
        return head;
    }

    // The width of the widest question number with its point and a space.
    double NumberWidth(int count)
    {
        const std::string widest = std::string(std::to_string(count).size(), '0') + ".";
        PangoLayout* layout = Layout("<b>" + widest + "</b>", kBodyWidth);
        int width = 0;
        pango_layout_get_size(layout, &width, nullptr);
        return static_cast<double>(width) / PANGO_SCALE + 6;
    }

    // Pieces' text as the markup of one paragraph: its line breaks do not
    // start a new paragraph, so that the hanging indent holds.
    static std::string OneParagraph(std::string markup)
    {
        ReplaceAll(markup, "\n", kLineSeparator);
        return markup;
    }

    void AddPicture(Group& group, const TPrintPiece& picture, double x)
    {
        const double room = kBodyWidth - x;
        cairo_surface_t* surface = Picture(picture.Source);
        if (surface == nullptr) {
            std::string shown = picture.Alt;
            if (shown.empty())
                shown = std::filesystem::path(picture.Source).filename().string();
            AddLines(group, Layout("<i>[" + Escaped(shown) + "]</i>", room), x);
            return;
        }
        const double pixelWidth = cairo_image_surface_get_width(surface);
        const double pixelHeight = cairo_image_surface_get_height(surface);
        double width = picture.Width > 0 ? picture.Width : pixelWidth;
        double height = picture.Height > 0 ? picture.Height : pixelHeight;
        if (picture.Width > 0 && picture.Height <= 0)
            height = pixelHeight * picture.Width / pixelWidth;
        else if (picture.Height > 0 && picture.Width <= 0)
            width = pixelWidth * picture.Height / pixelHeight;
        width *= kPointsPerPixel;
        height *= kPointsPerPixel;
        // Never wider than the text, never taller than most of a page.
        const double fit = std::min({1.0, room / width, (kBodyBottom - kBodyTop) * 0.9 / height});
        width *= fit;
        height *= fit;
        AddSpace(group, kPictureGap);
        Item item;
        item.Type = Item::Kind::Picture;
        item.Surface = surface;
        item.X = x;
        item.Width = width;
        item.Height = height;
        item.Scale = width / pixelWidth;
        group.push_back(item);
        AddSpace(group, kPictureGap);
    }

    // Text pieces and pictures; consecutive text joins into one layout.
    void AddPieces(Group& group, const std::vector<TPrintPiece>& pieces, std::string lead, double x, double hang)
    {
        // The lead (number or box) hangs before the first text; text after
        // a picture starts where the text does.
        std::string markup = std::move(lead);
        bool withLead = !markup.empty();
        const auto flush = [&] {
            if (withLead)
                AddLines(group, Layout(markup, kBodyWidth - x, hang), x);
            else if (!markup.empty())
                AddLines(group, Layout(markup, kBodyWidth - x - hang), x + hang);
            markup.clear();
            withLead = false;
        };
        for (const TPrintPiece& piece : pieces) {
            if (piece.Type == TPrintPiece::Kind::Text) {
                markup += OneParagraph(piece.Markup);
                continue;
            }
            flush();
            AddPicture(group, piece, x + hang);
        }
        flush();
    }

    Group Question(int number, const PrintQuestion& question)
    {
        Group group;
        const std::string lead = "<b>" + std::to_string(number) + ".</b>\t";
        AddPieces(group, HtmlToPrintPieces(Cp1252ToUtf8ResolvingReferences(question.Text)), lead, 0, numberWidth_);
        if (!question.Choices.empty())
            AddSpace(group, kChoicesGap);
        const double boxIndent = numberWidth_ + 6;
        for (std::size_t k = 0; k < question.Choices.size(); ++k) {
            const bool right = options_.Key && static_cast<int>(k) == question.Right;
            std::vector<TPrintPiece> pieces = HtmlToPrintPieces(Cp1252ToUtf8ResolvingReferences(question.Choices[k]));
            if (right)
                for (TPrintPiece& piece : pieces)
                    if (piece.Type == TPrintPiece::Kind::Text)
                        piece.Markup = "<b>" + piece.Markup + "</b>";
            AddPieces(group, pieces, std::string(right ? kTickedBox : kEmptyBox) + "\t", boxIndent, boxWidth());
        }
        AddSpace(group, kQuestionGap);
        return group;
    }

    double boxWidth()
    {
        if (boxWidth_ == 0) {
            PangoLayout* layout = Layout(std::string(kTickedBox) + " ", kBodyWidth);
            int width = 0;
            pango_layout_get_size(layout, &width, nullptr);
            boxWidth_ = static_cast<double>(width) / PANGO_SCALE + 3;
        }
        return boxWidth_;
    }

    // A question that fits on a page goes whole on the next one when it does
    // not fit on this one. A question taller than a page starts a page and
    // runs on to the next between two of its lines or pictures (each fits
    // on a page: pictures are scaled down to). Spaces vanish at the top of
    // a page. Returns the number of pages.
    static int Paginate(std::vector<Group>& groups)
    {
        int page = 0;
        double y = kBodyTop;
        for (Group& group : groups) {
            double height = 0;
            for (const Item& item : group)
                height += item.Height;
            // The trailing space may fall below the bottom.
            if (!group.empty() && group.back().Type == Item::Kind::Space)
                height -= group.back().Height;
            if (y > kBodyTop && y + height > kBodyBottom) {
                ++page;
                y = kBodyTop;
            }
            for (Item& item : group) {
                if (item.Type == Item::Kind::Space) {
                    if (y > kBodyTop)
                        y += item.Height;
                    item.Page = page;
                    item.Y = y;
                    continue;
                }
                if (y > kBodyTop && y + item.Height > kBodyBottom) {
                    ++page;
                    y = kBodyTop;
                }
                item.Page = page;
                item.Y = y;
                y += item.Height;
            }
        }
        return page + 1;
    }

    void Footer(int page, int pages)
    {
        FontPtr font(pango_font_description_copy(body_.get()));
        pango_font_description_set_size(font.get(), 9 * PANGO_SCALE);
        PangoLayout* layout = Layout("Page " + std::to_string(page) + " / " + std::to_string(pages), kBodyWidth, 0,
            PANGO_ALIGN_CENTER, font.get());
        int height = 0;
        pango_layout_get_size(layout, nullptr, &height);
        cairo_move_to(cr_.get(), kMargin, kPageHeight - kMargin / 2 - static_cast<double>(height) / PANGO_SCALE / 2);
        pango_cairo_show_layout(cr_.get(), layout);
    }

    void Draw(const std::vector<Group>& groups, int pages)
    {
        cairo_t* cr = cr_.get();
        int page = 0;
        const auto endPage = [&] {
            Footer(page + 1, pages);
            cairo_show_page(cr);
        };
        for (const Group& group : groups) {
            for (const Item& item : group) {
                while (item.Page > page) {
                    endPage();
                    ++page;
                }
                cairo_set_source_rgb(cr, 0, 0, 0);
                switch (item.Type) {
                case Item::Kind::Line:
                    cairo_move_to(cr, kMargin + item.X, item.Y + item.Baseline);
                    pango_cairo_show_layout_line(cr, pango_layout_get_line_readonly(item.Layout, item.LineIndex));
                    break;
                case Item::Kind::Picture:
                    cairo_save(cr);
                    cairo_translate(cr, kMargin + item.X, item.Y);
                    cairo_scale(cr, item.Scale, item.Scale);
                    cairo_set_source_surface(cr, item.Surface, 0, 0);
                    cairo_paint(cr);
                    cairo_restore(cr);
                    break;
                case Item::Kind::Rule:
                    cairo_set_line_width(cr, 0.6);
                    cairo_move_to(cr, kMargin, item.Y + 0.5);
                    cairo_line_to(cr, kMargin + kBodyWidth, item.Y + 0.5);
                    cairo_stroke(cr);
                    break;
                case Item::Kind::Space:
                    break;
                }
            }
        }
        endPage();
    }

    // The picture of an address as the pages resolve it, read once per PDF;
    // nullptr when it is not a file that can be read as a picture.
    cairo_surface_t* Picture(const std::string& source)
    {
        const auto known = pictures_.find(source);
        if (known != pictures_.end())
            return known->second.get();
        SurfacePtr& surface = pictures_[source];
        for (const std::string& path : Candidates(source)) {
            surface = LoadPicture(path);
            if (surface)
                break;
        }
        return surface.get();
    }

    std::vector<std::string> Candidates(std::string source) const
    {
        std::vector<std::string> paths;
        if (source.empty() || source.find("://") != std::string::npos || source.rfind("data:", 0) == 0) {
            if (source.rfind("file://", 0) != 0)
                return paths;
            source.erase(0, 7);
        }
        std::replace(source.begin(), source.end(), '\\', '/');
        const std::size_t cut = source.find_first_of("?#");
        if (cut != std::string::npos)
            source.resize(cut);
        std::vector<std::string> spellings {source};
        if (const std::string decoded = PercentDecoded(source); decoded != source)
            spellings.push_back(decoded);
        for (const std::string& spelling : spellings) {
            if (spelling.empty())
                continue;
            if (spelling.front() == '/') {
                paths.push_back(spelling);
                continue;
            }
            if (!options_.SiteFolder.empty()) {
                paths.push_back(options_.SiteFolder + "hPages/" + spelling);
                paths.push_back(options_.SiteFolder + spelling);
            }
            if (!options_.DocumentFolder.empty())
                paths.push_back(options_.DocumentFolder + spelling);
        }
        return paths;
    }

    static SurfacePtr LoadPicture(const std::string& path)
    {
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error))
            return nullptr;
        GError* failure = nullptr;
        std::unique_ptr<GdkPixbuf, GObjectUnref> pixbuf(gdk_pixbuf_new_from_file(path.c_str(), &failure));
        if (!pixbuf) {
            g_clear_error(&failure);
            return nullptr;
        }
        // Pixels as Cairo keeps them: native-endian ARGB, premultiplied.
        const int width = gdk_pixbuf_get_width(pixbuf.get());
        const int height = gdk_pixbuf_get_height(pixbuf.get());
        const int channels = gdk_pixbuf_get_n_channels(pixbuf.get());
        const bool alpha = gdk_pixbuf_get_has_alpha(pixbuf.get());
        if (width <= 0 || height <= 0 || channels < 3 || gdk_pixbuf_get_bits_per_sample(pixbuf.get()) != 8)
            return nullptr;
        SurfacePtr surface(cairo_image_surface_create(alpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, width, height));
        if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
            return nullptr;
        cairo_surface_flush(surface.get());
        const guchar* from = gdk_pixbuf_read_pixels(pixbuf.get());
        const int fromStride = gdk_pixbuf_get_rowstride(pixbuf.get());
        unsigned char* to = cairo_image_surface_get_data(surface.get());
        const int toStride = cairo_image_surface_get_stride(surface.get());
        for (int row = 0; row < height; ++row) {
            const guchar* pixel = from + static_cast<std::ptrdiff_t>(row) * fromStride;
            auto* out = reinterpret_cast<std::uint32_t*>(to + static_cast<std::ptrdiff_t>(row) * toStride);
            for (int column = 0; column < width; ++column, pixel += channels) {
                const std::uint32_t a = alpha ? pixel[3] : 255;
                const auto premultiplied = [a](std::uint32_t c) { return (c * a + 127) / 255; };
                out[column] = (a << 24) | (premultiplied(pixel[0]) << 16) | (premultiplied(pixel[1]) << 8)
                    | premultiplied(pixel[2]);
            }
        }
        cairo_surface_mark_dirty(surface.get());
        return surface;
    }

    const TQuizDocument& doc_;
    const TExamPdfOptions& options_;
    CairoPtr cr_;
    ContextPtr context_;
    FontPtr body_;
    std::vector<LayoutPtr> layouts_;
    std::map<std::string, SurfacePtr> pictures_;
    double numberWidth_ = 0;
    double boxWidth_ = 0;
};

void WritePdf(const TQuizDocument& doc, const std::vector<PrintQuestion>& questions, const TExamPdfOptions& options,
    const std::string& path)
{
    std::string bytes = ExamDocument(doc, options).Render(questions);
    WriteFileAtomically(path, bytes, Durability::Regenerable);
}

} // namespace

void WriteExamPdf(const TQuizDocument& doc, const TExamPdfOptions& options, const std::string& path)
{
    WritePdf(doc, CollectQuestions(doc.Quests), options, path);
}

void WriteExamPdf(
    const TQuizDocument& doc, const TQuestViews& quests, const TExamPdfOptions& options, const std::string& path)
{
    WritePdf(doc, CollectQuestions(quests), options, path);
}

std::string ExamPdfPath(const std::string& htmlPath)
{
    const std::size_t dot = htmlPath.rfind('.');
    const std::size_t slash = htmlPath.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return htmlPath + ".pdf";
    return htmlPath.substr(0, dot) + ".pdf";
}

} // namespace tavimor
