#include "session/QuizSession.h"

#include "base/Errors.h"
#include "base/FileIo.h"
#include "exchange/GiftWriter.h"
#include "exchange/MoodleXmlWriter.h"
#include "exchange/QuestionBanks.h"
#include "exchange/SpreadsheetCsv.h"
#include "model/DocumentJson.h"
#include "model/TextExchange.h"
#include "print/ExamPdf.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace tavimor {

namespace {

using Part = SessionChange::Part;

std::string Numbered(const char* what, int n)
{
    return what + std::to_string(n);
}

const char* PageName(int page)
{
    static constexpr const char* kNames[THMPList::kPageCount] = {"Entr\351e", "\xC9valuation", "R\xE9sultats"};
    return page >= 0 && page < THMPList::kPageCount ? kNames[page] : "";
}

// The name of a store of the editor, after what the author sees change.
std::string UpdateName(const TQuest& before, const TQuest& after, int n)
{
    // Whether the change is in these fields and no other.
    const auto only = [&before, &after](auto... fields) {
        TQuest probe = before;
        ((probe.*fields = after.*fields), ...);
        return SameForAuthor(probe, after);
    };
    if (only(&TQuest::QText))
        return Numbered("la modification du texte de la question ", n);
    if (only(&TQuest::GoodRep))
        return Numbered("le choix de la bonne r\xE9ponse de la question ", n);
    if (only(&TQuest::Columns))
        return Numbered("le changement du nombre de colonnes de la question ", n);
    if (only(&TQuest::Priority))
        return Numbered("le changement de priorit\xE9 de la question ", n);
    if (only(&TQuest::QType))
        return Numbered("le changement de type de la question ", n);
    if (only(&TQuest::Reps, &TQuest::NRep, &TQuest::GoodRep))
        return Numbered("la modification des r\xE9ponses de la question ", n);
    if (only(&TQuest::Mess, &TQuest::MessIdx, &TQuest::UseGenMess))
        return Numbered("la modification du message de la question ", n);
    if (only(&TQuest::UseExtFile, &TQuest::ExtFile, &TQuest::ExtLink))
        return Numbered("le changement du fichier joint de la question ", n);
    return Numbered("la modification de la question ", n);
}

bool SameIdentity(const QuizHeader& a, const QuizHeader& b)
{
    return a.AuthorLabel == b.AuthorLabel && a.AuthorName == b.AuthorName && a.EmailLabel == b.EmailLabel
        && a.Email == b.Email && a.InstitLabel == b.InstitLabel && a.Institution == b.Institution
        && a.UrlLabel == b.UrlLabel && a.Url == b.Url;
}

// A step that puts one part of the document back and forth between two values.
template <typename T, typename Access>
EditStep ReplaceStep(std::string name, Access access, T before, T after, SessionChange change)
{
    return EditStep {std::move(name),
        [access, after, change](TQuizDocument& doc) {
            access(doc) = after;
            return change;
        },
        [access, before, change](TQuizDocument& doc) {
            access(doc) = before;
            return change;
        }};
}

void CheckSide(int side)
{
    if (side != kWrongSide && side != kRightSide)
        throw ListIndexError(side);
}

std::vector<std::string>& Bank(TQuizDocument& doc, int side)
{
    return doc.Quests.GenMess[static_cast<std::size_t>(side)];
}

} // namespace

QuizSession::QuizSession(SessionOptions options)
    : options_(std::move(options))
    , doc_(NewDocument(options_.Defaults))
{
    if (options_.Gifs == nullptr)
        throw std::invalid_argument("a session needs the built-in images");
    site_ = std::make_unique<THKWZ>(doc_, *options_.Gifs);
}

QuizSession::~QuizSession() = default;

void QuizSession::AddListener(SessionListener& listener)
{
    listeners_.push_back(&listener);
}

void QuizSession::RemoveListener(SessionListener& listener)
{
    std::erase(listeners_, &listener);
}

