#include "app/HtmlCommands.h"

#include "app/AnswerEditors.h"
#include "app/ErrorBoundary.h"
#include "app/ExamVersionsDialog.h"
#include "app/FileDialogs.h"
#include "app/ImageDialog.h"
#include "app/LayoutTab.h"
#include "app/LineEditForm.h"
#include "app/MessageBoxes.h"
#include "app/MessagesTab.h"
#include "app/PreviewBrowser.h"
#include "app/QuestionsTab.h"
#include "app/SessionBridge.h"
#include "app/SiteServer.h"
#include "app/TextCodec.h"
#include "base/FileIo.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QToolButton>
#include <QUrl>

namespace tavimor {

namespace {

const QString kParamsFilter = QStringLiteral("Fichiers de paramètres HTML (*.qph)");

// The open or save dialog of the parameters file, starting in the
// preferences folder; the chosen path, or nothing.
QString ChooseParamsFile(QWidget* parent, const QString& prefsFolder, bool save)
{
    // The window's own dialog, the same on every desktop (and reachable by the tests).
    return ChooseFileWithDialog(parent,
        {save ? QStringLiteral("Enregistrer sous") : QStringLiteral("Ouverture de fichiers"), prefsFolder,
            kParamsFilter, save ? QStringLiteral("SaveParamsDialog") : QStringLiteral("OpenParamsDialog"),
            save ? QStringLiteral("qph") : QString(), save, true});
}

// A produced page as its source text (the pages are Windows-1252).
QString PageSource(const QString& file)
{
    return FromCoreMemo(ReadWholeFile(PathToCore(file)));
}

QString Doing(const QString& what, const QString& path)
{
    return what + Quoted(QFileInfo(path).fileName()) + QStringLiteral(" :");
}

} // namespace

THtmlCommands::THtmlCommands(QWidget& window, TSessionBridge& bridge, TLayoutTab& layout, TQuestionsTab& questions,
    TMessagesTab& messages, QString prefsFolder)
    : window_(window)
    , bridge_(bridge)
    , layout_(layout)
    , questions_(questions)
    , messages_(messages)
    , prefsFolder_(std::move(prefsFolder))
{
    QWidget* const w = &window_;
    connect(layout_.HTabCntrl, &QTabBar::currentChanged, this, Guarded(w, [this] { ShowPreviewPage(); }));
    connect(&layout_, &TLayoutTab::refreshRequested, this, Guarded(w, [this] { RefreshPreview(); }));
    connect(layout_.navBtn2, &QToolButton::clicked, this, Guarded(w, [this] { RefreshPreview(); }));
    connect(questions_.InsImgBtn, &QPushButton::clicked, this, Guarded(w, [this] {
        const QString tag = InsertImage();
        if (!tag.isEmpty())
            questions_.QuestEdit->insertPlainText(tag);
    }));
    // The layout boxes are edits of the document, taken at once.
    connect(&layout_, &TLayoutTab::edited, this, Guarded(w, [this] {
        Session().SetLayoutFlags(
            layout_.PosMenCheck->isChecked(), layout_.BorderCheck->isChecked(), layout_.DistFileCheck->isChecked());
    }));
    connect(&bridge_, &TSessionBridge::layoutChanged, this, &THtmlCommands::ShowLayoutFlags);
}

THtmlCommands::~THtmlCommands() = default;

QuizSession& THtmlCommands::Session() const
{
    return bridge_.Session();
}

std::string THtmlCommands::ResumBody() const
{
    return MemoToCore(*messages_.BodyRed);
}

TSiteServer& THtmlCommands::SiteServer()
{
    if (!siteServer_)
        siteServer_ = new TSiteServer(this);
    return *siteServer_;
}

void THtmlCommands::ShowLayoutFlags()
{
    const THTMPrefs& prefs = Session().Document().Layout;
    layout_.PosMenCheck->setChecked(prefs.MenuLeft);
    layout_.BorderCheck->setChecked(prefs.NoBorder);
    layout_.DistFileCheck->setChecked(prefs.DistinctPages);
}

void THtmlCommands::Reset()
{
    layout_.ResetPreview();
    ShowLayoutFlags();
    standalonePage_.clear();
}

// ---------------------------------------------------------------------------
// Producing

void THtmlCommands::ProduceSite()
{
    if (Session().Document().Quests.Count() == 0)
        return;
    ProduceOutcome outcome;
    InContext(Doing(QStringLiteral("Impossible de produire le quiz de "), PathFromCore(Session().Path())),
        [this, &outcome] { outcome = Session().ProduceSite(ResumBody()); });
    if (outcome.Produced)
        standalonePage_.clear();
    ShowInfo(&window_, FromCore(outcome.Message));
}

void THtmlCommands::ProduceExam()
{
    ExamOutcome outcome;
    InContext(Doing(QStringLiteral("Impossible de produire l'examen de "), PathFromCore(Session().Path())),
        [this, &outcome] { outcome = Session().WriteExam(); });
    ShowInfo(&window_, FromCore(outcome.Written ? Session().Site().ExamAnnouncement(true) : outcome.Message));
}

void THtmlCommands::ProduceExamVersions()
{
    if (Session().Document().Quests.Count() == 0) {
        ShowInfo(&window_, QStringLiteral("Le document n'a aucune question: impossible de produire l'examen!"));
        return;
    }
    TExamVersionsDialog dialog(&window_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ExamVersionsOutcome outcome;
    InContext(Doing(QStringLiteral("Impossible de produire l'examen de "), PathFromCore(Session().Path())),
        [this, &outcome, &dialog] { outcome = Session().WriteExamVersions(dialog.Options()); });
    ShowInfo(&window_, FromCore(outcome.Message));
}

void THtmlCommands::ProduceStandalone()
{
    StandaloneOutcome outcome;
    InContext(Doing(QStringLiteral("Impossible de produire le quiz autonome de "), PathFromCore(Session().Path())),
        [this, &outcome] { outcome = Session().ProduceStandalone(ResumBody()); });
    if (outcome.Produced)
        standalonePage_ = PathFromCore(outcome.OutputPath);
    ShowInfo(&window_, FromCore(outcome.Message));
}

void THtmlCommands::ProduceScormPackage()
{
    QInputDialog ask(&window_);
    ask.setObjectName(QStringLiteral("PassMarkDialog"));
    ask.setWindowTitle(QStringLiteral("Produire paquet SCORM"));
    ask.setLabelText(QStringLiteral("Seuil de réussite (en %) :"));
    ask.setInputMode(QInputDialog::IntInput);
    ask.setIntRange(0, 100);
    ask.setIntValue(passMark_);
    if (ask.exec() != QDialog::Accepted)
        return;
    passMark_ = ask.intValue();
    TScormOutcome outcome;
    InContext(Doing(QStringLiteral("Impossible de produire le paquet SCORM de "), PathFromCore(Session().Path())),
        [this, &outcome] { outcome = Session().ProduceScormPackage(ResumBody(), passMark_); });
    ShowInfo(&window_, FromCore(outcome.Message));
}

// ---------------------------------------------------------------------------
// Browsers

QUrl THtmlCommands::SiteUrl(const QString& file)
{
    TSiteServer& server = SiteServer();
    server.SetRoot(PathFromCore(Session().Site().OutDir));
    const QUrl url = server.UrlForFile(file);
    return url.isValid() ? url : QUrl::fromLocalFile(file);
}

void THtmlCommands::OpenSite()
{
    // The self-contained quiz opens from the disk in any browser.
    if (!standalonePage_.isEmpty() && QFileInfo(standalonePage_).isFile()) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(standalonePage_));
        return;
    }
    const QString outDir = PathFromCore(Session().Site().OutDir);
    const QString file = outDir + PathFromCore(Session().Site().IndexName);
    if (outDir.isEmpty() || !QFileInfo(file).isFile()) {
        ShowInfo(&window_, QStringLiteral("Il faut d'abord produire les fichiers pour les afficher..."));
        return;
    }
    QDesktopServices::openUrl(SiteUrl(file));
}

