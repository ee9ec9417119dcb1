#include "exchange/ScormPackage.h"

#include "base/Cp1252.h"
#include "base/Errors.h"
#include "base/FileIo.h"
#include "exchange/ZipLibrary.h"
#include "generator/StandaloneQuiz.h"

#include <pugixml.hpp>

#include <cctype>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace tavimor {
namespace {

constexpr const char* kPassMarkLine = "var PASS_MARK = 50;";

// Text without markup and with its blanks run together, for titles.
std::string PlainTitle(const std::string& html)
{
    std::string title;
    bool inTag = false;
    for (const char c : html) {
        if (c == '<') {
            inTag = true;
        } else if (c == '>' && inTag) {
            inTag = false;
        } else if (!inTag) {
            const bool blank = static_cast<unsigned char>(c) <= ' ';
            if (blank && (title.empty() || title.back() == ' '))
                continue;
            title += blank ? ' ' : c;
        }
    }
    while (!title.empty() && title.back() == ' ')
        title.pop_back();
    return Cp1252ToUtf8ResolvingReferences(title);
}

struct ZipDeleter {
    void operator()(zip_t* archive) const { ZipLibrary::Get().discard(archive); }
};

struct SourceDeleter {
    void operator()(zip_source_t* source) const { ZipLibrary::Get().source_free(source); }
};

[[noreturn]] void ZipFailure(zip_error_t* error)
{
    const std::string what = error != nullptr ? ZipLibrary::Get().error_strerror(error) : "?";
    throw Error("ZIP: " + what);
}

// An XML name (what manifest identifiers must be) made from the quiz name.
std::string Identifier(const std::string& quizName)
{
    std::string id = "tavimor-";
    for (const char c : quizName) {
        const auto byte = static_cast<unsigned char>(c);
        id += (byte < 0x80 && (std::isalnum(byte) || c == '-' || c == '_' || c == '.')) ? c : '_';
    }
    return id;
}

} // namespace

std::string ScormManifest(const std::string& title, const std::string& identifier, int passMark,
    const std::string& launch, const std::vector<std::string>& files)
{
    pugi::xml_document xml;
    pugi::xml_node declaration = xml.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";

    pugi::xml_node manifest = xml.append_child("manifest");
    manifest.append_attribute("identifier") = identifier.c_str();
    manifest.append_attribute("version") = "1.0";
    manifest.append_attribute("xmlns") = "http://www.imsproject.org/xsd/imscp_rootv1p1p2";
    manifest.append_attribute("xmlns:adlcp") = "http://www.adlnet.org/xsd/adlcp_rootv1p2";
    manifest.append_attribute("xmlns:xsi") = "http://www.w3.org/2001/XMLSchema-instance";
    manifest.append_attribute("xsi:schemaLocation") = "http://www.imsproject.org/xsd/imscp_rootv1p1p2 "
                                                      "imscp_rootv1p1p2.xsd "
                                                      "http://www.imsglobal.org/xsd/imsmd_rootv1p2p1 "
                                                      "imsmd_rootv1p2p1.xsd "
                                                      "http://www.adlnet.org/xsd/adlcp_rootv1p2 adlcp_rootv1p2.xsd";

    pugi::xml_node metadata = manifest.append_child("metadata");
    metadata.append_child("schema").text().set("ADL SCORM");
    metadata.append_child("schemaversion").text().set("1.2");

    const std::string organizationId = identifier + "-organization";
    const std::string resourceId = identifier + "-sco";
    const std::string plainTitle = PlainTitle(title);
    pugi::xml_node organizations = manifest.append_child("organizations");
    organizations.append_attribute("default") = organizationId.c_str();
    pugi::xml_node organization = organizations.append_child("organization");
    organization.append_attribute("identifier") = organizationId.c_str();
    organization.append_child("title").text().set(plainTitle.c_str());
    pugi::xml_node item = organization.append_child("item");
    item.append_attribute("identifier") = (identifier + "-item").c_str();
    item.append_attribute("identifierref") = resourceId.c_str();
    item.append_attribute("isvisible") = "true";
    item.append_child("title").text().set(plainTitle.c_str());
    item.append_child("adlcp:masteryscore").text().set(passMark);

    pugi::xml_node resource = manifest.append_child("resources").append_child("resource");
    resource.append_attribute("identifier") = resourceId.c_str();
    resource.append_attribute("type") = "webcontent";
    resource.append_attribute("adlcp:scormtype") = "sco";
    resource.append_attribute("href") = launch.c_str();
    for (const std::string& file : files)
        resource.append_child("file").append_attribute("href") = file.c_str();

    std::ostringstream out;
    xml.save(out, "  ", pugi::format_indent, pugi::encoding_utf8);
    return out.str();
}