void QuizSession::Notify(const SessionChange& change)
{
    // A listener may remove itself while it is told.
    for (SessionListener* listener : std::vector<SessionListener*>(listeners_))
        listener->DocumentChanged(change);
}

void QuizSession::NotifyState()
{
    for (SessionListener* listener : std::vector<SessionListener*>(listeners_))
        listener->StateChanged();
}

// ---------------------------------------------------------------------------
// Documents

void QuizSession::Replace(TQuizDocument doc, std::string path, int version, bool onDisk)
{
    doc_ = std::move(doc);
    path_ = std::move(path);
    fileVersion_ = version;
    history_.Clear(onDisk);
    Notify({Part::Document, 0});
    NotifyState();
}

void QuizSession::RememberPages() const
{
    if (!options_.RememberPages)
        return;
    for (int page = 1; page <= 2; ++page) {
        options_.RememberPages(page, THMPList::TextKind::Title, doc_.Pages.GetTitle(page));
        options_.RememberPages(page, THMPList::TextKind::Body, doc_.Pages.GetBody(page));
    }
}

void QuizSession::New()
{
    Replace(NewDocument(options_.Defaults), {}, kDocumentVersion, true);
}

LoadOutcome QuizSession::Open(const std::string& path)
{
    TQuizDocument read = NewDocument(options_.Defaults);
    LoadOutcome outcome = LoadDocument(read, path);
    if (outcome.refusal)
        return outcome;
    Replace(std::move(read), path, outcome.version, true);
    RememberPages();
    return outcome;
}

void QuizSession::Save()
{
    if (path_.empty())
        throw std::logic_error("an untitled document is saved with SaveAs");
    SaveDocument(doc_, path_);
    history_.MarkSaved();
    NotifyState();
}

void QuizSession::SaveAs(const std::string& path)
{
    SaveDocument(doc_, path);
    path_ = path;
    history_.MarkSaved();
    NotifyState();
}

void QuizSession::ImportText(const std::string& path)
{
    TQuizDocument read = NewDocument(options_.Defaults);
    ImportTextFile(read, path);
    Replace(std::move(read), {}, kDocumentVersion, false);
    RememberPages();
}

void QuizSession::ImportJson(std::string_view text, const std::string& sourceName)
{
    TQuizDocument read = NewDocument(options_.Defaults);
    DocumentFromJsonText(text, sourceName, read);
    Replace(std::move(read), {}, kDocumentVersion, false);
}

std::string QuizSession::ExportText(const std::string& path)
{
    std::string target = path.empty() ? ExportTextPath(path_) : path;
    ExportTextFile(doc_, target);
    return target;
}

std::string QuizSession::ExportJson() const
{
    return DocumentToJsonText(doc_, fileVersion_);
}

// ---------------------------------------------------------------------------
// Productions

void QuizSession::AimSite(THKWZ& site, const std::string& documentPath) const
{
    site.DocumentPath = documentPath;
    site.PrefsDir = PrefsDir();
    site.Notify = options_.Notify;
}

ProduceOutcome QuizSession::ProduceSite(const std::string& resumBody)
{
    AimSite(*site_, path_);
    site_->ResumBody = resumBody;
    return site_->Produce(true);
}

template <class Outcome, class Produce>
QuizSession::FileOutcome<Outcome> QuizSession::ProduceFromFile(const std::string& path, Produce produce) const
{
    FileOutcome<Outcome> result;
    TQuizDocument read = NewDocument(options_.Defaults);
    TQuestViews quests(read.Quests);
    const LoadOutcome outcome = LoadDocumentForProduction(read, quests, path);
    if (outcome.refusal)
        result.refusal = outcome.refusal;
    else
        result.produced = produce(read, quests);
    return result;
}