QString THtmlCommands::PreviewFile() const
{
    const QString pagesDir = PathFromCore(Session().Site().PagesDir);
    if (pagesDir.isEmpty())
        return {};
    return pagesDir + layout_.CurrentPageName() + QStringLiteral(".htm");
}

void THtmlCommands::ShowInBrowser(const QString& file)
{
    const QUrl url = SiteUrl(file);
    layout_.WebBrows->Allow(PathFromCore(Session().Site().OutDir), SiteServer().Port());
    layout_.WebBrows->Navigate(url);
}

// ---------------------------------------------------------------------------
// The layout tab and its preview

void THtmlCommands::EnterLayoutTab()
{
    layout_.infoLab1->setText(QStringLiteral("Certains éléments de la mise en page sont ici configurables..."));
    layout_.infoLab1->show();
    if (!layout_.showNavCheck->isChecked())
        layout_.WebBrows->hide();
    // The preview shows the document as last stored, produced without a final message.
    if (Session().Document().Quests.Count() > 0) {
        InContext(Doing(QStringLiteral("Impossible de produire le quiz de "), PathFromCore(Session().Path())),
            [this] { Session().ProduceSite(ResumBody()); });
    }
    ShowPreviewPage();
}

void THtmlCommands::ShowPreviewPage()
{
    layout_.ActTabLab->setText(layout_.HTabCntrl->tabText(layout_.HTabCntrl->currentIndex()));
    const QString file = PreviewFile();
    if (file.isEmpty() || !QFileInfo(file).isFile())
        return;
    layout_.ShowSource(PageSource(file));
    if (layout_.showNavCheck->isChecked())
        ShowInBrowser(file);
}