std::string ScormAdapterScript(int passMark)
{
    if (passMark < 0 || passMark > 100)
        throw std::invalid_argument("pass mark outside 0-100");
    std::string script(ScormAdapterSource());
    const std::size_t at = script.find(kPassMarkLine);
    if (at == std::string::npos)
        throw std::logic_error("the adapter script has no pass mark line");
    script.replace(at, std::string_view(kPassMarkLine).size(), "var PASS_MARK = " + std::to_string(passMark) + ";");
    return script;
}

std::string ScormZip(const std::string& manifest, const std::vector<TScormFile>& files)
{
    const ZipLibrary& zip = ZipLibrary::Get();
    zip_error_t error;
    zip.error_init(&error);
    std::unique_ptr<zip_source_t, SourceDeleter> buffer(zip.source_buffer_create(nullptr, 0, 0, &error));
    if (!buffer)
        ZipFailure(&error);
    // The archive takes a reference to the buffer; the kept one reads the result.
    zip.source_keep(buffer.get());
    std::unique_ptr<zip_t, ZipDeleter> archive(zip.open_from_source(buffer.get(), ZIP_TRUNCATE, &error));
    if (!archive) {
        zip.source_free(buffer.get());
        ZipFailure(&error);
    }

    const auto add = [&](const std::string& name, const std::string& bytes) {
        zip_source_t* source = zip.source_buffer(archive.get(), bytes.data(), bytes.size(), 0);
        if (source == nullptr)
            ZipFailure(zip.get_error(archive.get()));
        if (zip.file_add(archive.get(), name.c_str(), source, ZIP_FL_ENC_UTF_8) < 0) {
            zip.source_free(source);
            ZipFailure(zip.get_error(archive.get()));
        }
    };
    add("imsmanifest.xml", manifest);
    for (const TScormFile& file : files)
        add(file.Name, file.Bytes);
    // zip_close writes into the buffer and frees the archive.
    if (zip.close(archive.get()) != 0)
        ZipFailure(zip.get_error(archive.get()));
    archive.release();

    zip_stat_t stat;
    if (zip.source_stat(buffer.get(), &stat) != 0 || zip.source_open(buffer.get()) != 0)
        ZipFailure(zip.source_error(buffer.get()));
    std::string bytes(static_cast<std::size_t>(stat.size), '\0');
    const zip_int64_t read = zip.source_read(buffer.get(), bytes.data(), stat.size);
    zip.source_close(buffer.get());
    if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size)
        ZipFailure(zip.source_error(buffer.get()));
    return bytes;
}

std::string ScormPackageBytes(
    const TQuizDocument& doc, const std::string& quizName, int passMark, const std::string& page)
{
    std::string title = doc.Pages.GetTitle(0);
    if (PlainTitle(title).empty())
        title = Utf8ToCp1252(quizName);
    const std::string manifest
        = ScormManifest(title, Identifier(quizName), passMark, kScormLaunchPage, {kScormLaunchPage});
    return ScormZip(manifest, {{kScormLaunchPage, page}});
}

std::string ScormPackagePath(const std::string& documentPath)
{
    return BesideDocument(documentPath, "-scorm.zip");
}

TScormOutcome ProduceScormPackage(const TQuizDocument& doc, const GifSource& gifs, const TScormJob& job)
{
    StandaloneJob page;
    page.DocumentPath = job.DocumentPath;
    page.PrefsDir = job.PrefsDir;
    page.ResumBody = job.ResumBody;
    page.HostScript = ScormAdapterScript(job.PassMark);
    const StandaloneBuild build = BuildStandalone(doc, gifs, page);

    TScormOutcome outcome;
    if (build.Page.empty()) {
        outcome.Message = build.Message;
        return outcome;
    }
    outcome.OutputPath = job.OutputPath.empty() ? ScormPackagePath(job.DocumentPath) : job.OutputPath;
    // The quiz page in a package: made again from the document at any time,
    // as the page itself.
    WriteFileAtomically(outcome.OutputPath,
        ScormPackageBytes(doc, QuizNameOf(job.DocumentPath), job.PassMark, build.Page), Durability::Regenerable);
    outcome.Produced = true;
    outcome.Message = "Le paquet SCORM " + Utf8ToCp1252(outcome.OutputPath) + " vient d'\xEAtre cr\xE9\xE9."
        + PicturesLeftOut(build.MissingPictures);
    return outcome;
}

} // namespace tavimor
