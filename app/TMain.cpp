#include "app/TMain.h"

#include "app/StyleDialog.h"

#include "app/AboutForm.h"
#include "app/ErrorBoundary.h"
#include "app/ImageDialog.h"
#include "app/InfoTab.h"
#include "app/LayoutTab.h"
#include "app/MessageBoxes.h"
#include "app/MessagesEditing.h"
#include "app/MessagesTab.h"
#include "app/QuestionsTab.h"
#include "app/RepGroup.h"
#include "app/TextCodec.h"
#include "generator/PageSet.h"
#include "model/FileIo.h"
#include "presentation/AppFolders.h"
#include "presentation/FileTypeRegistration.h"
#include "resources/EmbeddedGifs.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
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
    options_.SettingsFolder = WithSlash(options_.SettingsFolder);
    options_.PrefsFolder = WithSlash(options_.PrefsFolder);
    settingsFile_ = options_.SettingsFolder
        + PathFromCore(SettingsFileName(PathToCore(QFileInfo(options_.ProgramPath).fileName())));

    if (options_.ShowSplash) {
        TAboutFrm splash;
        splash.exec();
    }

    doc_.Pages.SetRememberHook(RememberPageTexts(settings_));
    doc_.Style.SetStartupElements(PathToCore(options_.PrefsFolder));
    site_ = std::make_unique<THKWZ>(doc_, EmbeddedGifs());

    setObjectName(QStringLiteral("TMain"));
    setFont(QFont(QStringLiteral("Arial"), 9));
    BuildMenus();
    BuildToolBar();
    BuildTabs();
    ConnectEditor();
    ConnectLayoutTab();

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
    // The children are destroyed after the members their slots use (the
    // document, the bindings): cut their connections to the window first.
    qApp->removeEventFilter(this);
    for (QObject* child : findChildren<QObject*>())
        disconnect(child, nullptr, this, nullptr);
}

template <typename Action> void TMain::OnTriggered(QAction* action, Action slot)
{
    connect(action, &QAction::triggered, this, Guarded(this, std::move(slot)));
}

void TMain::BuildMenus()
{
    const auto item = [this](QMenu* menu, const QString& name, const QString& text, const QKeySequence& keys = {}) {
        QAction* action = menu->addAction(text);
        action->setObjectName(name);
        action->setShortcut(keys);
        return action;
    };

    QMenu* file = menuBar()->addMenu(QStringLiteral("Fichier"));
    file->setObjectName(QStringLiteral("FileMenu"));
    OnTriggered(item(file, QStringLiteral("mNew"), QStringLiteral("Nouveau"), QKeySequence(Qt::CTRL | Qt::Key_N)),
        [this] { New(); });
    OnTriggered(item(file, QStringLiteral("mOpen"), QStringLiteral("Ouvrir"), QKeySequence(Qt::CTRL | Qt::Key_O)),
        [this] { Open(); });
    OnTriggered(item(file, QStringLiteral("mSave"), QStringLiteral("Enregistrer"), QKeySequence(Qt::CTRL | Qt::Key_S)),
        [this] { Save(); });
    OnTriggered(item(file, QStringLiteral("mSaveAs"), QStringLiteral("Renommer")), [this] { SaveAs(); });
    OnTriggered(item(file, QStringLiteral("mImport"), QStringLiteral("Importer(.txt)")), [this] { Import(); });
    OnTriggered(item(file, QStringLiteral("mExport"), QStringLiteral("Exporter (.txt)")), [this] { Export(); });
    OnTriggered(item(file, QStringLiteral("mPrefs"), QStringLiteral("Préférences...")), [this] { Preferences(); });
    OnTriggered(item(file, QStringLiteral("mQuit"), QStringLiteral("Quitter"), QKeySequence(Qt::CTRL | Qt::Key_Q)),
        [this] { close(); });

    QMenu* html = menuBar()->addMenu(QStringLiteral("HTML"));
    html->setObjectName(QStringLiteral("HtmlMenu"));
    item(html, QStringLiteral("mLoadParams"), QStringLiteral("Charge params..."));
    item(html, QStringLiteral("mSaveParams"), QStringLiteral("Sauve params..."));
    OnTriggered(item(html, QStringLiteral("mExam"), QStringLiteral("Produire examen")), [this] { ProduceExam(); });
    OnTriggered(item(html, QStringLiteral("mProduce"), QStringLiteral("Produire KWZ"), QKeySequence(Qt::Key_F8)),
        [this] { ProduceSite(); });
    item(html, QStringLiteral("mBrowse"), QStringLiteral("Appeler navigateur"), QKeySequence(Qt::Key_F9));

    QMenu* help = menuBar()->addMenu(QStringLiteral("?"));
    help->setObjectName(QStringLiteral("HelpMenu"));
    OnTriggered(
        item(help, QStringLiteral("mHelp"), QStringLiteral("Aide"), QKeySequence(Qt::Key_F1)), [this] { Help(); });
    OnTriggered(item(help, QStringLiteral("mAbout"), QStringLiteral("APropos")), [this] { About(); });
}