void THtmlCommands::RefreshPreview()
{
    const QString file = PreviewFile();
    if (file.isEmpty() || !QFileInfo(file).isFile()) {
        ShowInfo(&window_, QStringLiteral("impossible d'afficher la page pour l'instant"));
        return;
    }
    layout_.ShowSource(PageSource(file));
    if (layout_.showNavCheck->isChecked())
        ShowInBrowser(file);
    else
        QDesktopServices::openUrl(SiteUrl(file));
}

// ---------------------------------------------------------------------------
// The parameters file

void THtmlCommands::SaveParams()
{
    const QString path = ChooseParamsFile(&window_, prefsFolder_, true);
    if (path.isEmpty())
        return;
    InContext(Doing(QStringLiteral("Impossible d'enregistrer les paramètres "), path),
        [&] { Session().SaveParams(PathToCore(path)); });
}

void THtmlCommands::LoadParams()
{
    const QString path = ChooseParamsFile(&window_, prefsFolder_, false);
    if (path.isEmpty())
        return;
    HtmlParamsOutcome outcome;
    InContext(Doing(QStringLiteral("Impossible de lire les paramètres "), path),
        [&] { outcome = Session().LoadParams(PathToCore(path)); });
    if (!outcome.Compatible)
        ShowInfo(&window_, FromCore(outcome.Message));
    {
        const QSignalBlocker silent(layout_.HTabCntrl);
        layout_.HTabCntrl->setCurrentIndex(0);
    }
    ShowPreviewPage();
}

// ---------------------------------------------------------------------------
// Images

QString THtmlCommands::InsertImage()
{
    const QString outDir = PathFromCore(Session().Site().OutDir);
    if (outDir.isEmpty() || !QFileInfo(outDir).isDir()) {
        ShowInfo(&window_, QStringLiteral("Vous devez d'abord produire la version HTML"));
        return {};
    }
    if (!imgDlg_)
        imgDlg_ = std::make_unique<THImgDlg>(&window_);
    // The pages sit in hPages, one level below the folder the picture path starts from.
    return imgDlg_->Pick(outDir, QStringLiteral("../")).value_or(QString());
}

void THtmlCommands::OfferImageInsertion(TRepTabEdit& editor)
{
    connect(&editor, &TRepTabEdit::insertImageRequested, this, Guarded(&window_, [this, &editor] {
        const QString tag = InsertImage();
        if (!tag.isEmpty())
            editor.InsertAtCaret(tag);
    }));
}

void THtmlCommands::OfferImageInsertion(TLEditForm& editor)
{
    connect(&editor, &TLEditForm::insertImageRequested, this, Guarded(&window_, [this, &editor] {
        const QString tag = InsertImage();
        if (!tag.isEmpty())
            editor.InsertAtCaret(tag);
    }));
}

} // namespace tavimor
