// The HTML and help commands of the main window: producing the quiz site and
// the exam, opening the site in the user's browser, the layout parameters
// file, the "Mise en page" tab with its preview, inserting images, the help
// file, the about box and the preferences.
#include "app/TMain.h"

#include "app/AboutForm.h"
#include "app/AnswerEditors.h"
#include "app/ErrorBoundary.h"
#include "app/FileDialogs.h"
#include "app/HelpManual.h"
#include "app/ImageDialog.h"
#include "app/LayoutTab.h"
#include "app/LineEditForm.h"
#include "app/MessageBoxes.h"
#include "app/MessagesTab.h"
#include "app/PrefForm.h"
#include "app/PreviewBrowser.h"
#include "app/QuestionsTab.h"
#include "app/SiteServer.h"
#include "app/TextCodec.h"
#include "generator/PageSet.h"
#include "generator/SpecHTML.h"
#include "model/FileIo.h"
#include "presentation/HtmlParams.h"

#include <QAction>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QUrl>

namespace tavimor {

namespace {

const QString kParamsFilter = QStringLiteral("Fichiers de paramètres HTML (*.qph)");

// The generator reads the window's directly-read values at each production.
void PrepareGenerator(
    THKWZ& site, QWidget* window, const QString& documentPath, const QString& prefsFolder, const QPlainTextEdit& body)
{
    site.DocumentPath = PathToCore(documentPath);
    site.PrefsDir = PathToCore(prefsFolder);
    site.ResumBody = MemoToCore(body);
    site.Notify = [window](const std::string& message) { ShowInfo(window, FromCore(message)); };
}

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

QAction* NamedAction(const QObject& window, const char* name)
{
    QAction* action = window.findChild<QAction*>(QString::fromLatin1(name));
    Q_ASSERT(action);
    return action;
}

} // namespace

void TMain::ConnectLayoutTab()
{
    const auto onTriggered = [this](const char* name, auto slot) {
        connect(NamedAction(*this, name), &QAction::triggered, this, Guarded(this, std::move(slot)));
    };
    onTriggered("mLoadParams", [this] { LoadParams(); });
    onTriggered("mSaveParams", [this] { SaveParams(); });
    onTriggered("mBrowse", [this] { OpenSite(); });
    onTriggered("BrowseBtnAction", [this] { OpenSite(); });

    // After MainTabChanged, which stores what was typed on the tab left.
    connect(mainTabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == kLayoutTab)
            RunGuarded(this, [this] { EnterLayoutTab(); });
    });

    TLayoutTab& layout = *layoutTab_;
    connect(layout.HTabCntrl, &QTabBar::currentChanged, this, Guarded(this, [this] { ShowPreviewPage(); }));
    connect(&layout, &TLayoutTab::refreshRequested, this, Guarded(this, [this] { RefreshPreview(); }));
    connect(layout.navBtn2, &QToolButton::clicked, this, Guarded(this, [this] { RefreshPreview(); }));

    connect(questTab_->InsImgBtn, &QPushButton::clicked, this, Guarded(this, [this] {
        const QString tag = InsertImage();
        if (!tag.isEmpty())
            questTab_->QuestEdit->insertPlainText(tag);
    }));
}

TSiteServer& TMain::SiteServer()
{
    if (!siteServer_)
        siteServer_ = new TSiteServer(this);
    return *siteServer_;
}

// ---------------------------------------------------------------------------
// Producing

void TMain::ProduceSite()
{
    // The site shows what is on screen: the question and the page text shown are stored first.
    StoreScreen();
    TakeHeaderFromControls();
    if (doc_.Quests.Count() == 0)
        return;
    PrepareGenerator(*site_, this, currentFile_, options_.PrefsFolder, *messTab_->BodyRed);
    InContext(QStringLiteral("Impossible de produire le quiz de ") + Quoted(DocumentName()) + QStringLiteral(" :"),
        [this] { site_->Produce(false); });
}

void TMain::ProduceExam()
{
    StoreScreen();
    TakeHeaderFromControls();
    if (doc_.Quests.Count() == 0)
        return;
    PrepareGenerator(*site_, this, currentFile_, options_.PrefsFolder, *messTab_->BodyRed);
    // The folders of the document on screen, made as a production makes them:
    // before any production, or after another document was produced, the
    // exam would otherwise land elsewhere under another quiz's name.
    if (!site_->SetFolders()) {
        ShowInfo(this, FromCore(THKWZ::kNoFileName));
        return;
    }
    InContext(
        QStringLiteral("Impossible de produire l'examen de ") + Quoted(DocumentName()) + QStringLiteral(" :"), [this] {
            site_->WriteExam(false);
            site_->WriteExam(true);
        });
    ShowInfo(this, FromCore(site_->ExamAnnouncement(true)));
}

// ---------------------------------------------------------------------------
// Browsers

QUrl TMain::SiteUrl(const QString& file)
{
    TSiteServer& server = SiteServer();
    server.SetRoot(PathFromCore(site_->OutDir));
    const QUrl url = server.UrlForFile(file);
    return url.isValid() ? url : QUrl::fromLocalFile(file);
}

void TMain::OpenSite()
{
    const QString outDir = PathFromCore(site_->OutDir);
    const QString file = outDir + PathFromCore(site_->IndexName);
    if (outDir.isEmpty() || !QFileInfo(file).isFile()) {
        ShowInfo(this, QStringLiteral("Il faut d'abord produire les fichiers pour les afficher..."));
        return;
    }
    QDesktopServices::openUrl(SiteUrl(file));
}