void TMain::BuildToolBar()
{
    QToolBar* bar = addToolBar(QStringLiteral("Outils"));
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(20, 20));
    bar->toggleViewAction()->setEnabled(false);
    setContextMenuPolicy(Qt::NoContextMenu);

    const auto button = [this, bar](const QString& name, QStyle::StandardPixmap icon, const QString& hint) {
        QAction* action = bar->addAction(style()->standardIcon(icon), hint);
        action->setObjectName(name + QStringLiteral("Action"));
        action->setToolTip(hint);
        action->setStatusTip(hint);
        bar->widgetForAction(action)->setObjectName(name);
        return action;
    };
    OnTriggered(
        button(QStringLiteral("OpenBtn"), QStyle::SP_DialogOpenButton, QStringLiteral("Ouvrir")), [this] { Open(); });
    OnTriggered(button(QStringLiteral("SaveBtn"), QStyle::SP_DialogSaveButton, QStringLiteral("Enregistrer")),
        [this] { Save(); });
    OnTriggered(
        button(QStringLiteral("SaveAsBtn"), QStyle::SP_DriveFDIcon, QStringLiteral("Renommer")), [this] { SaveAs(); });
    bar->addSeparator();
    OnTriggered(button(QStringLiteral("ProduceBtn"), QStyle::SP_ComputerIcon, QStringLiteral("Produire HTM")),
        [this] { ProduceSite(); });
    button(QStringLiteral("BrowseBtn"), QStyle::SP_DirLinkIcon, QStringLiteral("Appeler le navigateur"));
    bar->addSeparator();
    typeAction_ = button(
        QStringLiteral("QTypeBtn"), QStyle::SP_FileDialogDetailedView, QStringLiteral("Modifier type de question"));
    OnTriggered(typeAction_, [this] { ChangeType(); });
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

    binding_ = std::make_unique<TEditorBinding>(doc_.Quests, questTab_->EditorControls());
    TPageEditorBinding::Controls pageControls;
    pageControls.TitleEd = messTab_->TitleEd;
    pageControls.BodyRed = messTab_->BodyRed;
    pageControls.PosMenCheck = layoutTab_->PosMenCheck;
    pageControls.BorderCheck = layoutTab_->BorderCheck;
    pageControls.DistFileCheck = layoutTab_->DistFileCheck;
    pages_ = std::make_unique<TPageEditorBinding>(doc_.Pages, doc_.Layout, RememberPageTexts(settings_), pageControls);
}

