// "Résultats de la classe..." driven as a teacher drives it: opened from the
// HTML menu, results added from a folder, by the file dialog and by a drop,
// the tables read and sorted, the attempt choice and the altered records,
// the marks exported, and every control reached by keyboard and named.
#include "main_window_helpers.h"

#include "analysis/ResultsRecord.h"
#include "app/results/ClassResultsWindow.h"
#include "common/results_record.h"

#include <QAbstractItemModel>
#include <QAccessible>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QWindow>

#include <sys/stat.h>

namespace tavimor::testing {
namespace {

using test::Given;
using test::RecordLine;

// The students' answers: the choice ticked on each question, none for "no answer".
std::vector<Given> Ticked(std::initializer_list<int> choices, bool certain = false)
{
    std::vector<Given> given;
    for (const int choice : choices)
        given.push_back({choice < 0 ? std::nullopt : std::optional<int>(choice), certain});
    return given;
}

QStringList Row(const QAbstractItemModel& model, int row)
{
    QStringList cells;
    for (int column = 0; column < model.columnCount(); ++column)
        cells << model.index(row, column).data().toString();
    return cells;
}

QStringList Column(const QAbstractItemModel& model, int column)
{
    QStringList cells;
    for (int row = 0; row < model.rowCount(); ++row)
        cells << model.index(row, column).data().toString();
    return cells;
}

QStringList Headers(const QAbstractItemModel& model)
{
    QStringList headers;
    for (int column = 0; column < model.columnCount(); ++column)
        headers << model.headerData(column, Qt::Horizontal).toString();
    return headers;
}

void ClickHeader(QTableView& view, int column)
{
    QHeaderView* header = view.horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

// geo.kwz: three questions whose right answers are the first, the second
// and the first choice; records written as the quiz page writes them.
class ClassResultsTest : public MainWindowTest {
protected:
    TMain& StartOnGeo(bool certainty = false, int questions = 3)
    {
        WriteSettingsFile();
        std::vector<QuestionSpec> specs {{"Capitale de la France ?", TRepType::rKWZ, {"Paris", "Lyon"}, 0, 0},
            {"Plus long fleuve de France ?", TRepType::rKWZ, {"Seine", "Loire"}, 1, 0},
            {"Plus haut sommet des Alpes ?", TRepType::rKWZ, {"Mont Blanc", "Cervin"}, 0, 0}};
        for (int i = 4; i <= questions; ++i)
            specs.push_back({"Question " + std::to_string(i), TRepType::rKWZ, {"a", "b"}, 0, 0});
        WriteDocument(Path(QStringLiteral("geo.kwz")), specs);
        doc_ = Reload(Path(QStringLiteral("geo.kwz")));
        if (certainty) {
            doc_.Header.UseCertainty = true;
            SaveDocument(doc_, QFile::encodeName(Path(QStringLiteral("geo.kwz"))).toStdString());
        }
        return StartOn(Path(QStringLiteral("geo.kwz")));
    }

    void WriteFile(const QString& relative, const std::string& text)
    {
        const QString path = Path(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
    }

    void WriteRecord(const QString& relative, const std::string& student, const std::vector<Given>& given,
        const std::string& started = "2026-12-08T14:32:05+01:00",
        const std::string& finished = "2026-12-08T14:41:47+01:00")
    {
        WriteFile(relative, RecordLine(doc_, student, given, started, finished) + "\n");
    }

    // The class folder: Alice right everywhere, Bruno on the second question
    // only, Chloé three times (first, best, last), a copy of Alice's record,
    // a damaged file, a record of an older version of the quiz, Denis's
    // record with his name changed afterwards, hidden records that do not
    // count, and a named pipe, which a read would wait on forever.
    void WriteClassFolder()
    {
        WriteRecord(QStringLiteral("classe/alice.txt"), "Alice", Ticked({0, 1, 0}));
        WriteRecord(QStringLiteral("classe/sous-dossier/alice-copie.txt"), "Alice", Ticked({0, 1, 0}));
        WriteRecord(QStringLiteral("classe/bruno.txt"), "Bruno", Ticked({1, 1, 1}), "2026-12-08T14:32:05+01:00",
            "2026-12-08T14:50:05+01:00");
        WriteRecord(QStringLiteral("classe/chloe-1.txt"), "Chlo\\u00e9", Ticked({0, 1, 1}), "2026-12-08T14:00:00+01:00",
            "2026-12-08T14:05:00+01:00");
        WriteRecord(QStringLiteral("classe/chloe-2.txt"), "Chlo\\u00e9", Ticked({0, 1, 0}), "2026-12-08T15:00:00+01:00",
            "2026-12-08T15:04:00+01:00");
        WriteRecord(QStringLiteral("classe/chloe-3.txt"), "chlo\\u00e9", Ticked({1, 0, 1}), "2026-12-08T16:00:00+01:00",
            "2026-12-08T16:03:00+01:00");
        WriteFile(QStringLiteral("classe/abime.txt"), "{\"format\":\"tavimor-results\",\"version\":1,\"quiz\":{\n");
        WriteFile(QStringLiteral("classe/ancien.txt"),
            RecordLine(doc_, "Eva", Ticked({0, 1, 0}), "2026-12-08T14:32:05+01:00", "2026-12-08T14:41:47+01:00",
                "0123456789abcdef0123456789abcdef")
                + "\n");
        std::string denis = RecordLine(doc_, "Denis", Ticked({0, 1, 0}));
        denis.replace(denis.find("Denis"), 5, "Denys");
        WriteFile(QStringLiteral("classe/denis.txt"), denis + "\n");
        WriteRecord(QStringLiteral("classe/.zoe.txt"), "Zo\\u00e9", Ticked({0, 1, 0}));
        WriteRecord(QStringLiteral("classe/.cache/zoe.txt"), "Zo\\u00e9", Ticked({0, 1, 0}));
        ASSERT_EQ(::mkfifo(QFile::encodeName(Path(QStringLiteral("classe/tube"))).constData(), 0600), 0);
    }

    TClassResultsWindow& OpenFromMenu()
    {
        auto* action = Find<QAction>("mClassResults");
        EXPECT_TRUE(Find<QMenu>("HtmlMenu")->actions().contains(action));
        action->trigger();
        auto* results = Window().findChild<TClassResultsWindow*>(QStringLiteral("ClassResultsWindow"));
        EXPECT_NE(results, nullptr);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(results));
        return *results;
    }

    // The window on the class folder, added with "Ajouter un dossier...".
    TClassResultsWindow& OpenOnClassFolder()
    {
        StartOnGeo();
        WriteClassFolder();
        TClassResultsWindow& results = OpenFromMenu();
        ModalAnswerer answerer;
        answerer.Then(ChooseFile(Path(QStringLiteral("classe"))));
        QTest::mouseClick(In<QPushButton>(results, "AddFolderBtn"), Qt::LeftButton);
        WaitAnswered(answerer);
        return results;
    }

    // Keys reach the window the teacher works in.
    static void Activate(QWidget& window)
    {
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    template <class T> static T* In(QWidget& window, const char* name)
    {
        T* child = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    static const QAbstractItemModel& Students(QWidget& window)
    {
        return *In<QTableView>(window, "StudentsTable")->model();
    }

    static const QAbstractItemModel& Questions(QWidget& window)
    {
        return *In<QTableView>(window, "QuestionsTable")->model();
    }

    static QString Counts(QWidget& window) { return In<QLabel>(window, "CountsLab")->text(); }

    TQuizDocument doc_;
};

// ---------------------------------------------------------------------------
// Gathering a class's folder

TEST_F(ClassResultsTest, AFolderGivesEachStudentOnceWithTheFilesNotCountedAndWhy)
{
    TClassResultsWindow& results = OpenOnClassFolder();
    EXPECT_EQ(results.windowTitle(), QStringLiteral("Résultats de la classe — geo.kwz"));
    EXPECT_FALSE(In<QLabel>(results, "UnsavedLab")->isVisible());

    // Hidden files and folders are not read; Chloé's first attempt counts.
    const QAbstractItemModel& students = Students(results);
    EXPECT_EQ(Headers(students),
        (QStringList {QStringLiteral("Élève"), QStringLiteral("Bonnes réponses"), QStringLiteral("Taux pondéré"),
            QStringLiteral("Durée")}));
    ASSERT_EQ(students.rowCount(), 3);
    EXPECT_EQ(Row(students, 0),
        (QStringList {QStringLiteral("Alice"), QStringLiteral("3 sur 3"), QStringLiteral("100,0 %"),
            QStringLiteral("9 min 42 s")}));
    EXPECT_EQ(Row(students, 1),
        (QStringList {QStringLiteral("Bruno"), QStringLiteral("1 sur 3"), QStringLiteral("33,3 %"),
            QStringLiteral("18 min 00 s")}));
    EXPECT_EQ(Row(students, 2),
        (QStringList {QStringLiteral("Chloé (3 essais)"), QStringLiteral("2 sur 3"), QStringLiteral("66,7 %"),
            QStringLiteral("5 min 00 s")}));

    EXPECT_EQ(Counts(results),
        QStringLiteral("3 élèves, 3 questions ; 1 résultat reçu en double, compté une fois ; 3 fichiers non comptés."));
    const QStringList notCounted = Lines(*In<QListWidget>(results, "NotCountedList"));
    ASSERT_EQ(notCounted.size(), 3) << notCounted.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(notCounted[0],
        QStringLiteral("classe/abime.txt : le résultat est endommagé ou incomplet (fichier tronqué ou modifié à la "
                       "main)"));
    EXPECT_TRUE(notCounted[1].startsWith(
        QStringLiteral("classe/ancien.txt : ce résultat répond à une autre version de ce quiz")))
        << notCounted[1].toStdString();
    EXPECT_EQ(notCounted[2], QStringLiteral("classe/denis.txt : modifié après coup (résultat de Denys), non compté"));
    auto* pages = In<QTabWidget>(results, "ResultsPages");
    EXPECT_EQ(pages->tabText(TClassResultsWindow::kNotCountedPage), QStringLiteral("Fichiers non comptés (3)"));
    EXPECT_TRUE(In<QLabel>(results, "CheckValueLab")->text().contains(QStringLiteral("élève déterminé")));
    // No certainty option: no calibration column nor chart.
    EXPECT_TRUE(In<QChartView>(results, "CalibrationChart")->isHidden());
}

TEST_F(ClassResultsTest, TheQuestionsTableGivesEachQuestionsFiguresAndADashWhereThereIsNone)
{
    TClassResultsWindow& results = OpenOnClassFolder();
    // Alice 1 1 1, Bruno 0 1 0, Chloé 1 1 0: every student right on the
    // second question, whose deviation is nil and comparisons have no value.
    const QAbstractItemModel& questions = Questions(results);
    EXPECT_EQ(Headers(questions),
        (QStringList {QStringLiteral("Question"), QStringLiteral("Facilité"), QStringLiteral("Écart-type"),
            QStringLiteral("Indice de discrimination"), QStringLiteral("Efficacité discriminante"),
            QStringLiteral("Poids effectif")}));
    ASSERT_EQ(questions.rowCount(), 3);
    EXPECT_EQ(Row(questions, 0),
        (QStringList {QStringLiteral("1. Capitale de la France ?"), QStringLiteral("0,667"), QStringLiteral("0,577"),
            QStringLiteral("50,0 %"), QStringLiteral("100,0 %"), QStringLiteral("50,0 %")}));
    EXPECT_EQ(Row(questions, 1),
        (QStringList {QStringLiteral("2. Plus long fleuve de France ?"), QStringLiteral("1,000"),
            QStringLiteral("0,000"), QStringLiteral("—"), QStringLiteral("—"), QStringLiteral("0,0 %")}));
    EXPECT_EQ(Row(questions, 2)[1], QStringLiteral("0,333"));

    // Sorted by discrimination, the question without a value comes first.
    auto* view = In<QTableView>(results, "QuestionsTable");
    In<QTabWidget>(results, "ResultsPages")->setCurrentIndex(TClassResultsWindow::kQuestionsPage);
    ClickHeader(*view, 3);
    EXPECT_EQ(Column(questions, 3).first(), QStringLiteral("—"));
}

TEST_F(ClassResultsTest, AClickOnAHeaderSortsTheStudentsByItsFiguresThenTheOtherWay)
{
    TClassResultsWindow& results = OpenOnClassFolder();
    auto* view = In<QTableView>(results, "StudentsTable");
    const QAbstractItemModel& students = Students(results);

    ClickHeader(*view, 2); // Taux pondéré
    EXPECT_EQ(Column(students, 2),
        (QStringList {QStringLiteral("33,3 %"), QStringLiteral("66,7 %"), QStringLiteral("100,0 %")}));
    ClickHeader(*view, 2);
    EXPECT_EQ(Column(students, 2),
        (QStringList {QStringLiteral("100,0 %"), QStringLiteral("66,7 %"), QStringLiteral("33,3 %")}));
    // Times sort as times, not as texts ("18 min" before "5 min").
    ClickHeader(*view, 3);
    EXPECT_EQ(Column(students, 0),
        (QStringList {QStringLiteral("Chloé (3 essais)"), QStringLiteral("Alice"), QStringLiteral("Bruno")}));

    // The keyboard sorts too: Ctrl+T on a cell of the names' column.
    Activate(results);
    view->setFocus();
    view->setCurrentIndex(students.index(0, 0));
    QTest::keyClick(view, Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(Column(students, 0),
        (QStringList {QStringLiteral("Alice"), QStringLiteral("Bruno"), QStringLiteral("Chloé (3 essais)")}));
    QTest::keyClick(view, Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(Column(students, 0).first(), QStringLiteral("Chloé (3 essais)"));
}

TEST_F(ClassResultsTest, TheAttemptChoiceAndTheAlteredBoxGatherTheResultsAgain)
{
    TClassResultsWindow& results = OpenOnClassFolder();
    const QAbstractItemModel& students = Students(results);
    auto* attempt = In<QComboBox>(results, "AttemptBox");
    const auto chloe = [&] { return Row(students, 2).mid(1, 2); };
    ASSERT_EQ(chloe(), (QStringList {QStringLiteral("2 sur 3"), QStringLiteral("66,7 %")}));

    attempt->setFocus();
    QTest::keyClick(attempt, Qt::Key_Down);
    EXPECT_EQ(attempt->currentText(), QStringLiteral("la dernière"));
    EXPECT_EQ(chloe(), (QStringList {QStringLiteral("0 sur 3"), QStringLiteral("0,0 %")}));
    QTest::keyClick(attempt, Qt::Key_Down);
    EXPECT_EQ(attempt->currentText(), QStringLiteral("la meilleure"));
    EXPECT_EQ(chloe(), (QStringList {QStringLiteral("3 sur 3"), QStringLiteral("100,0 %")}));

    // Denis's changed record counts, marked again from the quiz and shown as changed.
    auto* altered = In<QCheckBox>(results, "AlteredCheck");
    QTest::mouseClick(altered, Qt::LeftButton, {}, ClickPoint(*altered));
    ASSERT_EQ(students.rowCount(), 4);
    EXPECT_EQ(Row(students, 3),
        (QStringList {QStringLiteral("Denys — modifié après coup"), QStringLiteral("3 sur 3"),
            QStringLiteral("100,0 %"), QStringLiteral("9 min 42 s")}));
    EXPECT_EQ(Counts(results),
        QStringLiteral("4 élèves, 3 questions ; 1 résultat reçu en double, compté une fois ; 2 fichiers non comptés ; "
                       "1 résultat modifié après coup compté."));
    EXPECT_EQ(Lines(*In<QListWidget>(results, "NotCountedList")).last(),
        QStringLiteral("classe/denis.txt : modifié après coup (résultat de Denys), compté, corrigé d'après le quiz"));
}

// ---------------------------------------------------------------------------
// Files given one by one, dropped, or not results at all

TEST_F(ClassResultsTest, FilesAddedOrDroppedCountOnceAndBadFilesAreRefusedUnread)
{
    StartOnGeo();
    WriteClassFolder();
    TClassResultsWindow& results = OpenFromMenu();
    EXPECT_TRUE(Counts(results).startsWith(QStringLiteral("Aucun fichier ajouté")));
    EXPECT_FALSE(In<QPushButton>(results, "ExportMarksBtn")->isEnabled());
    EXPECT_FALSE(In<QPushButton>(results, "ExportReportBtn")->isEnabled());

    ModalAnswerer answerer;
    answerer.Then(ChooseFile(Path(QStringLiteral("classe/alice.txt"))));
    QTest::mouseClick(In<QPushButton>(results, "AddFilesBtn"), Qt::LeftButton);
    WaitAnswered(answerer);
    EXPECT_EQ(Column(Students(results), 0), QStringList {QStringLiteral("Alice")});

    // A file past the size limit (refused without being read), a named pipe
    // (which a read would wait on forever), Bruno, and Alice's file again.
    QFile big(Path(QStringLiteral("gros.txt")));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(static_cast<qint64>(kMaxResultsFileSize) + 1));
    big.close();
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path(QStringLiteral("tube"))).constData(), 0600), 0);
    QMimeData data;
    data.setUrls(
        {QUrl::fromLocalFile(Path(QStringLiteral("gros.txt"))), QUrl::fromLocalFile(Path(QStringLiteral("tube"))),
            QUrl::fromLocalFile(Path(QStringLiteral("classe/bruno.txt"))),
            QUrl::fromLocalFile(Path(QStringLiteral("classe/alice.txt")))});
    // Dropped on the students' table: the window takes the drop.
    QTableView* table = In<QTableView>(results, "StudentsTable");
    const QPoint at = table->viewport()->mapTo(&results, table->viewport()->rect().center());
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(results.windowHandle(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(results.windowHandle(), &drop);

    EXPECT_EQ(Column(Students(results), 0), (QStringList {QStringLiteral("Alice"), QStringLiteral("Bruno")}));
    EXPECT_EQ(Lines(*In<QListWidget>(results, "NotCountedList")),
        (QStringList {QStringLiteral("gros.txt : le fichier est trop grand pour être un résultat"),
            QStringLiteral("tube : le fichier est introuvable ou illisible")}));
    EXPECT_EQ(Counts(results), QStringLiteral("2 élèves, 3 questions ; 2 fichiers non comptés."));
    EXPECT_TRUE(In<QPushButton>(results, "ExportMarksBtn")->isEnabled());
}

TEST_F(ClassResultsTest, ResultsAreCheckedAgainstTheQuizOnScreenWithItsUnsavedEdits)
{
    StartOnGeo();
    WriteClassFolder();
    ClickMainTab(TMain::kQuestionsTab);
    AppendText(*Find<QPlainTextEdit>("QuestEdit"), QStringLiteral(" (en Europe)"));
    TClassResultsWindow& results = OpenFromMenu();
    EXPECT_TRUE(In<QLabel>(results, "UnsavedLab")->isVisible());

    results.AddPaths({Path(QStringLiteral("classe/alice.txt"))});
    EXPECT_EQ(Students(results).rowCount(), 0);
    EXPECT_TRUE(Lines(*In<QListWidget>(results, "NotCountedList"))
                    .first()
                    .startsWith(QStringLiteral("alice.txt : ce résultat répond à une autre version de ce quiz")));
}

TEST_F(ClassResultsTest, AnOpenWindowFollowsEditsAndUndoOfTheQuiz)
{
    TClassResultsWindow& results = OpenOnClassFolder();
    const int counted = Students(results).rowCount();
    ASSERT_GT(counted, 0);
    EXPECT_FALSE(In<QLabel>(results, "UnsavedLab")->isVisible());

    // A changed question, stored when the teacher goes to the next one,
    // makes the students' records answer another version.
    ClickMainTab(TMain::kQuestionsTab);
    AppendText(*Find<QPlainTextEdit>("QuestEdit"), QStringLiteral(" (en Europe)"));
    ClickLine(*Find<QListWidget>("MainQListBox"), 1);
    EXPECT_TRUE(QTest::qWaitFor([&results] { return Students(results).rowCount() == 0; }));
    EXPECT_TRUE(In<QLabel>(results, "UnsavedLab")->isVisible());

    Find<QAction>("mUndo")->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&results, counted] { return Students(results).rowCount() == counted; }));
}

// ---------------------------------------------------------------------------
// The certainty option

TEST_F(ClassResultsTest, WithTheCertaintyOptionEachStudentAndTheClassGetACalibration)
{
    StartOnGeo(true, 6);
    // Emma sure of every answer, right half the time; Félix never sure,
    // right five times out of six; Élise answered nothing.
    WriteRecord(QStringLiteral("certitude/emma.txt"), "Emma", Ticked({0, 1, 0, 1, 1, 1}, true));
    WriteRecord(QStringLiteral("certitude/felix.txt"), "F\\u00e9lix", Ticked({0, 1, 0, 0, 0, 1}));
    WriteRecord(QStringLiteral("certitude/elise.txt"), "\\u00c9lise", Ticked({-1, -1, -1, -1, -1, -1}));
    TClassResultsWindow& results = OpenFromMenu();
    results.AddPaths({Path(QStringLiteral("certitude"))});

    // Names sort as in a French dictionary, the accent aside.
    const QAbstractItemModel& students = Students(results);
    EXPECT_EQ(
        Column(students, 0), (QStringList {QStringLiteral("Élise"), QStringLiteral("Emma"), QStringLiteral("Félix")}));
    EXPECT_EQ(Headers(students).last(), QStringLiteral("Calibration"));
    EXPECT_EQ(Column(students, 4),
        (QStringList {QStringLiteral("trop peu de réponses pour en juger"), QStringLiteral("trop sûr(e) de soi"),
            QStringLiteral("pas assez sûr(e) de soi")}));
    // Certain answers are worth 1 right and 0 wrong, uncertain ones 0.55 and 0.45.
    EXPECT_EQ(Column(students, 2),
        (QStringList {QStringLiteral("0,0 %"), QStringLiteral("50,0 %"), QStringLiteral("53,3 %")}));

    auto* chart = In<QChartView>(results, "CalibrationChart");
    EXPECT_FALSE(chart->isHidden());
    EXPECT_EQ(chart->accessibleDescription(),
        QStringLiteral("Réponses certaines : 3 justes sur 6 (50 %) ; réponses incertaines : 5 justes sur 6 (83 %). "
                       "Cocher « certain » rapporte quand on a juste plus d'une fois sur deux (ligne des 50 %). "
                       "Verdict pour la classe : trop sûr(e) de soi."));
}

// ---------------------------------------------------------------------------
// The marks table

TEST_F(ClassResultsTest, TheMarksExportProposesTheNameBesideTheQuizAndWritesTheCountedStudents)
{
    TClassResultsWindow& results = OpenOnClassFolder();
    const QString expected = Path(QStringLiteral("geo-notes.csv"));
    QString proposed;
    ModalAnswerer answerer;
    answerer.Then([&proposed](QWidget& modal) {
        auto* dialog = qobject_cast<QFileDialog*>(&modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->objectName(), QStringLiteral("MarksDialog"));
        proposed = dialog->selectedFiles().value(0);
        static_cast<QDialog*>(dialog)->accept();
    });
    answerer.Then(ClickButton(QStringLiteral("OK")));
    QTest::mouseClick(In<QPushButton>(results, "ExportMarksBtn"), Qt::LeftButton);
    WaitAnswered(answerer);
    EXPECT_EQ(proposed, expected);
    ASSERT_EQ(answerer.Messages().size(), 1u);
    EXPECT_EQ(answerer.Messages().front(),
        QStringLiteral("Le tableau des notes est enregistré dans « ") + expected + QStringLiteral(" »."));

    QFile csv(expected);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll(),
        QByteArray("\xEF\xBB\xBF")
            + QStringLiteral("Élève;Q1;Q2;Q3;Total;Taux\r\nAlice;1;1;1;3;100\r\nBruno;0;1;0;1;33,3333\r\n"
                             "Chloé;1;1;0;2;66,6667\r\n")
                  .toUtf8());
}

TEST_F(ClassResultsTest, TheReportPageBesideTheQuizHoldsTheStudentsAndTheFilesRefused)
{
    TClassResultsWindow& results = OpenOnClassFolder();
    const QString expected = Path(QStringLiteral("geo-rapport.html"));
    QString proposed;
    ModalAnswerer answerer;
    answerer.Then([&proposed](QWidget& modal) {
        auto* dialog = qobject_cast<QFileDialog*>(&modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->objectName(), QStringLiteral("ReportDialog"));
        proposed = dialog->selectedFiles().value(0);
        static_cast<QDialog*>(dialog)->accept();
    });
    answerer.Then(ClickButton(QStringLiteral("OK")));
    QTest::mouseClick(In<QPushButton>(results, "ExportReportBtn"), Qt::LeftButton);
    WaitAnswered(answerer);
    EXPECT_EQ(proposed, expected);
    ASSERT_EQ(answerer.Messages().size(), 1u);
    EXPECT_EQ(answerer.Messages().front(),
        QStringLiteral("Le rapport de la classe est enregistré dans « ") + expected + QStringLiteral(" »."));

    QFile page(expected);
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    for (const QString& shown : {QStringLiteral("Alice"), QStringLiteral("Bruno"), QStringLiteral("Chloé"),
             QStringLiteral("classe/abime.txt"), QStringLiteral("classe/ancien.txt")})
        EXPECT_TRUE(html.contains(shown)) << shown.toStdString();
}

TEST_F(ClassResultsTest, AMarksFileThatCannotBeWrittenIsSaidInFrenchAndTheWindowStays)
{
    TClassResultsWindow& results = OpenOnClassFolder();
    ModalAnswerer answerer;
    answerer.Then(ChooseFile(Path(QStringLiteral("pas-de-dossier/notes.csv"))));
    answerer.Then(ClickButton(QStringLiteral("OK")));
    QTest::mouseClick(In<QPushButton>(results, "ExportMarksBtn"), Qt::LeftButton);
    WaitAnswered(answerer);
    ASSERT_EQ(answerer.Messages().size(), 1u);
    EXPECT_TRUE(answerer.Messages().front().startsWith(QStringLiteral("Impossible d'écrire « notes.csv » :")))
        << answerer.Messages().front().toStdString();
    EXPECT_TRUE(results.isVisible());
    EXPECT_EQ(Students(results).rowCount(), 3);
}

// ---------------------------------------------------------------------------
// Keyboard and screen reader

TEST_F(ClassResultsTest, TabReachesEveryControlAndTableInOrderAndEachHasAName)
{
    TClassResultsWindow& results = OpenOnClassFolder();
    Activate(results);
    In<QPushButton>(results, "AddFilesBtn")->setFocus();
    QStringList visited;
    for (int i = 0; i < 10; ++i) {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(visited,
        (QStringList {QStringLiteral("AddFilesBtn"), QStringLiteral("AddFolderBtn"), QStringLiteral("AttemptBox"),
            QStringLiteral("AlteredCheck"), QStringLiteral("qt_tabwidget_tabbar"), QStringLiteral("StudentsTable"),
            QStringLiteral("ExportMarksBtn"), QStringLiteral("ExportReportBtn"), QStringLiteral("CloseBtn"),
            QStringLiteral("AddFilesBtn")}));

    // On the charts' page, both charts come after the tab row.
    auto* pages = In<QTabWidget>(results, "ResultsPages");
    pages->setCurrentIndex(TClassResultsWindow::kChartsPage);
    pages->tabBar()->setFocus();
    QTest::keyClick(pages->tabBar(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("RateHistogram"));

    // Every control that takes the keyboard, on every page, has a French name.
    int controls = 0;
    for (QWidget* widget : results.findChildren<QWidget*>()) {
        if (widget->window() != &results || !(widget->focusPolicy() & Qt::TabFocus) || widget->focusProxy())
            continue;
        ++controls;
        EXPECT_FALSE(widget->accessibleName().isEmpty())
            << widget->objectName().toStdString() << " " << widget->metaObject()->className();
    }
    EXPECT_GE(controls, 13);

    auto* histogram = In<QChartView>(results, "RateHistogram");
    EXPECT_EQ(histogram->accessibleName(), QStringLiteral("Histogramme des taux pondérés"));
    EXPECT_EQ(histogram->accessibleDescription(),
        QStringLiteral("Élèves par tranche de taux pondéré : de 30 à 40 % : 1 ; de 60 à 70 % : 1 ; de 90 à 100 % : 1 "
                       "(les autres tranches sont vides). Moyenne 66,7 %, médiane 66,7 %, écart-type 33,3 %."));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(histogram)->text(QAccessible::Description),
        histogram->accessibleDescription());
}

TEST_F(ClassResultsTest, TheMenuShowsTheSameWindowAgainAndEscapeClosesIt)
{
    TClassResultsWindow& results = OpenOnClassFolder();
    Activate(results);
    QTest::keyClick(&results, Qt::Key_Escape);
    EXPECT_FALSE(results.isVisible());
    // Opened again for the same quiz, it keeps the files added.
    TClassResultsWindow& again = OpenFromMenu();
    EXPECT_EQ(&again, &results);
    EXPECT_EQ(Students(again).rowCount(), 3);
}

} // namespace
} // namespace tavimor::testing
