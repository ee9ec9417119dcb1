#include "app/TMain.h"

#include "app/AboutForm.h"
#include "app/Accessibility.h"
#include "app/DocumentCommands.h"
#include "app/ErrorBoundary.h"
#include "app/HelpManual.h"
#include "app/HtmlCommands.h"
#include "app/InfoTab.h"
#include "app/LayoutTab.h"
#include "app/MessageBoxes.h"
#include "app/MessagesEditing.h"
#include "app/MessagesTab.h"
#include "app/PrefForm.h"
#include "app/QuestionEditor.h"
#include "app/QuestionsTab.h"
#include "app/SessionBridge.h"
#include "app/StyleDialog.h"
#include "app/TextCodec.h"
#include "app/results/ClassResultsWindow.h"
#include "base/FileIo.h"
#include "exchange/QuestionBanks.h"
#include "platform/AppFolders.h"
#include "platform/FileTypeRegistration.h"
#include "resources/EmbeddedGifs.h"
#include "session/QuizSession.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace tavimor {

namespace {

constexpr int kClientWidth = 765;
constexpr int kClientHeight = 525; // tool bar and tabs, without the menu bar

QString WithSlash(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString MissingLastFileMessage(const QString& fileName)
{
    return QStringLiteral("Impossible d'ouvrir dernier fichier chargé: ") + QLatin1Char('"') + fileName
        + QLatin1Char('"') + QStringLiteral("\n\n") + QStringLiteral("Ou bien ce fichier n'existe plus, ou bien ")
        + QStringLiteral("\n") + QStringLiteral("il ne se trouve plus à l'emplacement occupé ") + QStringLiteral("\n")
        + QStringLiteral("lors de la dernière ouverture.") + QStringLiteral("\n\n")
        + QStringLiteral("Le programme ouvrira un nouveau fichier.");
}

} // namespace

// ---------------------------------------------------------------------------
// Options

TMain::Options TMain::Options::FromCommandLine(const QStringList& arguments)
{
    Options options;
    options.SettingsFolder = WithSlash(PathFromCore(tavimor::SettingsFolder()));
    options.PrefsFolder = WithSlash(PathFromCore(tavimor::PrefsFolder()));
    options.DataHome = PathFromCore(DefaultDataHome());
    options.ProgramPath = PathFromCore(RunningProgramPath());
    // Qt's own options that take a value, when they are still in the list.
    static const QStringList withValue {QStringLiteral("-platform"), QStringLiteral("-style"),
        QStringLiteral("-stylesheet"), QStringLiteral("-display"), QStringLiteral("-geometry"),
        QStringLiteral("-qwindowgeometry"), QStringLiteral("-qwindowtitle"), QStringLiteral("-session"),
        QStringLiteral("-platformtheme"), QStringLiteral("-plugin")};
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (withValue.contains(arguments[i])) {
            ++i;
        } else if (!arguments[i].startsWith(QLatin1Char('-'))) {
            options.FileToOpen = arguments[i];
            break;
        }
    }
    return options;
}

// ---------------------------------------------------------------------------
// Construction