QuizSession::FileOutcome<ProduceOutcome> QuizSession::ProduceSiteOfFile(const std::string& path) const
{
    return ProduceFromFile<ProduceOutcome>(path, [&](const TQuizDocument& read, const TQuestViews& quests) {
        EnsureFolder(PrefsDir());
        THKWZ site(read, quests, *options_.Gifs);
        AimSite(site, path);
        site.ResumBody = read.Pages.GetBody(0);
        return site.Produce(true);
    });
}

QuizSession::FileOutcome<StandaloneOutcome> QuizSession::ProduceStandaloneOfFile(
    const std::string& path, const std::string& outputPath) const
{
    return ProduceFromFile<StandaloneOutcome>(path, [&](const TQuizDocument& read, const TQuestViews& quests) {
        StandaloneJob job;
        job.DocumentPath = path;
        job.PrefsDir = PrefsDir();
        job.ResumBody = read.Pages.GetBody(0);
        job.OutputPath = outputPath;
        return tavimor::ProduceStandalone(read, quests, *options_.Gifs, job);
    });
}

namespace {

// The PDF of the exam (key false) or of its key that site has just written
// as HTML, beside it; quests are the document's questions when it holds
// none (a document read for a production). Returns the file written.
std::string WriteExamPdfOf(const THKWZ& site, const TQuizDocument& doc, const TQuestViews* quests, bool key)
{
    TExamPdfOptions options;
    options.Key = key;
    options.Version = site.ExamVersion;
    options.QuizName = site.QuizName;
    options.SiteFolder = site.OutDir;
    const std::size_t slash = site.DocumentPath.rfind('/');
    if (slash != std::string::npos)
        options.DocumentFolder = site.DocumentPath.substr(0, slash + 1);
    const std::string path = ExamPdfPath(site.ExamPath(key));
    if (quests)
        WriteExamPdf(doc, *quests, options, path);
    else
        WriteExamPdf(doc, options, path);
    return path;
}

// The exam and its answer key of a document of questionCount questions,
// written by site, whose document path is set; with pdf, each followed by
// its PDF file.
ExamOutcome WriteExamWith(
    THKWZ& site, int questionCount, bool pdf, const TQuizDocument& doc, const TQuestViews* quests = nullptr)
{
    if (questionCount == 0)
        return {false, "Le document n'a aucune question: impossible de produire l'examen!", {}};
    // The folders of this document, made as a production makes them: after
    // another document was produced, the exam would otherwise land there.
    if (!site.SetFolders())
        return {false, THKWZ::kNoFileName, {}};
    ExamOutcome outcome {true, site.ExamAnnouncement(false), {}};
    for (const bool key : {false, true}) {
        site.WriteExam(key);
        outcome.Files.push_back(site.ExamPath(key));
        if (pdf)
            outcome.Files.push_back(WriteExamPdfOf(site, doc, quests, key));
    }
    if (pdf)
        outcome.Message
            += " Leurs PDF " + site.QuizName + "exm.pdf et " + site.QuizName + "sol.pdf l'ont \xE9t\xE9 aussi.";
    return outcome;
}

} // namespace

ExamOutcome QuizSession::WriteExam(bool pdf)
{
    AimSite(*site_, path_);
    return WriteExamWith(*site_, doc_.Quests.Count(), pdf, doc_);
}