void TMain::ConnectEditor()
{
    connect(mainTabs_, &QTabWidget::currentChanged, this,
        [this](int index) { RunGuarded(this, [this, index] { MainTabChanged(index); }); });
    connect(messTab_->HMPTab, &QTabBar::currentChanged, this,
        [this](int index) { RunGuarded(this, [this, index] { PageTabChanged(index); }); });

    TQuestionsTab& q = *questTab_;
    connect(q.addQBtn, &QPushButton::clicked, this, Guarded(this, [this] { AddQuestion(); }));
    connect(q.delQBtn, &QPushButton::clicked, this, Guarded(this, [this] { DeleteQuestion(); }));
    connect(q.MainQListBox, &TQuestListBox::lineClicked, this,
        [this](int row) { RunGuarded(this, [this, row] { SelectQuestion(row); }); });
    connect(q.MainQListBox, &TQuestListBox::lineDropped, this,
        [this](int row) { RunGuarded(this, [this, row] { DropQuestion(row); }); });
    connect(q.QTypeLab, &TClickLabel::clicked, this, Guarded(this, [this] { ChangeType(); }));
    connect(&q, &TQuestionsTab::backgroundPressed, this, Guarded(this, [this] { StoreQuestion(); }));
    connect(q.REdBtn, &QToolButton::clicked, this, Guarded(this, [this] { OpenAnswerEditor(); }));
    connect(q.delRepBtn, &QToolButton::clicked, this, Guarded(this, [this] { RemoveLast(); }));
    connect(q.MoveRepBtn, &QToolButton::clicked, this, Guarded(this, [this] { MoveMark(); }));
    connect(q.colBtn, &QToolButton::clicked, this, Guarded(this, [this] { NextColumns(); }));
    connect(q.PriRGroup, &QButtonGroup::idClicked, this, [this] { MarkModified(); });

    connect(q.messBtn1, &QPushButton::clicked, this, Guarded(this, [this] { ShowSide(kRightSide); }));
    connect(q.messBtn0, &QPushButton::clicked, this, Guarded(this, [this] { ShowSide(kWrongSide); }));
    connect(q.GGCheck, &QCheckBox::clicked, this,
        [this](bool checked) { RunGuarded(this, [this, checked] { SwitchGeneric(checked); }); });
    connect(q.ExtFileCheck, &QCheckBox::clicked, this, Guarded(this, [this] {
        binding_->ApplyMessDependencies();
        if (doc_.Quests.CurQ != 0)
            binding_->StoreMessFromEditor(doc_.Quests.CurQ, binding_->MessSide);
        MarkModified();
    }));
    connect(q.MessPanl, &TPressPanel::pressed, this, Guarded(this, [this] {
        if (doc_.Quests.CurQ != 0 && binding_->StoreMessFromEditor(doc_.Quests.CurQ, binding_->MessSide))
            MarkModified();
    }));
    connect(q.QuestPages, &QTabWidget::currentChanged, this, [this] { binding_->ApplyMessDependencies(); });

    connect(infoTab_, &TInfoTab::edited, this, &TMain::MarkEdited);
    connect(messTab_, &TMessagesTab::edited, this, &TMain::MarkEdited);
    connect(layoutTab_, &TLayoutTab::edited, this, &TMain::MarkEdited);
    // "pages distinctes" takes effect at once; the other two boxes reach the preferences when saving.
    connect(layoutTab_->DistFileCheck, &QCheckBox::clicked, this,
        [this](bool checked) { doc_.Layout.DistinctPages = checked; });
    // The quiz's no-answer message follows its box at every change.
    // (The window's own resets and loads fill the box from the document.)
    connect(messTab_->NamEdit, &QPlainTextEdit::textChanged, this, [this] {
        if (quiet_ == 0)
            doc_.Quests.NoAnswerMess = MemoToCore(*messTab_->NamEdit);
    });

    TMessagesEditing::Hooks messageHooks;
    messageHooks.LinkStartFolder = [this] {
        if (!site_->OutDir.empty())
            return PathFromCore(site_->OutDir);
        return currentFile_.isEmpty() ? QString() : QFileInfo(currentFile_).absolutePath();
    };
    messageHooks.Modified = [this] { MarkModified(); };
    messages_ = std::make_unique<TMessagesEditing>(
        *this, doc_.Quests, *binding_, *questTab_, *messTab_, std::move(messageHooks));
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

void TMain::StartUp()
{
    const QString prefs = options_.PrefsFolder;
    if (!QFileInfo(prefs).isDir()) {
        EnsureFolder(PathToCore(prefs));
        ShowInfo(
            this, QStringLiteral("Le répertoire ") + QStringLiteral("Prefs") + QStringLiteral(" vient d'être créé."));
    }

    settings_ = ReadSettings(PathToCore(settingsFile_));
    infoTab_->CertCheckBox->setChecked(settings_.CertInd);
    messTab_->TitleLab->setText(FromCore(settings_.TLabel));
    messTab_->BodyLab->setText(FromCore(settings_.ResumLab));

    ResetScreen();
    RegisterDocumentTypeOnce(settings_, PathToCore(options_.ProgramPath), PathToCore(options_.DataHome));
    pages_->ShowInEditor();
    EmbedStyleDialog();
}

void TMain::EmbedStyleDialog()
{
    // The style dialog fills the Style tab, without border and without its
    // own accept button; it edits the run's style preferences in place.
    auto* layout = new QVBoxLayout(styleTab_);
    layout->setContentsMargins(0, 0, 0, 0);
    styleDlg_ = new TStyleDlg(doc_.Style, styleTab_);
    styleDlg_->SetEmbedded(true);
    connect(styleDlg_, &TStyleDlg::edited, this, &TMain::MarkModified);
    layout->addWidget(styleDlg_);
    styleDlg_->show();
}

void TMain::ShowStylePrefs()
{
    if (styleDlg_)
        styleDlg_->ShowPrefs();
}

void TMain::OpenAtStartUp()
{
    if (!options_.FileToOpen.isEmpty()) {
        OpenDocument(QFileInfo(options_.FileToOpen).absoluteFilePath());
        return;
    }
    if (settings_.LastFileName.empty() || !settings_.AutoLoad)
        return;
    const QString last = PathFromCore(settings_.LastFileName);
    if (QFileInfo(last).isFile()) {
        OpenDocument(last);
        return;
    }
    ShowInfo(this, MissingLastFileMessage(QFileInfo(last).fileName()));
}

void TMain::closeEvent(QCloseEvent* event)
{
    if (started_) {
        bool mayClose = false;
        RunGuarded(this, [this, &mayClose] { mayClose = MayDiscardChanges(); });
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
    binding_->DefaultPoints = DefaultPointsValue(ToCore(messTab_->DefPValEdit->text()));
    infoTab_->RememberIdentity(settings_);
    doc_.Quests.NoAnswerMess = MemoToCore(*messTab_->NamEdit);
    settings_.LastFileName = PathToCore(currentFile_);
    settings_.CertInd = infoTab_->CertCheckBox->isChecked();
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
            RunGuarded(this, [this] { AddQuestion(); });
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMain::MainTabChanged(int index)
{
    const int left = lastTab_;
    lastTab_ = index;
    // What was typed on the tab being left is kept.
    if (left == kQuestionsTab)
        StoreQuestion();
    if (left == kMessagesTab)
        pages_->StoreShownPage();

    typeAction_->setVisible(false);
    messages_->MainTabChanged(index);
    if (index == kQuestionsTab) {
        if (doc_.Quests.Count() > 0)
            doc_.Quests.CurQ = 1;
        ShowQuestion(doc_.Quests.CurQ);
        typeAction_->setVisible(true);
    } else if (index == kMessagesTab) {
        const QuietScope quiet(*this);
        {
            const QSignalBlocker silent(messTab_->HMPTab);
            messTab_->HMPTab->setCurrentIndex(0);
        }
        pages_->ShowPage(0);
    }
}

void TMain::PageTabChanged(int index)
{
    pages_->StoreShownPage();
    const QuietScope quiet(*this);
    pages_->ShowPage(index);
}

// ---------------------------------------------------------------------------
// Storing and showing

void TMain::StoreQuestion()
{
    if (doc_.Quests.CurQ == 0)
        return;
    if (binding_->StoreFromEditor(doc_.Quests.CurQ))
        MarkModified();
}

void TMain::StoreScreen()
{
    StoreQuestion();
    pages_->StoreShownPage();
    if (styleDlg_)
        styleDlg_->CommitShown();
}

void TMain::ShowQuestion(int n)
{
    binding_->LoadToEditor(n);
    if (n > 0)
        SelectLine(n - 1);
}

void TMain::SelectLine(int row)
{
    QListWidget* list = questTab_->MainQListBox;
    const QSignalBlocker quiet(list);
    if (row >= 0 && row < list->count())
        list->setCurrentRow(row);
}

void TMain::TakeHeaderFromControls()
{
    infoTab_->TakeHeader(doc_.Header);
    doc_.Quests.NoAnswerMess = MemoToCore(*messTab_->NamEdit);
    doc_.Header.DefaultPoints = ToCore(messTab_->DefPValEdit->text());
}

void TMain::ShowHeaderInControls()
{
    const QuietScope quiet(*this);
    infoTab_->ShowHeader(doc_.Header);
    ShowInMemo(*messTab_->NamEdit, doc_.Quests.NoAnswerMess);
    messTab_->DefPValEdit->setText(FromCore(doc_.Header.DefaultPoints));
}

QString TMain::DocumentName() const
{
    return QFileInfo(currentFile_).fileName();
}

void TMain::ShowDocumentName()
{
    const QString title = currentFile_.isEmpty() ? QString() : DocumentName();
    setWindowTitle(title);
    const qsizetype point = title.indexOf(QLatin1Char('.'));
    activThem_->setText(point < 0 ? QString() : title.left(point));
}

bool TMain::MayDiscardChanges()
{
    StoreScreen();
    if (!modified_)
        return true;
    const QString name = currentFile_.isEmpty() ? QStringLiteral("sans titre") : DocumentName();
    switch (AskSaveChanges(this, name)) {
    case SaveAnswer::Save:
        return Save();
    case SaveAnswer::Discard:
        return true;
    case SaveAnswer::Cancel:
        break;
    }
    return false;
}

void TMain::MarkModified()
{
    modified_ = true;
}

void TMain::MarkEdited()
{
    if (quiet_ == 0)
        modified_ = true;
}

void TMain::PlaceAnswerEditor()
{
    const QPoint pages = questTab_->QuestPages->mapTo(this, QPoint(0, 0));
    const QPoint client = geometry().topLeft();
    answerEditorPos_
        = QPoint(pages.x() + client.x() - 40, pages.y() + client.y() + 20 + questTab_->QuestEdit->height());
}

} // namespace tavimor
