// The document commands of the main window: new, open, save, save under a
// new name, text import and export, and the screen reset they share.
#include "app/TMain.h"

#include "app/ErrorBoundary.h"
#include "app/FileDialogs.h"
#include "app/InfoTab.h"
#include "app/LayoutTab.h"
#include "app/MessageBoxes.h"
#include "app/MessagesEditing.h"
#include "app/MessagesTab.h"
#include "app/QuestionsTab.h"
#include "app/RepGroup.h"
#include "app/TextCodec.h"
#include "model/TextExchange.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>

namespace tavimor {

namespace {

const QString kKwzFilter = QStringLiteral("Fichiers KWZ (*.kwz)");
const QString kTxtFilter = QStringLiteral("Fichiers TXT (*.txt)");
const QString kOpenTitle = QStringLiteral("Ouverture de fichiers");
const QString kSaveTitle = QStringLiteral("Enregistrer sous");

void ResetMemo(QPlainTextEdit* memo)
{
    memo->clear();
    memo->setFont(QFont(QStringLiteral("Courier New"), 9));
}

} // namespace

QString TMain::ChooseFile(const QString& title, const QString& filter, bool save)
{
    const QString folder = currentFile_.isEmpty() ? QDir::currentPath() : QFileInfo(currentFile_).absolutePath();
    return ChooseFileWithDialog(this,
        {title, folder, filter, save ? QStringLiteral("SaveDialog") : QStringLiteral("OpenDialog"),
            save ? QStringLiteral("kwz") : QString(), save});
}

void TMain::ResetScreen()
{
    const QuietScope quiet(*this);
    TQuestionsTab& q = *questTab_;

    messTab_->TitleEd->clear();
    for (QPlainTextEdit* memo : {q.QuestEdit, q.MessEdit, infoTab_->CertEdit, messTab_->NamEdit, messTab_->BodyRed})
        ResetMemo(memo);
    pages_->ForgetShownPage();
    {
        const QSignalBlocker silent(messTab_->HMPTab);
        messTab_->HMPTab->setCurrentIndex(0);
    }

    if (settings_.SaveID)
        infoTab_->ShowIdentity(settings_);

    doc_.Layout.ResetFlags();
    pages_->ShowFlags();
    if (settings_.SaveTitle) {
        doc_.Pages.SetTitle(1, settings_.EPgTitle);
        doc_.Pages.SetBody(1, settings_.EPgCmnt);
        doc_.Pages.SetTitle(2, settings_.RPgTitle);
        doc_.Pages.SetBody(2, settings_.RPgCmnt);
    }
    layoutTab_->ResetPreview();

    {
        // The window's own switch to the first tab is not a tab change of the author.
        const QSignalBlocker silent(mainTabs_);
        mainTabs_->setCurrentIndex(kInfoTab);
        lastTab_ = kInfoTab;
    }
    activThem_->clear();

    q.MaxQLab->clear();
    q.ValEd->clear();
    {
        const QSignalBlocker silent(q.MainQListBox);
        q.MainQListBox->clear();
    }
    ShowNoQuestion();

    infoTab_->ResetOptions();

    doc_.Quests.Clear();
    PlaceAnswerEditor();

    binding_->ShowEmptyType(TRepType::rKWZ);
    // A new window starts on "ordinaire"; so does every new document.
    q.PriRGroup->button(0)->setChecked(true);

    binding_->MessSide = kRightSide;
    q.messBtn1->setChecked(true);
    binding_->ApplyMessDependencies();
    binding_->UpdateTypeView();

    ShowInMemo(*messTab_->NamEdit, doc_.Quests.NoAnswerMess);
    messTab_->DefPValEdit->setText(QString::number(binding_->DefaultPoints));
    messages_->Reset();

    q.QuestPages->setCurrentIndex(TQuestionsTab::kAnswersPage);
    modified_ = false;
}

void TMain::ShowNoQuestion()
{
    TQuestionsTab& q = *questTab_;
    binding_->MessEditTag = 0;
    binding_->ChMsgBtnTag = 0;
    q.QNoLab->clear();
    q.QuestEdit->clear();
    q.MessEdit->clear();
    q.ExtFileBtn->setText(QStringLiteral("nom du fichier..."));
    q.GGCheck->setChecked(true);
    q.ExtFileCheck->setChecked(false);
    q.ExtFileCheck->setText(QStringLiteral("voir le fichier: "));
    binding_->ShowEmptyType(TRepType::rKWZ);
    binding_->ApplyMessDependencies();
    binding_->UpdateTypeView();
}

void TMain::New()
{
    if (!MayDiscardChanges())
        return;
    currentFile_.clear();
    ResetScreen();
    pages_->ShowInEditor();
    ShowDocumentName();
}

void TMain::Open()
{
    if (!MayDiscardChanges())
        return;
    const QString path = ChooseFile(kOpenTitle, kKwzFilter, false);
    if (path.isEmpty())
        return;
    OpenDocument(path);
}

bool TMain::OpenDocument(const QString& path)
{
    // A file that cannot be read leaves the document, its name and its
    // modified state as they were: nothing is reset before it has been read
    // whole once.
    const QString doing
        = QStringLiteral("Impossible d'ouvrir ") + Quoted(QFileInfo(path).fileName()) + QStringLiteral(" :");
    TQuizDocument probe;
    LoadOutcome outcome;
    InContext(doing, [&] { outcome = LoadDocument(probe, PathToCore(path)); });
    if (outcome.refusal) {
        ShowInfo(this, doing + QLatin1Char('\n') + FromCore(*outcome.refusal));
        return false;
    }
    currentFile_ = path;
    ResetScreen();
    InContext(doing, [this] { OpenFile(); });
    return true;
}

void TMain::OpenFile()
{
    // What the file does not set keeps the values of the reset screen.
    TakeHeaderFromControls();
    try {
        LoadDocument(doc_, PathToCore(currentFile_));
    } catch (...) {
        // The file changed since it was checked: what was read stays, and
        // no question is on screen, so nothing is stored over the ones read.
        ShowHeaderInControls();
        ShowStylePrefs();
        doc_.Quests.CurQ = 0;
        throw;
    }
    ShowHeaderInControls();
    ShowStylePrefs();
    pages_->ShowFlags();
    AfterLoad();
    ShowDocumentName();
    modified_ = false;
}

void TMain::AfterLoad()
{
    infoTab_->RememberIdentity(settings_);
    doc_.Quests.NoAnswerMess = MemoToCore(*messTab_->NamEdit);
    binding_->DefaultPoints = DefaultPointsValue(ToCore(messTab_->DefPValEdit->text()));
    if (doc_.Quests.Count() > 0) {
        doc_.Quests.CurQ = 1;
        RebuildList();
        ShowQuestion(1);
        questTab_->MaxQLab->setText(QString::number(doc_.Quests.Count()));
    } else {
        doc_.Quests.CurQ = 0;
    }
}

bool TMain::Save()
{
    StoreScreen();
    pages_->TakeFromEditor();
    if (currentFile_.isEmpty())
        return SaveAs();
    TakeHeaderFromControls();
    InContext(QStringLiteral("Impossible d'enregistrer ") + Quoted(DocumentName()) + QStringLiteral(" :"),
        [this] { SaveDocument(doc_, PathToCore(currentFile_)); });
    modified_ = false;
    return true;
}

bool TMain::SaveAs()
{
    bool saved = false;
    const QString path = ChooseFile(kSaveTitle, kKwzFilter, true);
    try {
        if (!path.isEmpty()) {
            currentFile_ = path;
            saved = Save();
        }
    } catch (...) {
        ShowDocumentName();
        throw;
    }
    ShowDocumentName();
    return saved;
}

void TMain::Import()
{
    if (!MayDiscardChanges())
        return;
    const QString path = ChooseFile(kOpenTitle, kTxtFilter, false);
    if (path.isEmpty())
        return;
    // As for opening: a text that cannot be read whole changes nothing.
    const QString doing
        = QStringLiteral("Impossible d'importer ") + Quoted(QFileInfo(path).fileName()) + QStringLiteral(" :");
    {
        TQuizDocument probe;
        InContext(doing, [&] { ImportTextFile(probe, PathToCore(path)); });
    }
    currentFile_.clear();
    ResetScreen();
    ShowDocumentName();
    TakeHeaderFromControls();
    try {
        InContext(doing, [&] { ImportTextFile(doc_, PathToCore(path)); });
    } catch (...) {
        ShowHeaderInControls();
        doc_.Quests.CurQ = 0;
        modified_ = doc_.Quests.Count() > 0;
        throw;
    }
    ShowHeaderInControls();
    if (doc_.Quests.Count() > 0) {
        doc_.Quests.CurQ = 1;
        RebuildList();
        ShowQuestion(1);
        questTab_->MaxQLab->setText(QString::number(doc_.Quests.Count()));
    } else {
        doc_.Quests.CurQ = 0;
    }
    // The imported quiz exists only in memory until it is saved.
    modified_ = true;
}

void TMain::Export()
{
    StoreScreen();
    if (currentFile_.isEmpty()) {
        SaveAs();
        return;
    }
    const std::string path = ExportTextPath(PathToCore(currentFile_));
    TakeHeaderFromControls();
    InContext(QStringLiteral("Impossible d'exporter ") + Quoted(QFileInfo(PathFromCore(path)).fileName())
            + QStringLiteral(" :"),
        [&] { ExportTextFile(doc_, path); });
    ShowInfo(this,
        QStringLiteral("Un fichier du nom de ") + QFileInfo(PathFromCore(path)).fileName()
            + QStringLiteral(" vient d'être produit dans le dossier ") + QStringLiteral("de Tavimor."));
}

void TMain::RebuildList()
{
    QStringList lines;
    const int count = doc_.Quests.Count();
    lines.reserve(count);
    for (int i = 0; i < count; ++i)
        lines.append(TEditorBinding::ListLine(i + 1, doc_.Quests.GetQText(i)));
    QListWidget* list = questTab_->MainQListBox;
    const QSignalBlocker quiet(list);
    list->clear();
    list->addItems(lines);
}

} // namespace tavimor