TMain::TMain(Options options, QWidget* parent)
    : QMainWindow(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , options_(std::move(options))
{
    // Before any control is asked what it is.
    InstallAccessibleInterfaces();
    options_.SettingsFolder = WithSlash(options_.SettingsFolder);
    options_.PrefsFolder = WithSlash(options_.PrefsFolder);
    settingsFile_ = options_.SettingsFolder
        + PathFromCore(SettingsFileName(PathToCore(QFileInfo(options_.ProgramPath).fileName())));

    if (options_.ShowSplash) {
        TAboutFrm splash;
        splash.exec();
    }

    SessionOptions sessionOptions;
    sessionOptions.Defaults.PrefsDir = PathToCore(options_.PrefsFolder);
    sessionOptions.Gifs = &EmbeddedGifs();
    sessionOptions.Notify = [this](const std::string& message) { ShowInfo(this, FromCore(message)); };
    sessionOptions.RememberPages = RememberPageTexts(settings_);
    session_ = std::make_unique<QuizSession>(std::move(sessionOptions));
    bridge_ = std::make_unique<TSessionBridge>(*session_);
    styleEdits_ = session_->Document().Style;

    setObjectName(QStringLiteral("TMain"));
    setFont(QFont(QStringLiteral("Arial"), 9));
    BuildTabs();
    BuildEditors();
    BuildMenus();
    BuildToolBar();

    // A fixed border with the system menu and the minimise box only.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
        | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    // Key preview: F4 reaches the window before the focused control.
    qApp->installEventFilter(this);
}

TMain::~TMain()
{
    // The children are destroyed after the session their slots use: cut
    // their connections to the window first.
    qApp->removeEventFilter(this);
    for (QObject* child : findChildren<QObject*>())
        disconnect(child, nullptr, this, nullptr);
}

const TQuizDocument& TMain::Document() const
{
    return session_->Document();
}

QString TMain::CurrentFile() const
{
    return PathFromCore(session_->Path());
}

bool TMain::IsModified() const
{
    return session_->IsModified();
}

void TMain::RebuildList()
{
    editor_->RebuildList();
}

template <typename Action> void TMain::OnCommand(QAction* action, Action command)
{
    connect(action, &QAction::triggered, this, Guarded(this, [this, command] { bridge_->Run(command); }));
}

void TMain::BuildMenus()
{
    const auto item = [this](QMenu* menu, const QString& name, const QString& text, const QKeySequence& keys = {}) {
        QAction* action = menu->addAction(text);
        action->setObjectName(name);
        action->setShortcut(keys);
        return action;
    };
    TDocumentCommands& documents = *documents_;
    THtmlCommands& html = *html_;

    menuBar()->setAccessibleName(QStringLiteral("Menus"));
    QMenu* file = menuBar()->addMenu(QStringLiteral("Fichier"));
    file->setObjectName(QStringLiteral("FileMenu"));
    OnCommand(item(file, QStringLiteral("mNew"), QStringLiteral("Nouveau"), QKeySequence(Qt::CTRL | Qt::Key_N)),
        [&documents] { documents.New(); });
    OnCommand(item(file, QStringLiteral("mOpen"), QStringLiteral("Ouvrir"), QKeySequence(Qt::CTRL | Qt::Key_O)),
        [&documents] { documents.Open(); });
    OnCommand(item(file, QStringLiteral("mSave"), QStringLiteral("Enregistrer"), QKeySequence(Qt::CTRL | Qt::Key_S)),
        [&documents] { documents.Save(); });
    OnCommand(item(file, QStringLiteral("mSaveAs"), QStringLiteral("Renommer")), [&documents] { documents.SaveAs(); });
    OnCommand(
        item(file, QStringLiteral("mImport"), QStringLiteral("Importer(.txt)")), [&documents] { documents.Import(); });
    OnCommand(
        item(file, QStringLiteral("mExport"), QStringLiteral("Exporter (.txt)")), [&documents] { documents.Export(); });
    OnCommand(item(file, QStringLiteral("mImportGift"), QStringLiteral("Importer (GIFT)...")),
        [&documents] { documents.ImportBank(TBankFormat::Gift); });
    OnCommand(item(file, QStringLiteral("mImportMoodle"), QStringLiteral("Importer (Moodle XML)...")),
        [&documents] { documents.ImportBank(TBankFormat::MoodleXml); });
    OnCommand(item(file, QStringLiteral("mImportAiken"), QStringLiteral("Importer (Aiken)...")),
        [&documents] { documents.ImportBank(TBankFormat::Aiken); });
    OnCommand(item(file, QStringLiteral("mImportCsv"), QStringLiteral("Importer (tableur)...")),
        [&documents] { documents.ImportBank(TBankFormat::Spreadsheet); });
    OnCommand(item(file, QStringLiteral("mExportGift"), QStringLiteral("Exporter (GIFT)...")),
        [&documents] { documents.ExportGift(); });
    OnCommand(item(file, QStringLiteral("mExportMoodle"), QStringLiteral("Exporter (Moodle XML)...")),
        [&documents] { documents.ExportMoodleXml(); });
    OnCommand(item(file, QStringLiteral("mExportCsv"), QStringLiteral("Exporter (tableur)...")),
        [&documents] { documents.ExportSpreadsheet(); });
    connect(item(file, QStringLiteral("mPrefs"), QStringLiteral("Préférences...")), &QAction::triggered, this,
        Guarded(this, [this] { Preferences(); }));
    connect(item(file, QStringLiteral("mQuit"), QStringLiteral("Quitter"), QKeySequence(Qt::CTRL | Qt::Key_Q)),
        &QAction::triggered, this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("Édition"));
    edit->setObjectName(QStringLiteral("EditMenu"));
    undoAction_ = item(edit, QStringLiteral("mUndo"), QStringLiteral("Annuler"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoAction_ = item(edit, QStringLiteral("mRedo"), QStringLiteral("Rétablir"));
    redoAction_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    // A value typed but not stored yet is a step too: it is stored, then undone.
    OnCommand(undoAction_, [this] {
        if (session_->CanUndo())
            session_->Undo();
    });
    OnCommand(redoAction_, [this] {
        if (session_->CanRedo())
            session_->Redo();
    });

    QMenu* htmlMenu = menuBar()->addMenu(QStringLiteral("HTML"));
    htmlMenu->setObjectName(QStringLiteral("HtmlMenu"));
    OnCommand(item(htmlMenu, QStringLiteral("mLoadParams"), QStringLiteral("Charge params...")),
        [&html] { html.LoadParams(); });
    OnCommand(item(htmlMenu, QStringLiteral("mSaveParams"), QStringLiteral("Sauve params...")),
        [&html] { html.SaveParams(); });
    OnCommand(
        item(htmlMenu, QStringLiteral("mExam"), QStringLiteral("Produire examen")), [&html] { html.ProduceExam(); });
    OnCommand(item(htmlMenu, QStringLiteral("mProduce"), QStringLiteral("Produire KWZ"), QKeySequence(Qt::Key_F8)),
        [&html] { html.ProduceSite(); });
    OnCommand(item(htmlMenu, QStringLiteral("mStandalone"), QStringLiteral("Produire quiz autonome")),
        [&html] { html.ProduceStandalone(); });
    OnCommand(item(htmlMenu, QStringLiteral("mScorm"), QStringLiteral("Produire paquet SCORM")),
        [&html] { html.ProduceScormPackage(); });
    OnCommand(item(htmlMenu, QStringLiteral("mClassResults"), QStringLiteral("Résultats de la classe...")),
        [this] { ClassResults(); });
    OnCommand(item(htmlMenu, QStringLiteral("mExamVersions"), QStringLiteral("Examen en plusieurs versions...")),
        [&html] { html.ProduceExamVersions(); });
    connect(item(htmlMenu, QStringLiteral("mBrowse"), QStringLiteral("Appeler navigateur"), QKeySequence(Qt::Key_F9)),
        &QAction::triggered, this, Guarded(this, [&html] { html.OpenSite(); }));

    QMenu* help = menuBar()->addMenu(QStringLiteral("?"));
    help->setObjectName(QStringLiteral("HelpMenu"));
    connect(item(help, QStringLiteral("mHelp"), QStringLiteral("Aide"), QKeySequence(Qt::Key_F1)), &QAction::triggered,
        this, Guarded(this, [this] { Help(); }));
    connect(item(help, QStringLiteral("mAbout"), QStringLiteral("APropos")), &QAction::triggered, this,
        Guarded(this, [this] { About(); }));
}

void TMain::BuildToolBar()
{
    QToolBar* bar = addToolBar(QStringLiteral("Outils"));
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(20, 20));
    bar->toggleViewAction()->setEnabled(false);
    // Shown only when the buttons have no room.
    if (QWidget* more = bar->findChild<QWidget*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("Autres outils"));
    setContextMenuPolicy(Qt::NoContextMenu);

    const auto button = [this, bar](const QString& name, QStyle::StandardPixmap icon, const QString& hint) {
        QAction* action = bar->addAction(style()->standardIcon(icon), hint);
        action->setObjectName(name + QStringLiteral("Action"));
        action->setToolTip(hint);
        action->setStatusTip(hint);
        bar->widgetForAction(action)->setObjectName(name);
        return action;
    };
    TDocumentCommands& documents = *documents_;
    THtmlCommands& html = *html_;
    OnCommand(button(QStringLiteral("OpenBtn"), QStyle::SP_DialogOpenButton, QStringLiteral("Ouvrir")),
        [&documents] { documents.Open(); });
    OnCommand(button(QStringLiteral("SaveBtn"), QStyle::SP_DialogSaveButton, QStringLiteral("Enregistrer")),
        [&documents] { documents.Save(); });
    OnCommand(button(QStringLiteral("SaveAsBtn"), QStyle::SP_DriveFDIcon, QStringLiteral("Renommer")),
        [&documents] { documents.SaveAs(); });
    bar->addSeparator();
    OnCommand(button(QStringLiteral("ProduceBtn"), QStyle::SP_ComputerIcon, QStringLiteral("Produire HTM")),
        [&html] { html.ProduceSite(); });
    QAction* browse
        = button(QStringLiteral("BrowseBtn"), QStyle::SP_DirLinkIcon, QStringLiteral("Appeler le navigateur"));
    connect(browse, &QAction::triggered, this, Guarded(this, [&html] { html.OpenSite(); }));
    layoutTab_->navBtn2->setIcon(browse->icon());
    bar->addSeparator();
    typeAction_ = button(
        QStringLiteral("QTypeBtn"), QStyle::SP_FileDialogDetailedView, QStringLiteral("Modifier type de question"));
    // No menu holds it: the keyboard reaches it by its own keys.
    typeAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    connect(typeAction_, &QAction::triggered, this, Guarded(this, [this] { editor_->ChangeType(); }));
}

void TMain::BuildTabs()
{
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("Client"));
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(2, 2, 2, 2);

    mainTabs_ = new QTabWidget(central);
    mainTabs_->setObjectName(QStringLiteral("MainPages"));
    layout->addWidget(mainTabs_);

    infoTab_ = new TInfoTab();
    questTab_ = new TQuestionsTab();
    messTab_ = new TMessagesTab();
    layoutTab_ = new TLayoutTab();
    styleTab_ = new QWidget();
    styleTab_->setObjectName(QStringLiteral("StylePage"));
    mainTabs_->addTab(infoTab_, QStringLiteral("Info. Pers."));
    mainTabs_->addTab(questTab_, QStringLiteral("Questions"));
    mainTabs_->addTab(messTab_, QStringLiteral("Messages"));
    mainTabs_->addTab(layoutTab_, QStringLiteral("Mise en page"));
    mainTabs_->addTab(styleTab_, QStringLiteral("Style"));
    mainTabs_->tabBar()->setAccessibleName(QStringLiteral("Onglets"));
    setCentralWidget(central);

    // The document's name, over the right end of the tab row.
    activThem_ = new QLabel(central);
    activThem_->setObjectName(QStringLiteral("ActivThem"));
    activThem_->setGeometry(kClientWidth - 262, 3, 250, 20);
    activThem_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = activThem_->font();
    bold.setBold(true);
    bold.setPointSize(10);
    activThem_->setFont(bold);
    QPalette teal = activThem_->palette();
    teal.setColor(QPalette::WindowText, QColor(0, 128, 128));
    activThem_->setPalette(teal);
    activThem_->raise();
}

void TMain::BuildEditors()
{
    html_ = std::make_unique<THtmlCommands>(*this, *bridge_, *layoutTab_, *questTab_, *messTab_, options_.PrefsFolder);

    TQuestionEditor::Hooks editorHooks;
    editorHooks.OfferImageInsertion = [this](TRepTabEdit& editor) { html_->OfferImageInsertion(editor); };
    editor_ = std::make_unique<TQuestionEditor>(*this, *bridge_, *questTab_, std::move(editorHooks));

    TMessagesEditing::Hooks messageHooks;
    messageHooks.LinkStartFolder = [this] {
        if (!session_->Site().OutDir.empty())
            return PathFromCore(session_->Site().OutDir);
        return CurrentFile().isEmpty() ? QString() : QFileInfo(CurrentFile()).absolutePath();
    };
    messages_
        = std::make_unique<TMessagesEditing>(*this, *bridge_, *editor_, *questTab_, *messTab_, std::move(messageHooks));

    TDocumentCommands::Hooks documentHooks;
    documentHooks.RefreshDefaults = [this] { session_->SetDefaults(DefaultsFromSettings()); };
    // The identity of an opened document is the one new documents take.
    documentHooks.Opened = [this] { infoTab_->RememberIdentity(settings_); };
    documents_ = std::make_unique<TDocumentCommands>(*this, *bridge_, std::move(documentHooks));

    // The header: the identity and options of the first tab, with the
    // default points kept hidden on the Messages tab. The boxes are taken at
    // once; the texts when the screen is stored.
    bridge_->AddScreenStore([this] { StoreHeader(); });
    connect(infoTab_, &TInfoTab::edited, this, Guarded(this, [this] { StoreHeader(); }));
    connect(bridge_.get(), &TSessionBridge::headerChanged, this, &TMain::ShowHeader);
    connect(bridge_.get(), &TSessionBridge::documentReplaced, this, &TMain::ShowNewDocument);
    connect(bridge_.get(), &TSessionBridge::styleChanged, this, &TMain::ShowStyle);
    connect(bridge_.get(), &TSessionBridge::stateChanged, this, &TMain::ShowState);

    TQuestionsTab& q = *questTab_;
    TQuestionEditor& editor = *editor_;
    const auto slot = [this](auto command) { return Guarded(this, std::move(command)); };
    connect(mainTabs_, &QTabWidget::currentChanged, this,
        // What was typed on the tab being left is kept.
        [this](int index) {
            RunGuarded(this, [this, index] { bridge_->Run([this, index] { MainTabChanged(index); }); });
        });
    connect(q.addQBtn, &QPushButton::clicked, this, slot([&editor] { editor.AddQuestion(); }));
    connect(q.delQBtn, &QPushButton::clicked, this, slot([&editor] { editor.DeleteQuestion(); }));
    connect(q.MainQListBox, &TQuestListBox::lineClicked, this,
        [this](int row) { RunGuarded(this, [this, row] { editor_->SelectQuestion(row); }); });
    connect(q.MainQListBox, &TQuestListBox::lineDropped, this,
        [this](int row) { RunGuarded(this, [this, row] { editor_->DropQuestion(row); }); });
    connect(q.QTypeLab, &TClickLabel::clicked, this, slot([&editor] { editor.ChangeType(); }));
    connect(&q, &TQuestionsTab::backgroundPressed, this, slot([&editor] { editor.StoreFromEditor(); }));
    connect(q.REdBtn, &QToolButton::clicked, this, slot([&editor] { editor.OpenAnswerEditor(); }));
    connect(q.delRepBtn, &QToolButton::clicked, this, slot([&editor] { editor.RemoveLast(); }));
    connect(q.MoveRepBtn, &QToolButton::clicked, this, slot([&editor] { editor.MoveMark(); }));
    connect(q.colBtn, &QToolButton::clicked, this, slot([&editor] { editor.NextColumns(); }));
    connect(q.messBtn1, &QPushButton::clicked, this, slot([&editor] { editor.ShowSide(kRightSide); }));
    connect(q.messBtn0, &QPushButton::clicked, this, slot([&editor] { editor.ShowSide(kWrongSide); }));
    connect(q.GGCheck, &QCheckBox::clicked, this,
        [this](bool checked) { RunGuarded(this, [this, checked] { editor_->SwitchGeneric(checked); }); });
    connect(q.QuestPages, &QTabWidget::currentChanged, this, [this] { editor_->ApplyMessDependencies(); });
}

// ---------------------------------------------------------------------------
// Start-up and shut-down

void TMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (started_)
        return;
    started_ = true;
    RunGuarded(this, [this] { StartUp(); });
    RunGuarded(this, [this] { OpenAtStartUp(); });
}