ExamVersionsOutcome QuizSession::WriteExamVersions(const TExamVersionOptions& options)
{
    ExamVersionsOutcome outcome;
    if (doc_.Quests.Count() == 0) {
        outcome.Message = "Le document n'a aucune question: impossible de produire l'examen!";
        return outcome;
    }
    outcome.Seed = options.Seed;
    outcome.Versions = MakeExamVersions(doc_.Quests, options);
    THKWZ whole(doc_, *options_.Gifs);
    AimSite(whole, path_);
    if (!whole.SetFolders()) {
        outcome.Message = THKWZ::kNoFileName;
        return outcome;
    }
    std::vector<std::string> versionKeys;
    for (const TExamVersion& version : outcome.Versions) {
        const TQuizDocument printed = VersionDocument(doc_, version);
        THKWZ site(printed, *options_.Gifs);
        AimSite(site, path_);
        site.SetFolders();
        site.ExamVersion = std::string(1, version.Letter);
        site.WriteExam(false);
        site.WriteExam(true);
        outcome.VersionFiles.push_back({site.ExamPath(false)});
        versionKeys.push_back(site.ExamPath(true));
        if (options.Pdf) {
            outcome.VersionFiles.back().push_back(WriteExamPdfOf(site, printed, nullptr, false));
            versionKeys.push_back(WriteExamPdfOf(site, printed, nullptr, true));
        }
    }
    outcome.KeyFiles.push_back(
        whole.WriteExamVersionsKey(ExamVersionsKeyPage(doc_, outcome.Versions, options.Seed, whole.QuizName)));
    outcome.KeyFiles.insert(outcome.KeyFiles.end(), versionKeys.begin(), versionKeys.end());
    outcome.Written = true;
    const std::string last(1, outcome.Versions.back().Letter);
    outcome.Message = "Les " + std::to_string(outcome.Versions.size()) + " versions de l'examen (" + whole.QuizName
        + "exm-A.htm \xE0 " + whole.QuizName + "exm-" + last + ".htm), leurs corrig\xE9s et le corrig\xE9 commun "
        + whole.QuizName + "sol-versions.htm (graine " + std::to_string(options.Seed)
        + ") viennent d'\xEAtre cr\xE9\xE9s dans le dossier " + Utf8ToCp1252(whole.OutDir) + ".";
    if (options.Pdf)
        outcome.Message += " Chaque version et son corrig\xE9 l'ont \xE9t\xE9 aussi en PDF.";
    return outcome;
}

QuizSession::FileOutcome<ExamOutcome> QuizSession::WriteExamOfFile(const std::string& path, bool pdf) const
{
    return ProduceFromFile<ExamOutcome>(path, [&](const TQuizDocument& read, const TQuestViews& quests) {
        THKWZ site(read, quests, *options_.Gifs);
        AimSite(site, path);
        return WriteExamWith(site, quests.Count(), pdf, read, &quests);
    });
}

StandaloneOutcome QuizSession::ProduceStandalone(const std::string& resumBody, const std::string& outputPath)
{
    StandaloneJob job;
    job.DocumentPath = path_;
    job.PrefsDir = PrefsDir();
    job.ResumBody = resumBody;
    job.OutputPath = outputPath;
    return tavimor::ProduceStandalone(doc_, *options_.Gifs, job);
}

// ---------------------------------------------------------------------------
// Learning platforms

