#include "app/results/ClassResultsWindow.h"

#include "analysis/Calibration.h"
#include "analysis/ClassReport.h"
#include "analysis/ItemStatistics.h"
#include "analysis/MarksTableCsv.h"
#include "app/Accessibility.h"
#include "app/ErrorBoundary.h"
#include "app/FileDialogs.h"
#include "app/MessageBoxes.h"
#include "app/TextCodec.h"
#include "app/WidgetHelpers.h"
#include "app/results/FigureTable.h"
#include "app/results/ResultsCharts.h"
#include "app/results/ResultsText.h"
#include "exchange/PlatformQuestion.h"

#include <QAction>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTabWidget>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

namespace tavimor {

namespace {

// The wait cursor while files are read and the results gathered.
class TBusyCursor {
public:
    TBusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

QLabel* Note(QWidget* parent, const QString& name, const QString& text = {})
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QPushButton* Button(QWidget* parent, const QString& name, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAccessibleName(text);
    button->setAutoDefault(false);
    return button;
}

// Ctrl+T on a cell sorts by its column, ascending, then descending: the
// keyboard's click on the header.
void SortByKeyboard(QTableView* view)
{
    auto* sort = new QAction(view);
    sort->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    sort->setShortcutContext(Qt::WidgetShortcut);
    view->addAction(sort);
    QObject::connect(sort, &QAction::triggered, view, [view] {
        const int column = std::max(view->currentIndex().column(), 0);
        const QHeaderView* header = view->horizontalHeader();
        const bool again
            = header->sortIndicatorSection() == column && header->sortIndicatorOrder() == Qt::AscendingOrder;
        view->sortByColumn(column, again ? Qt::DescendingOrder : Qt::AscendingOrder);
    });
}

QTableView* Table(QWidget* parent, const QString& name, const QString& accessibleName, QSortFilterProxyModel* model)
{
    model->setSortRole(TFigureTable::kSortRole);
    model->setSortCaseSensitivity(Qt::CaseInsensitive);
    auto* view = new QTableView(parent);
    view->setObjectName(name);
    view->setAccessibleName(accessibleName);
    view->setAccessibleDescription(
        QStringLiteral("Un clic sur l'en-tête d'une colonne, ou Ctrl+T sur une de ses cellules, trie le tableau "
                       "selon cette colonne ; une seconde fois, dans l'ordre inverse."));
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    // Tab goes on to the next control; the arrows move from cell to cell.
    view->setTabKeyNavigation(false);
    view->setAlternatingRowColors(true);
    view->setSortingEnabled(true);
    view->sortByColumn(0, Qt::AscendingOrder);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setStretchLastSection(true);
    SortByKeyboard(view);
    return view;
}

QString DocumentName(const QString& path)
{
    return path.isEmpty() ? QStringLiteral("sans titre") : QFileInfo(path).fileName();
}

} // namespace

TClassResultsWindow::TClassResultsWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("ClassResultsWindow"));
    setAcceptDrops(true);
    BuildControls();
    ChainControls();
    resize(960, 680);
    CenterOnScreen(*this);
    auto* close = new QAction(this);
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    addAction(close);
    connect(close, &QAction::triggered, this, &QWidget::close);
}

TClassResultsWindow::~TClassResultsWindow() = default;

// ---------------------------------------------------------------------------
// The controls