NewDocumentDefaults TMain::DefaultsFromSettings() const
{
    NewDocumentDefaults defaults;
    defaults.PrefsDir = PathToCore(options_.PrefsFolder);
    if (settings_.SaveID)
        defaults.Identity = {settings_.Professeur, settings_.EMail, settings_.Institut, settings_.BaseURL};
    if (settings_.SaveTitle)
        defaults.KeptPages
            = {THMessPage {settings_.EPgTitle, settings_.EPgCmnt}, THMessPage {settings_.RPgTitle, settings_.RPgCmnt}};
    defaults.UseCertainty = settings_.CertInd;
    return defaults;
}

void TMain::StartUp()
{
    const QString prefs = options_.PrefsFolder;
    if (!QFileInfo(prefs).isDir()) {
        EnsureFolder(PathToCore(prefs));
        ShowInfo(
            this, QStringLiteral("Le répertoire ") + QStringLiteral("Prefs") + QStringLiteral(" vient d'être créé."));
    }

    settings_ = ReadSettings(PathToCore(settingsFile_));
    messTab_->TitleLab->setText(FromCore(settings_.TLabel));
    messTab_->BodyLab->setText(FromCore(settings_.ResumLab));
    EmbedStyleDialog();
    session_->SetDefaults(DefaultsFromSettings());
    session_->New();
    RegisterDocumentTypeOnce(settings_, PathToCore(options_.ProgramPath), PathToCore(options_.DataHome));
}