std::string QuizSession::ImportQuestions(TImportedBank bank, int after, const std::string& pictureFolder)
{
    std::string report = ImportReportText(bank);
    if (bank.Quests.empty())
        throw ImportError("Ce fichier ne contient aucune question \xE0 importer : Tavimor lit les questions \xE0 "
                          "choix multiple, vrai/faux et \xE0 trous. Rien n'a \xE9t\xE9 import\xE9.\n"
            + report);
    // A generic message the document does not have (a spreadsheet names
    // them by number) becomes the first one of its side.
    int unknownMessages = 0;
    for (TQuest& quest : bank.Quests) {
        for (const int side : {kWrongSide, kRightSide}) {
            const auto s = static_cast<std::size_t>(side);
            const auto& bankOfSide = doc_.Quests.GenMess[s];
            if (!quest.UseGenMess[s]
                || (quest.MessIdx[s] >= 0 && static_cast<std::size_t>(quest.MessIdx[s]) < bankOfSide.size()))
                continue;
            ++unknownMessages;
            quest.MessIdx[s] = 0;
            quest.UseGenMess[s] = !bankOfSide.empty();
        }
    }
    if (unknownMessages > 0)
        report += "\n" + std::to_string(unknownMessages)
            + " message(s) g\xE9n\xE9rique(s) demand\xE9(s) n'existent pas dans ce quiz : le premier message "
              "g\xE9n\xE9rique de leur c\xF4t\xE9 les remplace.";
    const int count = static_cast<int>(bank.Quests.size());
    if (doc_.Quests.Count() + count > 65535)
        throw Error("Le quiz compte " + std::to_string(doc_.Quests.Count()) + " questions et le fichier "
            + std::to_string(count) + " : un quiz en tient au plus 65535. Rien n'a \xE9t\xE9 import\xE9.");
    after = std::clamp(after, 0, doc_.Quests.Count());
    if (!bank.Pictures.empty()) {
        std::string folder = pictureFolder;
        if (folder.empty() && !path_.empty())
            folder = FolderPart(path_).empty() ? "./" : FolderPart(path_);
        if (folder.empty())
            throw Error("Enregistrez d'abord le quiz : les images du fichier import\xE9 sont \xE9"
                        "crites dans son dossier. Rien n'a \xE9t\xE9 import\xE9.");
        PlacePictures(bank, folder);
    }
    const int first = after + 1;
    auto quests = std::make_shared<const std::vector<TQuest>>(std::move(bank.Quests));
    Do(EditStep {"l'importation de " + std::to_string(count) + (count > 1 ? " questions" : " question"),
        [first, quests](TQuizDocument& doc) {
            doc.Quests.InsertQuests(first, *quests);
            return SessionChange {Part::QuestionList, first};
        },
        [first, count](TQuizDocument& doc) {
            doc.Quests.DeleteQuests(first, count);
            return SessionChange {Part::QuestionList, std::min(first, doc.Quests.Count())};
        }});
    return report;
}

// The file an export writes: the one asked for, else the document's name with suffix.
std::string QuizSession::ExportTarget(const std::string& path, const char* suffix) const
{
    if (!path.empty())
        return path;
    if (path_.empty())
        throw Error(THKWZ::kNoFileName);
    return BesideDocument(path_, suffix);
}

TPlatformExport QuizSession::ExportGift(const std::string& path)
{
    const std::string target = ExportTarget(path, ".gift");
    return ExportGiftFile(doc_, QuizNameOf(path_.empty() ? target : path_), target);
}

TPlatformExport QuizSession::ExportSpreadsheet(const std::string& path)
{
    TPlatformExport exported;
    exported.Text = SpreadsheetCsvText(doc_.Quests);
    return SaveExport(std::move(exported), ExportTarget(path, ".csv"));
}

TPlatformExport QuizSession::ExportMoodleXml(const std::string& path)
{
    const std::string target = ExportTarget(path, ".xml");
    return ExportMoodleXmlFile(doc_, path_.empty() ? target : path_, target);
}

TScormOutcome QuizSession::ProduceScormPackage(
    const std::string& resumBody, int passMark, const std::string& outputPath)
{
    TScormJob job;
    job.DocumentPath = path_;
    job.PrefsDir = PrefsDir();
    job.ResumBody = resumBody;
    job.OutputPath = outputPath;
    job.PassMark = passMark;
    return tavimor::ProduceScormPackage(doc_, *options_.Gifs, job);
}

HtmlParamsOutcome QuizSession::LoadParams(const std::string& path)
{
    THTMPrefs layout = doc_.Layout;
    HtmlParamsOutcome outcome = LoadHtmlParams(layout, path);
    if (outcome.Compatible && !(layout == doc_.Layout))
        Do(ReplaceStep("le chargement des param\xE8tres", [](TQuizDocument& doc) -> THTMPrefs& { return doc.Layout; },
            doc_.Layout, layout, {Part::Layout, 0}));
    return outcome;
}

void QuizSession::SaveParams(const std::string& path) const
{
    SaveHtmlParams(doc_.Layout, path);
}