void TClassResultsWindow::BuildControls()
{
    auto* layout = new QVBoxLayout(this);
    documentLabel_ = Note(this, QStringLiteral("DocumentLab"));
    unsavedLabel_ = Note(this, QStringLiteral("UnsavedLab"),
        QStringLiteral("Le quiz a des modifications non enregistrées : les résultats sont vérifiés d'après le quiz "
                       "tel qu'il est à l'écran, pas d'après son fichier."));
    SetTextColor(unsavedLabel_, QColor(160, 0, 0));
    layout->addWidget(documentLabel_);
    layout->addWidget(unsavedLabel_);

    auto* sources = new QHBoxLayout();
    addFilesBtn_ = Button(this, QStringLiteral("AddFilesBtn"), QStringLiteral("Ajouter des fichiers..."));
    addFolderBtn_ = Button(this, QStringLiteral("AddFolderBtn"), QStringLiteral("Ajouter un dossier..."));
    auto* attemptLabel = new QLabel(QStringLiteral("Tentative retenue pour chaque élève :"), this);
    attemptBox_ = new QComboBox(this);
    attemptBox_->setObjectName(QStringLiteral("AttemptBox"));
    attemptBox_->addItem(QStringLiteral("la première"), static_cast<int>(TAttemptChoice::First));
    attemptBox_->addItem(QStringLiteral("la dernière"), static_cast<int>(TAttemptChoice::Last));
    attemptBox_->addItem(QStringLiteral("la meilleure"), static_cast<int>(TAttemptChoice::Best));
    attemptLabel->setBuddy(attemptBox_);
    NameComboBox(attemptBox_, QStringLiteral("Tentative retenue pour chaque élève"));
    alteredCheck_ = new QCheckBox(QStringLiteral("Compter les résultats modifiés après coup"), this);
    alteredCheck_->setObjectName(QStringLiteral("AlteredCheck"));
    alteredCheck_->setAccessibleName(alteredCheck_->text());
    sources->addWidget(addFilesBtn_);
    sources->addWidget(addFolderBtn_);
    sources->addSpacing(16);
    sources->addWidget(attemptLabel);
    sources->addWidget(attemptBox_);
    sources->addSpacing(16);
    sources->addWidget(alteredCheck_);
    sources->addStretch();
    layout->addLayout(sources);

    countsLabel_ = Note(this, QStringLiteral("CountsLab"));
    QFont bold = countsLabel_->font();
    bold.setBold(true);
    countsLabel_->setFont(bold);
    layout->addWidget(countsLabel_);

    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("ResultsPages"));
    pages_->tabBar()->setAccessibleName(QStringLiteral("Vues des résultats"));
    // Tab stops on the tab row once: the tab widget, which would hand the
    // focus to it from another place in the chain, takes none itself.
    pages_->setFocusProxy(nullptr);
    pages_->setFocusPolicy(Qt::NoFocus);
    pages_->addTab(BuildStudentsPage(), QStringLiteral("Élèves"));
    pages_->addTab(BuildQuestionsPage(), QStringLiteral("Questions"));
    pages_->addTab(BuildChartsPage(), QStringLiteral("Graphiques"));
    pages_->addTab(BuildNotCountedPage(), QStringLiteral("Fichiers non comptés"));
    layout->addWidget(pages_, 1);

    layout->addWidget(Note(this, QStringLiteral("CheckValueLab"),
        QStringLiteral("La valeur de contrôle de chaque résultat rend visibles les dégâts accidentels et les retouches "
                       "ordinaires d'un fichier, mais elle ne peut pas arrêter un élève déterminé : il peut la "
                       "recalculer.")));

    auto* exports = new QHBoxLayout();
    exportMarksBtn_
        = Button(this, QStringLiteral("ExportMarksBtn"), QStringLiteral("Exporter le tableau des notes..."));
    exportReportBtn_ = Button(this, QStringLiteral("ExportReportBtn"), QStringLiteral("Exporter le rapport..."));
    closeBtn_ = Button(this, QStringLiteral("CloseBtn"), QStringLiteral("Fermer"));
    exports->addWidget(exportMarksBtn_);
    exports->addWidget(exportReportBtn_);
    exports->addStretch();
    exports->addWidget(closeBtn_);
    layout->addLayout(exports);

    connect(addFilesBtn_, &QPushButton::clicked, this, Guarded(this, [this] { ChooseFiles(); }));
    connect(addFolderBtn_, &QPushButton::clicked, this, Guarded(this, [this] { ChooseFolder(); }));
    connect(attemptBox_, &QComboBox::currentIndexChanged, this, Guarded(this, [this] { Gather(); }));
    connect(alteredCheck_, &QCheckBox::toggled, this, Guarded(this, [this] { Gather(); }));
    connect(exportMarksBtn_, &QPushButton::clicked, this, Guarded(this, [this] { ExportMarks(); }));
    connect(exportReportBtn_, &QPushButton::clicked, this, Guarded(this, [this] { ExportReport(); }));
    connect(closeBtn_, &QPushButton::clicked, this, &QWidget::close);
}

QWidget* TClassResultsWindow::BuildStudentsPage()
{
    auto* page = new QWidget();
    page->setObjectName(QStringLiteral("StudentsPage"));
    students_ = new TFigureTable(this);
    sortedStudents_ = new QSortFilterProxyModel(this);
    sortedStudents_->setSourceModel(students_);
    studentsView_
        = Table(page, QStringLiteral("StudentsTable"), QStringLiteral("Résultats des élèves"), sortedStudents_);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(studentsView_);
    return page;
}