void TMain::EmbedStyleDialog()
{
    // The style dialog fills the Style tab, without border and without its
    // own accept button; it edits a copy that the session takes at each change.
    auto* layout = new QVBoxLayout(styleTab_);
    layout->setContentsMargins(0, 0, 0, 0);
    styleDlg_ = new TStyleDlg(styleEdits_, styleTab_);
    styleDlg_->SetEmbedded(true);
    connect(styleDlg_, &TStyleDlg::edited, this, Guarded(this, [this] { StyleEdited(); }));
    bridge_->AddScreenStore([this] { styleDlg_->CommitShown(); });
    layout->addWidget(styleDlg_);
    styleDlg_->show();
}

void TMain::OpenAtStartUp()
{
    if (!options_.FileToOpen.isEmpty()) {
        documents_->OpenDocument(QFileInfo(options_.FileToOpen).absoluteFilePath());
        return;
    }
    if (settings_.LastFileName.empty() || !settings_.AutoLoad)
        return;
    const QString last = PathFromCore(settings_.LastFileName);
    if (QFileInfo(last).isFile()) {
        documents_->OpenDocument(last);
        return;
    }
    ShowInfo(this, MissingLastFileMessage(QFileInfo(last).fileName()));
}

void TMain::closeEvent(QCloseEvent* event)
{
    if (started_) {
        bool mayClose = false;
        RunGuarded(this,
            [this, &mayClose] { bridge_->Run([this, &mayClose] { mayClose = documents_->MayDiscardChanges(); }); });
        if (!mayClose) {
            event->ignore();
            return;
        }
        RunGuarded(this, [this] { ShutDown(); });
    }
    event->accept();
}