// ---------------------------------------------------------------------------
// Edits

void QuizSession::Do(EditStep step)
{
    const SessionChange change = step.Redo(doc_);
    history_.Record(std::move(step));
    Notify(change);
    NotifyState();
}

const TQuest& QuizSession::QuestionAt(int n) const
{
    return doc_.Quests.Quest(n);
}

int QuizSession::AddQuestion(TRepType type)
{
    return AddQuestion(NewQuestion(type));
}

int QuizSession::AddQuestion(const TQuest& quest)
{
    const int n = doc_.Quests.Count() + 1;
    Do(EditStep {Numbered("l'ajout de la question ", n),
        [n, quest](TQuizDocument& doc) {
            doc.Quests.InsertQuest(n, quest);
            return SessionChange {Part::QuestionList, n};
        },
        [n](TQuizDocument& doc) {
            doc.Quests.DeleteQuest(static_cast<std::uint16_t>(n));
            return SessionChange {Part::QuestionList, std::min(n, doc.Quests.Count())};
        }});
    return n;
}

void QuizSession::DeleteQuestion(int n)
{
    const TQuest removed = QuestionAt(n);
    Do(EditStep {Numbered("la suppression de la question ", n),
        [n](TQuizDocument& doc) {
            doc.Quests.DeleteQuest(static_cast<std::uint16_t>(n));
            return SessionChange {Part::QuestionList, std::min(n, doc.Quests.Count())};
        },
        [n, removed](TQuizDocument& doc) {
            doc.Quests.InsertQuest(n, removed);
            return SessionChange {Part::QuestionList, n};
        }});
}

void QuizSession::MoveQuestion(int from, int to)
{
    QuestionAt(from);
    QuestionAt(to);
    if (from == to)
        return;
    Do(EditStep {Numbered("le d\xE9placement de la question ", from),
        [from, to](TQuizDocument& doc) {
            doc.Quests.Move(from - 1, to - 1);
            return SessionChange {Part::QuestionList, to};
        },
        [from, to](TQuizDocument& doc) {
            doc.Quests.Move(to - 1, from - 1);
            return SessionChange {Part::QuestionList, from};
        }});
}

void QuizSession::UpdateQuestion(int n, const TQuest& quest)
{
    const TQuest& before = QuestionAt(n);
    if (quest == before)
        return;
    const auto access = [n](TQuizDocument& doc) -> TQuest& { return doc.Quests.Quest(n); };
    if (SameForAuthor(before, quest)) {
        // Nothing the author sees: kept as the editor stored it, without a step.
        doc_.Quests.Quest(n) = quest;
        Notify({Part::Question, n});
        return;
    }
    Do(ReplaceStep(UpdateName(before, quest, n), access, before, quest, {Part::Question, n}));
}

void QuizSession::EditQuestion(int n, const std::string& name, const std::function<void(TQuest&)>& edit)
{
    TQuest quest = QuestionAt(n);
    edit(quest);
    if (quest == QuestionAt(n))
        return;
    const auto access = [n](TQuizDocument& doc) -> TQuest& { return doc.Quests.Quest(n); };
    Do(ReplaceStep(name, access, QuestionAt(n), quest, {Part::Question, n}));
}

void QuizSession::SetQuestionType(int n, TRepType type)
{
    EditQuestion(n, Numbered("le changement de type de la question ", n), [type](TQuest& q) {
        q.QType = type;
        if (type == TRepType::rOList)
            q.Columns = 0; // a cloze question lays out no columns
    });
}

void QuizSession::SetQuestionText(int n, const std::string& text)
{
    EditQuestion(n, Numbered("la modification du texte de la question ", n), [&text](TQuest& q) { q.QText = text; });
}

