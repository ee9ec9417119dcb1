// The "Questions" tab: the question list with its buttons and priority group
// on the left, the question editor on the right with its two sub-pages,
// "Réponses" (answer tools and answer-choice group) and "Mess." (feedback).
#pragma once

#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace tavimor {

class TRepGroup;

// The question list. A left press selects the line under the pointer, and
// moving on with the button down drags that line; a press of the right
// button while a line is selected starts dragging it at once. Releasing the
// button over the list drops the line there. Only the list's own lines can be
// dropped on it. Alt+Up and Alt+Down drop the selected line on the one above
// or below.
class TQuestListBox : public QListWidget {
    Q_OBJECT

public:
    explicit TQuestListBox(QWidget* parent = nullptr);

signals:
    // The author chose a line with the mouse or the arrow keys.
    void lineClicked(int row);
    // A drag ended over the list: row is the line under the pointer, -1 below the last line.
    void lineDropped(int row);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void StartDrag();
    void EndDrag();

    bool dragging_ = false;
    Qt::MouseButton pressButton_ = Qt::NoButton;
    QPoint pressPoint_;
};

// A label that reacts to a left click (the type label acts as the type button).
class TClickLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// A panel whose own background takes every press (so that presses inside it
// never count as presses on the page behind) and reports them. A panel drawn
// over others may hold the keyboard: Tab and Shift+Tab then go round its own
// controls, never to the ones it covers.
class TPressPanel : public QFrame {
    Q_OBJECT

public:
    using QFrame::QFrame;

    void SetHoldsKeyboard(bool holds) { holdsKeyboard_ = holds; }

signals:
    void pressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    bool holdsKeyboard_ = false;
};

class TQuestionsTab : public QWidget {
    Q_OBJECT

public:
    explicit TQuestionsTab(QWidget* parent = nullptr);

    // The sub-pages, "Réponses" first.
    enum SubPage { kAnswersPage = 0, kMessPage = 1 };

    // The number of columns on its button (0 for a cloze question).
    void ShowColumns(int columns);

    QLabel* QNoLab = nullptr;
    TQuestListBox* MainQListBox = nullptr;
    QPushButton* delQBtn = nullptr;
    QPushButton* addQBtn = nullptr;
    QGroupBox* PriRGroupBox = nullptr;
    QButtonGroup* PriRGroup = nullptr;
    QLabel* MaxQLab = nullptr;
    QLabel* ValLab = nullptr;
    QLineEdit* ValEd = nullptr;

    TClickLabel* QTypeLab = nullptr;
    QPlainTextEdit* QuestEdit = nullptr;
    QPushButton* InsImgBtn = nullptr;
    QTabWidget* QuestPages = nullptr;

    // "Réponses"
    QToolButton* REdBtn = nullptr;
    QToolButton* delRepBtn = nullptr;
    QToolButton* MoveRepBtn = nullptr;
    QToolButton* colBtn = nullptr;
    TRepGroup* RepGroup = nullptr;
    QLabel* InfoLab = nullptr;

    // "Mess."
    TPressPanel* MessPanl = nullptr;
    QPushButton* messBtn1 = nullptr;
    QPushButton* messBtn0 = nullptr;
    QCheckBox* GGCheck = nullptr;
    QPushButton* ChMsgBtn = nullptr;
    QPlainTextEdit* MessEdit = nullptr;
    QCheckBox* ExtFileCheck = nullptr;
    QPushButton* ExtFileBtn = nullptr;
    QPushButton* ReUseFileBtn = nullptr;
    QCheckBox* ResumCheck = nullptr;
    // The file-reuse panel, drawn over the message panel when opened.
    TPressPanel* FileReusePan = nullptr;
    QListWidget* FileReuseList = nullptr;
    QPlainTextEdit* FileReuseBox = nullptr;
    QPushButton* FileReuseOkBtn = nullptr; // "Accepter"
    QPushButton* FileReuseNoBtn = nullptr; // "Refuser"
    // The generic-message chooser, drawn over the sub-page when opened; it
    // borrows the entry number, the up-down and the entry box of the
    // "Messages" tab while it is open.
    TPressPanel* MChooserPan = nullptr;
    QPushButton* MChooserOkBtn = nullptr; // "fermer"

signals:
    // A press on the page's own background, outside its controls.
    void backgroundPressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void BuildListSide();
    void BuildAnswersPage(QWidget* page);
    void BuildMessPage(QWidget* page);
};

} // namespace tavimor
