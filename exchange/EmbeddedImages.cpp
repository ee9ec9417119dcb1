#include "exchange/EmbeddedImages.h"

#include "exchange/PlatformQuestion.h"
#include "generator/TeacherHtml.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace tavimor {
namespace {

namespace fs = std::filesystem;

// Larger files are not carried: a platform refuses them and the export would swell.
constexpr std::uintmax_t kMaxPictureBytes = 20u * 1024u * 1024u;

constexpr std::array<std::string_view, 8> kPictureExtensions {
    ".gif", ".jpg", ".jpeg", ".png", ".svg", ".webp", ".bmp", ".ico"};

bool IsPicture(const fs::path& path)
{
    std::string extension = path.extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return std::find(kPictureExtensions.begin(), kPictureExtensions.end(), extension) != kPictureExtensions.end();
}

std::string PercentEncode(std::string_view name)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '-' || c == '_' || c == '.' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
    }
    return out;
}

std::string ReadPicture(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// name with "-k" before its extension.
std::string NumberedName(const std::string& name, int k)
{
    const std::size_t point = name.rfind('.');
    const std::string suffix = "-" + std::to_string(k);
    if (point == std::string::npos || point == 0)
        return name + suffix;
    return name.substr(0, point) + suffix + name.substr(point);
}

} // namespace

std::vector<TImageSource> ImageSources(std::string_view html)
{
    std::vector<TImageSource> sources;
    ForEachImageSourceSpan(html, [&](const std::string& src, std::string_view written) {
        sources.push_back({static_cast<std::size_t>(written.data() - html.data()), written.size(), src});
    });
    return sources;
}

ImageEmbedder::ImageEmbedder(const std::string& documentPath, std::string prefix)
    : prefix_(std::move(prefix))
{
    const fs::path folder = fs::path(documentPath).parent_path();
    documentFolder_ = folder.empty() ? std::string("./") : folder.string() + "/";
    pagesFolder_ = (folder / QuizNameOf(documentPath) / "hPages").string() + "/";
}

std::optional<std::string> ImageEmbedder::Locate(const std::string& source) const
{
    std::optional<std::string> path = PictureFile(source, pagesFolder_);
    if (!path)
        return std::nullopt; // a web address, data: or an absolute path
    for (const std::string& base : {pagesFolder_, documentFolder_}) {
        path = PictureFile(source, base);
        std::error_code error;
        if (IsPicture(*path) && fs::is_regular_file(*path, error) && fs::file_size(*path, error) <= kMaxPictureBytes
            && !error)
            return path;
    }
    return std::string();
}

std::string ImageEmbedder::Embed(
    std::string_view html, std::vector<TEmbeddedFile>& files, std::vector<std::string>& missing)
{
    std::string out;
    std::size_t copied = 0;
    for (const TImageSource& source : ImageSources(html)) {
        const std::optional<std::string> path = Locate(source.Value);
        if (!path)
            continue;
        if (path->empty()) {
            missing.push_back(source.Value);
            continue;
        }
        const std::string baseName = fs::path(*path).filename().string();
        std::string name = baseName;
        bool known = false;
        for (int k = 2;; ++k) {
            const auto found
                = std::find_if(files.begin(), files.end(), [&](const TEmbeddedFile& f) { return f.Name == name; });
            if (found == files.end())
                break;
            if (found->Path == *path) {
                known = true;
                break;
            }
            name = NumberedName(baseName, k);
        }
        if (!known) {
            auto cached = bytesByPath_.find(*path);
            if (cached == bytesByPath_.end())
                cached = bytesByPath_.emplace(*path, ReadPicture(*path)).first;
            files.push_back({name, *path, cached->second});
        }
        out.append(html.substr(copied, source.At - copied));
        out += prefix_ + PercentEncode(name);
        copied = source.At + source.Length;
    }
    out.append(html.substr(copied));
    return out;
}

} // namespace tavimor