QWidget* TClassResultsWindow::BuildQuestionsPage()
{
    auto* page = new QWidget();
    page->setObjectName(QStringLiteral("QuestionsPage"));
    questions_ = new TFigureTable(this);
    sortedQuestions_ = new QSortFilterProxyModel(this);
    sortedQuestions_->setSourceModel(questions_);
    questionsView_
        = Table(page, QStringLiteral("QuestionsTable"), QStringLiteral("Analyse des questions"), sortedQuestions_);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(questionsView_);
    layout->addWidget(Note(page, QStringLiteral("QuestionsHelpLab"),
        QStringLiteral("Facilité : la note moyenne de la question (de 0 à 1). Indice de discrimination : combien la "
                       "question sépare les élèves forts des faibles sur le reste du test ; efficacité "
                       "discriminante : cet indice rapporté au plus haut qu'il pouvait atteindre. Poids effectif : "
                       "la part de la question dans le classement des élèves. « — » : pas de valeur (trop peu "
                       "d'élèves, ou tous ont la même note).")));
    return page;
}

QWidget* TClassResultsWindow::BuildChartsPage()
{
    auto* page = new QWidget();
    page->setObjectName(QStringLiteral("ChartsPage"));
    histogram_ = std::make_unique<TRateHistogram>(page);
    calibration_ = std::make_unique<TCalibrationChart>(page);
    classFigures_ = Note(page, QStringLiteral("ClassFiguresLab"));
    auto* charts = new QHBoxLayout();
    // The ten tenths need the wider place.
    charts->addWidget(histogram_->View(), 3);
    charts->addWidget(calibration_->View(), 2);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(charts, 1);
    layout->addWidget(classFigures_);
    return page;
}

QWidget* TClassResultsWindow::BuildNotCountedPage()
{
    auto* page = new QWidget();
    page->setObjectName(QStringLiteral("NotCountedPage"));
    notCounted_ = new QListWidget(page);
    notCounted_->setObjectName(QStringLiteral("NotCountedList"));
    notCounted_->setAccessibleName(QStringLiteral("Fichiers non comptés et résultats modifiés après coup"));
    notCounted_->setWordWrap(true);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(notCounted_);
    return page;
}

void TClassResultsWindow::ChainControls()
{
    ChainTabOrder(
        {addFilesBtn_, addFolderBtn_, attemptBox_, alteredCheck_, pages_->tabBar(), studentsView_, questionsView_,
            histogram_->View(), calibration_->View(), notCounted_, exportMarksBtn_, exportReportBtn_, closeBtn_});
}

// ---------------------------------------------------------------------------
// The document and the files

void TClassResultsWindow::ShowDocument(const TQuizDocument& doc, const QString& path, bool modified)
{
    if (path != path_)
        files_.Clear();
    doc_ = doc;
    path_ = path;
    // The page names its quiz after the document's file name up to its first point.
    const QString name = QFileInfo(path).fileName();
    stem_ = ToCore(name.left(name.indexOf(QLatin1Char('.'))));
    setWindowTitle(QStringLiteral("Résultats de la classe — ") + DocumentName(path));
    const int count = doc.Quests.Count();
    documentLabel_->setText(
        QStringLiteral("Quiz : %1 (%2 %3%4)")
            .arg(path.isEmpty() ? DocumentName(path) : QDir::toNativeSeparators(path), QString::number(count),
                count > 1 ? QStringLiteral("questions") : QStringLiteral("question"),
                doc.Header.UseCertainty ? QStringLiteral(", avec le degré de certitude") : QString()));
    unsavedLabel_->setVisible(modified);
    Gather();
}

void TClassResultsWindow::AddPaths(const QStringList& paths)
{
    {
        const TBusyCursor busy;
        for (const QString& path : paths)
            files_.Add(path);
    }
    Gather();
}

void TClassResultsWindow::ChooseFiles()
{
    QFileDialog dialog(this, QStringLiteral("Ajouter des fichiers de résultats"),
        path_.isEmpty() ? QDir::currentPath() : QFileInfo(path_).absolutePath(),
        QStringLiteral("Résultats et courriels (*.txt *.json *.eml *.mbox);;Tous les fichiers (*)"));
    dialog.setObjectName(QStringLiteral("ResultsFilesDialog"));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (dialog.exec() == QDialog::Accepted)
        AddPaths(dialog.selectedFiles());
}

void TClassResultsWindow::ChooseFolder()
{
    QFileDialog dialog(this, QStringLiteral("Ajouter un dossier de résultats"),
        path_.isEmpty() ? QDir::currentPath() : QFileInfo(path_).absolutePath());
    dialog.setObjectName(QStringLiteral("ResultsFolderDialog"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() == QDialog::Accepted)
        AddPaths(dialog.selectedFiles());
}

void TClassResultsWindow::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); }))
        event->acceptProposedAction();
}

