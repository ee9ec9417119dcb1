#include "app/DocumentCommands.h"

#include "app/ErrorBoundary.h"
#include "app/FileDialogs.h"
#include "app/ImportReportDialog.h"
#include "app/MessageBoxes.h"
#include "app/SessionBridge.h"
#include "app/TextCodec.h"
#include "exchange/PlatformQuestion.h"
#include "exchange/QuestionBanks.h"
#include "model/TextExchange.h"
#include "session/QuizSession.h"

#include <QDir>
#include <QFileInfo>

namespace tavimor {

namespace {

const QString kKwzFilter = QStringLiteral("Fichiers KWZ (*.kwz)");
const QString kTxtFilter = QStringLiteral("Fichiers TXT (*.txt)");
const QString kOpenTitle = QStringLiteral("Ouverture de fichiers");
const QString kSaveTitle = QStringLiteral("Enregistrer sous");

QString Doing(const QString& what, const QString& path)
{
    return what + Quoted(QFileInfo(path).fileName()) + QStringLiteral(" :");
}

} // namespace

TDocumentCommands::TDocumentCommands(QWidget& window, TSessionBridge& bridge, Hooks hooks)
    : window_(window)
    , bridge_(bridge)
    , hooks_(std::move(hooks))
{
}

QuizSession& TDocumentCommands::Session() const
{
    return bridge_.Session();
}

QString TDocumentCommands::DocumentName() const
{
    return QFileInfo(PathFromCore(Session().Path())).fileName();
}

QString TDocumentCommands::ChooseFile(
    const QString& title, const QString& filter, bool save, const QString& fileName, const QString& suffix)
{
    const QString current = PathFromCore(Session().Path());
    QString folder = current.isEmpty() ? QDir::currentPath() : QFileInfo(current).absolutePath();
    if (!fileName.isEmpty())
        folder = QDir(folder).filePath(fileName);
    return ChooseFileWithDialog(&window_,
        {title, folder, filter, save ? QStringLiteral("SaveDialog") : QStringLiteral("OpenDialog"),
            save ? suffix : QString(), save});
}

QString TDocumentCommands::ProposedExport(const char* suffix) const
{
    if (Session().Path().empty())
        return {};
    return QFileInfo(PathFromCore(BesideDocument(Session().Path(), suffix))).fileName();
}

bool TDocumentCommands::MayDiscardChanges()
{
    if (!Session().IsModified())
        return true;
    const QString name = Session().Path().empty() ? QStringLiteral("sans titre") : DocumentName();
    switch (AskSaveChanges(&window_, name)) {
    case SaveAnswer::Save:
        return Save();
    case SaveAnswer::Discard:
        return true;
    case SaveAnswer::Cancel:
        break;
    }
    return false;
}

void TDocumentCommands::New()
{
    if (!MayDiscardChanges())
        return;
    if (hooks_.RefreshDefaults)
        hooks_.RefreshDefaults();
    Session().New();
}

void TDocumentCommands::Open()
{
    if (!MayDiscardChanges())
        return;
    const QString path = ChooseFile(kOpenTitle, kKwzFilter, false);
    if (!path.isEmpty())
        OpenDocument(path);
}

bool TDocumentCommands::OpenDocument(const QString& path)
{
    const QString doing = Doing(QStringLiteral("Impossible d'ouvrir "), path);
    if (hooks_.RefreshDefaults)
        hooks_.RefreshDefaults();
    LoadOutcome outcome;
    InContext(doing, [&] { outcome = Session().Open(PathToCore(path)); });
    if (outcome.refusal) {
        ShowInfo(&window_, doing + QLatin1Char('\n') + FromCore(*outcome.refusal));
        return false;
    }
    if (hooks_.Opened)
        hooks_.Opened();
    return true;
}

bool TDocumentCommands::Save()
{
    if (Session().Path().empty())
        return SaveAs();
    InContext(Doing(QStringLiteral("Impossible d'enregistrer "), PathFromCore(Session().Path())),
        [this] { Session().Save(); });
    return true;
}

bool TDocumentCommands::SaveAs()
{
    const QString path = ChooseFile(kSaveTitle, kKwzFilter, true);
    if (path.isEmpty())
        return false;
    InContext(Doing(QStringLiteral("Impossible d'enregistrer "), path), [&] { Session().SaveAs(PathToCore(path)); });
    return true;
}

void TDocumentCommands::Import()
{
    if (!MayDiscardChanges())
        return;
    const QString path = ChooseFile(kOpenTitle, kTxtFilter, false);
    if (path.isEmpty())
        return;
    if (hooks_.RefreshDefaults)
        hooks_.RefreshDefaults();
    InContext(Doing(QStringLiteral("Impossible d'importer "), path), [&] { Session().ImportText(PathToCore(path)); });
}

void TDocumentCommands::Export()
{
    // An untitled document is named first, and nothing is exported.
    if (Session().Path().empty()) {
        SaveAs();
        return;
    }
    const std::string path = ExportTextPath(Session().Path());
    InContext(Doing(QStringLiteral("Impossible d'exporter "), PathFromCore(path)), [&] { Session().ExportText(path); });
    ShowInfo(&window_,
        QStringLiteral("Un fichier du nom de ") + QFileInfo(PathFromCore(path)).fileName()
            + QStringLiteral(" vient d'être produit dans le dossier ") + QStringLiteral("de Tavimor."));
}

// ---------------------------------------------------------------------------
// Learning platforms

namespace {

QString BankFilter(TBankFormat format)
{
    switch (format) {
    case TBankFormat::Gift:
        return QStringLiteral("Fichiers GIFT (*.gift *.txt)");
    case TBankFormat::MoodleXml:
        return QStringLiteral("Fichiers Moodle XML (*.xml)");
    case TBankFormat::Aiken:
        return QStringLiteral("Fichiers Aiken (*.txt)");
    case TBankFormat::Spreadsheet:
        return QStringLiteral("Tableaux CSV (*.csv *.txt)");
    }
    return {};
}

} // namespace

void TDocumentCommands::ImportBank(TBankFormat format)
{
    const QString formatName = QString::fromLatin1(BankFormatName(format));
    const QString path = ChooseFile(QStringLiteral("Importer (") + formatName + QStringLiteral(")"),
        BankFilter(format) + QStringLiteral(";;Tous les fichiers (*)"), false);
    if (path.isEmpty())
        return;
    std::string report;
    InContext(Doing(QStringLiteral("Impossible d'importer "), path), [&] {
        TImportedBank bank = ReadQuestionBankFile(format, PathToCore(path));
        report = Session().ImportQuestions(std::move(bank), Session().Document().Quests.CurQ);
    });
    TImportReportDialog dialog(
        QStringLiteral("Importation de ") + QFileInfo(path).fileName(), FromCore(report), &window_);
    dialog.exec();
}

namespace {

// "Le fichier X vient d'être produit dans le dossier Y." and the notes of the export.
QString ExportMessage(const TPlatformExport& result)
{
    const QFileInfo file(PathFromCore(result.Path));
    QString message = QStringLiteral("Le fichier ") + file.fileName()
        + QStringLiteral(" vient d'être produit dans le dossier ") + file.absolutePath() + QLatin1Char('.');
    for (const std::string& note : result.Notes)
        message += QLatin1Char('\n') + FromCore(note);
    return message;
}

} // namespace

void TDocumentCommands::ExportForPlatform(const QString& title, const QString& filter, const char* suffix,
    const std::function<TPlatformExport(const std::string& path)>& write)
{
    const QString path = ChooseFile(title, filter, true, ProposedExport(suffix), QString::fromLatin1(suffix).mid(1));
    if (path.isEmpty())
        return;
    TPlatformExport result;
    InContext(Doing(QStringLiteral("Impossible d'exporter "), path), [&] { result = write(PathToCore(path)); });
    ShowInfo(&window_, ExportMessage(result));
}

void TDocumentCommands::ExportGift()
{
    ExportForPlatform(QStringLiteral("Exporter (GIFT)"), QStringLiteral("Fichiers GIFT (*.gift)"), ".gift",
        [this](const std::string& path) { return Session().ExportGift(path); });
}

void TDocumentCommands::ExportSpreadsheet()
{
    ExportForPlatform(QStringLiteral("Exporter (tableur)"), QStringLiteral("Tableaux CSV (*.csv)"), ".csv",
        [this](const std::string& path) { return Session().ExportSpreadsheet(path); });
}

void TDocumentCommands::ExportMoodleXml()
{
    ExportForPlatform(QStringLiteral("Exporter (Moodle XML)"), QStringLiteral("Fichiers Moodle XML (*.xml)"), ".xml",
        [this](const std::string& path) { return Session().ExportMoodleXml(path); });
}

} // namespace tavimor
