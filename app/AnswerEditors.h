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
    const QStringList& answers() const { return m_working; }

    // The reuse panel lists `questionCount` questions and asks `answersOf`
    // for the answers of the one clicked. Without a source the list is empty.
    void setReuseSource(int questionCount, AnswersOf answersOf);
    // Same, from every question's answers given at once.
    void setStoredAnswers(const QList<QStringList>& answersPerQuestion);

    // The "insérer une image" button is hidden until the caller shows it.
    void setInsertImageVisible(bool visible);
    // Puts `text` (an image tag) at the caret of the text box.
    void insertAtCaret(const QString& text);

signals:
    void insertImageRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildReusePanel();
    void addAnswer();
    void removeAnswer();
    void tabChanged(int index);
    void renumber();
    void acceptAnswers();
    void openReusePanel();
    void reuseQuestionChosen(int row);
    void acceptReuse();
    void updateHelp();

    QStringList m_working {QString()};
    int m_current = 0;
    int m_reuseCount = 0;
    AnswersOf m_answersOf;

    QToolButton* m_addBtn = nullptr;
    QToolButton* m_delBtn = nullptr;
    QToolButton* m_reuseBtn = nullptr;
    QTabBar* m_tabs = nullptr;
    QTextEdit* m_text = nullptr;
    QLabel* m_help = nullptr;
    QPushButton* m_acceptBtn = nullptr;
    QPushButton* m_insertImgBtn = nullptr;
    QWidget* m_reusePanel = nullptr;
    QListWidget* m_reuseList = nullptr;
    QPlainTextEdit* m_reuseBox = nullptr;
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
    void updateHelp();

    QTextEdit* m_text = nullptr;
    QLabel* m_help = nullptr;
};

} // namespace tavimor
