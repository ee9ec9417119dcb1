// The two modal editors of a question's answers: TRepTabEdit (one tab per
// answer, for standard and true/false questions) and TRepEdit (one option per
// line, for cloze questions).
#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

#include <functional>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTabBar;
class QTextEdit;
class QToolButton;
class QWidget;

namespace tavimor {

// The answer editor. It keeps a working list of answer texts (never empty) and
// the index of the answer whose text is in the text box. Accepting stores the
// text box into the working list first; answers() then holds the result.
// The caller places it (move) before exec() and may read pos() afterwards.
class TRepTabEdit : public QDialog {
    Q_OBJECT

public:
    // Gives the stored answers of question `index` (0-based) for the reuse panel.
    using AnswersOf = std::function<QStringList(int index)>;

    explicit TRepTabEdit(QWidget* parent = nullptr);

    // An empty list gives the single empty answer the editor starts with.
    void setAnswers(const QStringList& answers);
    const QStringList& answers() const { return working_; }

    // The reuse panel lists `questionCount` questions and asks `answersOf`
    // for the answers of the one clicked. Without a source the list is empty.
    void setReuseSource(int questionCount, AnswersOf answersOf);
    // Same, from every question's answers given at once.
    void setStoredAnswers(const QList<QStringList>& answersPerQuestion);

    // The "insérer une image" button is hidden until the caller shows it.
    void setInsertImageVisible(bool visible);
    // Puts `text` (an image tag) at the caret of the text box.
    void InsertAtCaret(const QString& text);

signals:
    void insertImageRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // While the reuse panel is open, Tab goes round its own controls.
    bool focusNextPrevChild(bool next) override;

private:
    void BuildReusePanel();
    void AddAnswer();
    void RemoveAnswer();
    void TabChanged(int index);
    void Renumber();
    void AcceptAnswers();
    void OpenReusePanel();
    void ReuseQuestionChosen(int row);
    void AcceptReuse();
    void UpdateHelp();

    QStringList working_ {QString()};
    int current_ = 0;
    int reuseCount_ = 0;
    AnswersOf answersOf_;

    QToolButton* addBtn_ = nullptr;
    QToolButton* delBtn_ = nullptr;
    QToolButton* reuseBtn_ = nullptr;
    QTabBar* tabs_ = nullptr;
    QTextEdit* text_ = nullptr;
    QLabel* help_ = nullptr;
    QPushButton* acceptBtn_ = nullptr;
    QPushButton* insertImgBtn_ = nullptr;
    QWidget* reusePanel_ = nullptr;
    QListWidget* reuseList_ = nullptr;
    QPlainTextEdit* reuseBox_ = nullptr;
};

// The list editor: its text box holds one option per line.
class TRepEdit : public QDialog {
    Q_OBJECT

public:
    explicit TRepEdit(QWidget* parent = nullptr);

    void setLines(const QStringList& lines);
    // The lines of the text box; a final line break adds no empty line.
    QStringList lines() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void UpdateHelp();

    QTextEdit* text_ = nullptr;
    QLabel* help_ = nullptr;
};

} // namespace tavimor