void QuizSession::SetChoices(int n, const std::vector<std::string>& choices)
{
    EditQuestion(n, Numbered("la modification des r\xE9ponses de la question ", n), [&choices](TQuest& q) {
        q.Reps = choices;
        q.NRep = static_cast<std::uint16_t>(choices.size());
        if (q.GoodRep >= static_cast<int>(choices.size()))
            q.GoodRep = -1;
    });
}

void QuizSession::SetRightChoice(int n, int choice)
{
    const int count = static_cast<int>(QuestionAt(n).Reps.size());
    if (choice < -1 || choice >= count)
        throw ListIndexError(choice);
    EditQuestion(
        n, Numbered("le choix de la bonne r\xE9ponse de la question ", n), [choice](TQuest& q) { q.GoodRep = choice; });
}

void QuizSession::SetColumns(int n, int columns)
{
    if (columns < 0 || columns > 0xFFFF)
        throw ListIndexError(columns);
    EditQuestion(n, Numbered("le changement du nombre de colonnes de la question ", n),
        [columns](TQuest& q) { q.Columns = static_cast<std::uint16_t>(columns); });
}

void QuizSession::SetPriority(int n, int priority)
{
    EditQuestion(n, Numbered("le changement de priorit\xE9 de la question ", n),
        [priority](TQuest& q) { q.Priority = priority; });
}

void QuizSession::SetFeedback(int n, int side, bool useGeneric, int genericIndex, const std::string& ownText)
{
    CheckSide(side);
    EditQuestion(n, Numbered("la modification du message de la question ", n), [&](TQuest& q) {
        const auto s = static_cast<std::size_t>(side);
        q.UseGenMess[s] = useGeneric;
        q.MessIdx[s] = genericIndex;
        q.Mess[s] = ownText;
    });
}

void QuizSession::SetAttachedFile(int n, bool use, const std::string& linkCaption, const std::string& file)
{
    EditQuestion(n, Numbered("le changement du fichier joint de la question ", n), [&](TQuest& q) {
        q.UseExtFile = use;
        q.ExtLink = linkCaption;
        q.ExtFile = file;
    });
}

void QuizSession::SetHeader(const QuizHeader& header)
{
    if (header == doc_.Header)
        return;
    const char* name = SameIdentity(header, doc_.Header) ? "la modification des param\xE8tres du quiz"
                                                         : "la modification des informations personnelles";
    Do(ReplaceStep(
        name, [](TQuizDocument& doc) -> QuizHeader& { return doc.Header; }, doc_.Header, header, {Part::Header, 0}));
}

void QuizSession::SetNoAnswerMessage(const std::string& text)
{
    if (text == doc_.Quests.NoAnswerMess)
        return;
    EditStep step = ReplaceStep("la modification du message de non-r\xE9ponse",
        [](TQuizDocument& doc) -> std::string& { return doc.Quests.NoAnswerMess; }, doc_.Quests.NoAnswerMess, text,
        {Part::Messages, -1});
    step.MergeKey = "no-answer";
    Do(std::move(step));
}

int QuizSession::AddGenericMessage(int side, const std::string& text)
{
    CheckSide(side);
    std::vector<std::string> bank = Bank(doc_, side);
    bank.push_back(text);
    Do(ReplaceStep("l'ajout d'un message g\xE9n\xE9rique",
        [side](TQuizDocument& doc) -> std::vector<std::string>& { return Bank(doc, side); }, Bank(doc_, side), bank,
        {Part::Messages, side}));
    return static_cast<int>(bank.size()) - 1;
}

void QuizSession::SetGenericMessage(int side, int k, const std::string& text)
{
    CheckSide(side);
    std::vector<std::string> bank = Bank(doc_, side);
    if (k < 0 || static_cast<std::size_t>(k) >= bank.size())
        throw ListIndexError(k);
    if (bank[static_cast<std::size_t>(k)] == text)
        return;
    bank[static_cast<std::size_t>(k)] = text;
    EditStep step = ReplaceStep("la modification d'un message g\xE9n\xE9rique",
        [side](TQuizDocument& doc) -> std::vector<std::string>& { return Bank(doc, side); }, Bank(doc_, side), bank,
        {Part::Messages, side});
    step.MergeKey = "generic " + std::to_string(side) + " " + std::to_string(k);
    Do(std::move(step));
}