void TMain::ShutDown()
{
    infoTab_->RememberIdentity(settings_);
    settings_.LastFileName = session_->Path();
    settings_.CertInd = session_->Document().Header.UseCertainty;
    settings_.TLabel = ToCore(messTab_->TitleLab->text());
    settings_.ResumLab = ToCore(messTab_->BodyLab->text());
    WriteSettings(settings_, PathToCore(settingsFile_));
}

// ---------------------------------------------------------------------------
// Key preview and tabs

bool TMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (key->key() == Qt::Key_F4 && key->modifiers() == Qt::NoModifier && widget && widget->window() == this
            && mainTabs_->currentIndex() == kQuestionsTab && !QApplication::activeModalWidget()) {
            RunGuarded(this, [this] { editor_->AddQuestion(); });
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMain::MainTabChanged(int index)
{
    typeAction_->setVisible(false);
    messages_->MainTabChanged(index);
    if (index == kQuestionsTab) {
        editor_->EnterTab();
        typeAction_->setVisible(true);
    } else if (index == kLayoutTab) {
        html_->EnterLayoutTab();
    }
}

// ---------------------------------------------------------------------------
// Showing the session

void TMain::ShowNewDocument()
{
    {
        // The window's own switch to the first tab is not a tab change of the author.
        const QSignalBlocker silent(mainTabs_);
        mainTabs_->setCurrentIndex(kInfoTab);
    }
    infoTab_->CertEdit->setFont(QFont(QStringLiteral("Courier New"), 9));
    ShowHeader();
    editor_->DefaultPoints = DefaultPointsValue(session_->Document().Header.DefaultPoints);
    messages_->Reset();
    editor_->Reset();
    html_->Reset();
    ShowStyle();
    PlaceAnswerEditor();
    ShowState();
}

void TMain::ShowHeader()
{
    const QuizHeader& header = session_->Document().Header;
    infoTab_->ShowHeader(header);
    messTab_->DefPValEdit->setText(FromCore(header.DefaultPoints));
}

void TMain::StoreHeader()
{
    QuizHeader header = session_->Document().Header;
    infoTab_->TakeHeader(header);
    header.DefaultPoints = ToCore(messTab_->DefPValEdit->text());
    session_->SetHeader(header);
}

void TMain::StyleEdited()
{
    ++styleWriting_;
    try {
        session_->SetStyle(styleEdits_);
    } catch (...) {
        --styleWriting_;
        throw;
    }
    --styleWriting_;
}

void TMain::ShowStyle()
{
    if (styleWriting_ > 0 || styleEdits_ == session_->Document().Style)
        return;
    styleEdits_ = session_->Document().Style;
    if (styleDlg_)
        styleDlg_->ShowPrefs();
}

void TMain::ShowState()
{
    ShowDocumentName();
    FollowWithClassResults();
    undoAction_->setEnabled(session_->CanUndo());
    undoAction_->setText(
        session_->CanUndo() ? QStringLiteral("Annuler ") + FromCore(session_->UndoName()) : QStringLiteral("Annuler"));
    redoAction_->setEnabled(session_->CanRedo());
    redoAction_->setText(session_->CanRedo() ? QStringLiteral("Rétablir ") + FromCore(session_->RedoName())
                                             : QStringLiteral("Rétablir"));
}

void TMain::ShowDocumentName()
{
    const QString title = QFileInfo(CurrentFile()).fileName();
    setWindowTitle(title);
    const qsizetype point = title.indexOf(QLatin1Char('.'));
    activThem_->setText(point < 0 ? QString() : title.left(point));
}

void TMain::PlaceAnswerEditor()
{
    const QPoint pages = questTab_->QuestPages->mapTo(this, QPoint(0, 0));
    const QPoint client = geometry().topLeft();
    editor_->AnswerEditorPos
        = QPoint(pages.x() + client.x() - 40, pages.y() + client.y() + 20 + questTab_->QuestEdit->height());
}

// ---------------------------------------------------------------------------
// Help, about box, preferences

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

void TMain::ClassResults()
{
    if (!classResults_)
        classResults_ = new TClassResultsWindow(this);
    ShowClassResultsDocument();
    classResults_->show();
    classResults_->raise();
    classResults_->activateWindow();
}

void TMain::FollowWithClassResults()
{
    if (!classResults_ || !classResults_->isVisible())
        return;
    if (!classResultsFollow_) {
        classResultsFollow_ = new QTimer(this);
        classResultsFollow_->setSingleShot(true);
        classResultsFollow_->setInterval(300);
        connect(classResultsFollow_, &QTimer::timeout, this, [this] {
            if (classResults_ && classResults_->isVisible())
                ShowClassResultsDocument();
        });
    }
    classResultsFollow_->start();
}

void TMain::ShowClassResultsDocument()
{
    classResults_->ShowDocument(session_->Document(), CurrentFile(), IsModified());
}

} // namespace tavimor