QString TMain::PreviewFile() const
{
    const QString pagesDir = PathFromCore(site_->PagesDir);
    if (pagesDir.isEmpty())
        return {};
    return pagesDir + layoutTab_->CurrentPageName() + QStringLiteral(".htm");
}

void TMain::ShowInBrowser(const QString& file)
{
    const QUrl url = SiteUrl(file);
    layoutTab_->WebBrows->Allow(PathFromCore(site_->OutDir), SiteServer().Port());
    layoutTab_->WebBrows->Navigate(url);
}

// ---------------------------------------------------------------------------
// The layout tab and its preview

void TMain::EnterLayoutTab()
{
    TLayoutTab& layout = *layoutTab_;
    layout.infoLab1->setText(QStringLiteral("Certains éléments de la mise en page sont ici configurables..."));
    layout.infoLab1->show();
    layout.navBtn2->setIcon(NamedAction(*this, "BrowseBtnAction")->icon());
    if (!layout.showNavCheck->isChecked())
        layout.WebBrows->hide();
    // The preview shows the document as last stored, produced without a final message.
    if (doc_.Quests.Count() > 0) {
        TakeHeaderFromControls();
        PrepareGenerator(*site_, this, currentFile_, options_.PrefsFolder, *messTab_->BodyRed);
        site_->Produce(true);
    }
    ShowPreviewPage();
}

void TMain::ShowPreviewPage()
{
    TLayoutTab& layout = *layoutTab_;
    layout.ActTabLab->setText(layout.HTabCntrl->tabText(layout.HTabCntrl->currentIndex()));
    const QString file = PreviewFile();
    if (file.isEmpty() || !QFileInfo(file).isFile())
        return;
    layout.ShowSource(PageSource(file));
    if (layout.showNavCheck->isChecked())
        ShowInBrowser(file);
}

void TMain::RefreshPreview()
{
    TLayoutTab& layout = *layoutTab_;
    const QString file = PreviewFile();
    if (file.isEmpty() || !QFileInfo(file).isFile()) {
        ShowInfo(this, QStringLiteral("impossible d'afficher la page pour l'instant"));
        return;
    }
    layout.ShowSource(PageSource(file));
    if (layout.showNavCheck->isChecked())
        ShowInBrowser(file);
    else
        QDesktopServices::openUrl(SiteUrl(file));
}

// ---------------------------------------------------------------------------
// The parameters file

void TMain::SaveParams()
{
    const QString path = ChooseParamsFile(this, options_.PrefsFolder, true);
    if (path.isEmpty())
        return;
    pages_->TakeFromEditor();
    InContext(QStringLiteral("Impossible d'enregistrer les paramètres ") + Quoted(QFileInfo(path).fileName())
            + QStringLiteral(" :"),
        [&] { SaveHtmlParams(doc_.Layout, PathToCore(path)); });
}

void TMain::LoadParams()
{
    const QString path = ChooseParamsFile(this, options_.PrefsFolder, false);
    if (path.isEmpty())
        return;
    HtmlParamsOutcome outcome;
    InContext(QStringLiteral("Impossible de lire les paramètres ") + Quoted(QFileInfo(path).fileName())
            + QStringLiteral(" :"),
        [&] { outcome = LoadHtmlParams(doc_.Layout, PathToCore(path)); });
    if (outcome.Compatible) {
        // The boxes show what was loaded, so that the next save keeps it.
        pages_->ShowFlags();
        MarkModified();
    } else {
        ShowInfo(this, FromCore(outcome.Message));
    }
    {
        const QSignalBlocker silent(layoutTab_->HTabCntrl);
        layoutTab_->HTabCntrl->setCurrentIndex(0);
    }
    ShowPreviewPage();
}

// ---------------------------------------------------------------------------
// Images

QString TMain::InsertImage()
{
    const QString outDir = PathFromCore(site_->OutDir);
    if (outDir.isEmpty() || !QFileInfo(outDir).isDir()) {
        ShowInfo(this, QStringLiteral("Vous devez d'abord produire la version HTML"));
        return {};
    }
    if (!imgDlg_)
        imgDlg_ = std::make_unique<THImgDlg>(this);
    // The pages sit in hPages, one level below the folder the picture path starts from.
    return imgDlg_->Pick(outDir, QStringLiteral("../")).value_or(QString());
}

void TMain::OfferImageInsertion(TRepTabEdit& editor)
{
    connect(&editor, &TRepTabEdit::insertImageRequested, this, Guarded(this, [this, &editor] {
        const QString tag = InsertImage();
        if (!tag.isEmpty())
            editor.insertAtCaret(tag);
    }));
}

void TMain::OfferImageInsertion(TLEditForm& editor)
{
    connect(&editor, &TLEditForm::insertImageRequested, this, Guarded(this, [this, &editor] {
        const QString tag = InsertImage();
        if (!tag.isEmpty())
            editor.insertAtCaret(tag);
    }));
}

// ---------------------------------------------------------------------------
// Help

void TMain::Help()
{
    OpenManual(this);
}

void TMain::About()
{
    TAboutFrm about(this);
    about.exec();
}

void TMain::Preferences()
{
    TPrefFrm::Edit(this, settings_);
}

} // namespace tavimor