void QuizSession::DeleteGenericMessage(int side, int k)
{
    CheckSide(side);
    const std::vector<std::string> bank = Bank(doc_, side);
    if (k < 0 || static_cast<std::size_t>(k) >= bank.size())
        throw ListIndexError(k);
    if (bank.size() <= 1)
        return;
    const auto s = static_cast<std::size_t>(side);
    std::vector<std::int32_t> indexes;
    indexes.reserve(static_cast<std::size_t>(doc_.Quests.Count()));
    for (int n = 1; n <= doc_.Quests.Count(); ++n)
        indexes.push_back(doc_.Quests.Quest(n).MessIdx[s]);
    Do(EditStep {"la suppression d'un message g\xE9n\xE9rique",
        [side, k](TQuizDocument& doc) {
            std::vector<std::string>& shown = Bank(doc, side);
            shown.erase(shown.begin() + k);
            doc.Quests.ShiftMessIdx(k, side);
            return SessionChange {Part::Messages, side};
        },
        [side, s, bank, indexes](TQuizDocument& doc) {
            Bank(doc, side) = bank;
            for (std::size_t i = 0; i < indexes.size(); ++i)
                doc.Quests.Quest(static_cast<int>(i) + 1).MessIdx[s] = indexes[i];
            return SessionChange {Part::Messages, side};
        }});
}

void QuizSession::SetPageText(int page, const std::string& title, const std::string& body)
{
    const THMessPage before {doc_.Pages.GetTitle(page), doc_.Pages.GetBody(page)};
    const THMessPage after {title, body};
    if (before == after)
        return;
    // Typed texts are not the ones the settings keep (only those a file brings).
    const auto put = [page](TQuizDocument& doc, const THMessPage& text) {
        doc.Pages.SetTitle(page, text.Title);
        doc.Pages.SetBody(page, text.Body);
        return SessionChange {Part::Pages, page};
    };
    Do(EditStep {std::string("la modification de la page \xAB ") + PageName(page) + " \xBB",
        [put, after](TQuizDocument& doc) { return put(doc, after); },
        [put, before](TQuizDocument& doc) { return put(doc, before); }});
}

void QuizSession::SetLayoutFlags(bool menuLeft, bool noBorder, bool distinctPages)
{
    THTMPrefs layout = doc_.Layout;
    layout.MenuLeft = menuLeft;
    layout.NoBorder = noBorder;
    layout.DistinctPages = distinctPages;
    if (layout == doc_.Layout)
        return;
    Do(ReplaceStep("la modification de la mise en page", [](TQuizDocument& doc) -> THTMPrefs& { return doc.Layout; },
        doc_.Layout, layout, {Part::Layout, 0}));
}

void QuizSession::SetStyle(const TStylePrefs& style)
{
    if (style == doc_.Style)
        return;
    Do(ReplaceStep("la modification du style", [](TQuizDocument& doc) -> TStylePrefs& { return doc.Style; }, doc_.Style,
        style, {Part::Style, 0}));
}

// ---------------------------------------------------------------------------
// History

void QuizSession::Undo()
{
    const SessionChange change = history_.Undo(doc_);
    Notify(change);
    NotifyState();
}

void QuizSession::Redo()
{
    const SessionChange change = history_.Redo(doc_);
    Notify(change);
    NotifyState();
}

void QuizSession::SetCurrentQuestion(int n)
{
    if (n < 0 || n > doc_.Quests.Count())
        throw ListIndexError(static_cast<long long>(n) - 1);
    doc_.Quests.CurQ = static_cast<std::uint16_t>(n);
}

} // namespace tavimor