void TClassResultsWindow::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    RunGuarded(this, [this, &paths] { AddPaths(paths); });
}

// ---------------------------------------------------------------------------
// The results

void TClassResultsWindow::Gather()
{
    const TBusyCursor busy;
    TGatherOptions options;
    options.Attempt = static_cast<TAttemptChoice>(attemptBox_->currentData().toInt());
    options.IncludeAltered = alteredCheck_->isChecked();
    results_ = GatherResults(doc_, stem_, files_.Sources(), options);
    const std::vector<TRefusedFile>& unread = files_.Unread();
    results_.Refused.insert(results_.Refused.begin(), unread.begin(), unread.end());
    ShowResults();
}

void TClassResultsWindow::ShowResults()
{
    const bool includeAltered = alteredCheck_->isChecked();
    const TMarksTable marks = results_.Marks();
    const TClassStatistics statistics = ComputeClassStatistics(marks);

    students_->SetTable(StudentHeaders(results_.Certainty), StudentRows(results_));
    questions_->SetTable(QuestionHeaders(), QuestionRows(doc_, ComputeItemStatistics(marks)));
    studentsView_->resizeColumnsToContents();
    questionsView_->resizeColumnsToContents();

    histogram_->Show(statistics);
    calibration_->View()->setVisible(results_.Certainty);
    AnnounceDescription(histogram_->View());
    if (results_.Certainty) {
        calibration_->Show(ClassCalibration(results_));
        AnnounceDescription(calibration_->View());
    }
    classFigures_->setText(statistics.Students == 0
            ? QString()
            : QStringLiteral("Taux pondéré de la classe : moyenne %1, médiane "
                             "%2, écart-type %3.")
                  .arg(RateText(statistics.MeanRate), RateText(statistics.MedianRate),
                      RateText(statistics.RateStandardDeviation)));

    const QStringList notCounted = NotCountedLines(results_, includeAltered);
    notCounted_->clear();
    notCounted_->addItems(notCounted);
    pages_->setTabText(kNotCountedPage,
        notCounted.isEmpty() ? QStringLiteral("Fichiers non comptés")
                             : QStringLiteral("Fichiers non comptés (%1)").arg(notCounted.size()));

    countsLabel_->setText(files_.IsEmpty()
            ? QStringLiteral("Aucun fichier ajouté : ajoutez les résultats que les élèves ont enregistrés ou envoyés "
                             "(fichiers, dossiers, courriels enregistrés), avec les boutons ci-dessus ou en les "
                             "déposant sur cette fenêtre.")
            : CountsLine(results_, includeAltered));
    exportMarksBtn_->setEnabled(!results_.Students.empty());
    // The report also says which files were refused and why.
    exportReportBtn_->setEnabled(!files_.IsEmpty());
}

QString TClassResultsWindow::ProposedFile(const char* suffix) const
{
    if (path_.isEmpty())
        return QDir(QDir::currentPath()).filePath(QStringLiteral("quiz") + QString::fromLatin1(suffix));
    return PathFromCore(BesideDocument(PathToCore(path_), suffix));
}

void TClassResultsWindow::ExportMarks()
{
    const QString path = ChooseFileWithDialog(this,
        {QStringLiteral("Exporter le tableau des notes"), ProposedFile("-notes.csv"),
            QStringLiteral("Tableaux CSV (*.csv)"), QStringLiteral("MarksDialog"), QStringLiteral("csv"), true});
    if (path.isEmpty())
        return;
    InContext(QStringLiteral("Impossible d'écrire ") + Quoted(QFileInfo(path).fileName()) + QStringLiteral(" :"),
        [&] { WriteMarksTableCsv(PathToCore(path), results_.Marks()); });
    ShowInfo(this, QStringLiteral("Le tableau des notes est enregistré dans ") + Quoted(path) + QLatin1Char('.'));
}

void TClassResultsWindow::ExportReport()
{
    const QString path = ChooseFileWithDialog(this,
        {QStringLiteral("Exporter le rapport de la classe"), ProposedFile("-rapport.html"),
            QStringLiteral("Pages HTML (*.html *.htm)"), QStringLiteral("ReportDialog"), QStringLiteral("html"), true});
    if (path.isEmpty())
        return;
    InContext(QStringLiteral("Impossible d'écrire ") + Quoted(QFileInfo(path).fileName()) + QStringLiteral(" :"),
        [&] { WriteClassReport(PathToCore(path), doc_, results_, stem_); });
    ShowInfo(this, QStringLiteral("Le rapport de la classe est enregistré dans ") + Quoted(path) + QLatin1Char('.'));
}

} // namespace tavimor
