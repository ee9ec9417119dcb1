// "Résultats de la classe..." : the results records the students saved from
// the self-contained quiz, added as files, folders or dropped on the window,
// checked against the document on screen and shown as the students' table,
// the item analysis of the questions, the charts and the files not counted;
// the marks table is exported as CSV, the whole as the class report page.
#pragma once

#include "analysis/ClassResults.h"
#include "app/results/ResultsFiles.h"
#include "model/DocumentFile.h"

#include <QWidget>

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSortFilterProxyModel;
class QTabWidget;
class QTableView;

namespace tavimor {

class TCalibrationChart;
class TFigureTable;
class TRateHistogram;

class TClassResultsWindow : public QWidget {
    Q_OBJECT

public:
    // Tabs of the window, in order.
    enum Page { kStudentsPage = 0, kQuestionsPage = 1, kChartsPage = 2, kNotCountedPage = 3 };

    explicit TClassResultsWindow(QWidget* parent = nullptr);
    ~TClassResultsWindow() override;

    // Checks the results against doc, a copy of the document on screen, saved
    // at path (empty for a new document), with or without edits not saved
    // yet. The files added so far stay when the path is the same.
    void ShowDocument(const TQuizDocument& doc, const QString& path, bool modified);

    // Adds files and folders, then gathers the results again with all of them.
    void AddPaths(const QStringList& paths);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildControls();
    QWidget* BuildStudentsPage();
    QWidget* BuildQuestionsPage();
    QWidget* BuildChartsPage();
    QWidget* BuildNotCountedPage();
    void ChainControls();

    void ChooseFiles();
    void ChooseFolder();
    void Gather();
    void ShowResults();
    void ExportMarks();
    void ExportReport();
    // The file beside the document named after the quiz and suffix ("-notes.csv").
    QString ProposedFile(const char* suffix) const;

    TQuizDocument doc_;
    QString path_;
    std::string stem_; // the quiz name the records carry, Windows-1252
    TResultsFiles files_;
    TClassResults results_;

    QLabel* documentLabel_ = nullptr;
    QLabel* unsavedLabel_ = nullptr;
    QPushButton* addFilesBtn_ = nullptr;
    QPushButton* addFolderBtn_ = nullptr;
    QComboBox* attemptBox_ = nullptr;
    QCheckBox* alteredCheck_ = nullptr;
    QLabel* countsLabel_ = nullptr;
    QTabWidget* pages_ = nullptr;
    TFigureTable* students_ = nullptr;
    QSortFilterProxyModel* sortedStudents_ = nullptr;
    QTableView* studentsView_ = nullptr;
    TFigureTable* questions_ = nullptr;
    QSortFilterProxyModel* sortedQuestions_ = nullptr;
    QTableView* questionsView_ = nullptr;
    std::unique_ptr<TRateHistogram> histogram_;
    std::unique_ptr<TCalibrationChart> calibration_;
    QLabel* classFigures_ = nullptr;
    QListWidget* notCounted_ = nullptr;
    QPushButton* exportMarksBtn_ = nullptr;
    QPushButton* exportReportBtn_ = nullptr;
    QPushButton* closeBtn_ = nullptr;
};

} // namespace tavimor
