// The "Messages" tab: the texts of the three fixed pages of the quiz site
// (page tabs "Entrée", "Évaluation", "Résultats") under two labels the author
// may rename, the two generic message banks with their counter, and the
// message for an unanswered question. The default-points field is kept here,
// hidden. The tab only holds the controls; TMessagesEditing drives them.
#pragma once

#include <QWidget>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabBar;
class QToolButton;

namespace tavimor {

// A horizontal up-down: the left arrow steps back, the right arrow forward,
// both wrapping between 0 and the maximum. Each press of an arrow moves the
// position and reports the click.
class TUpDown : public QWidget {
    Q_OBJECT

public:
    explicit TUpDown(QWidget* parent = nullptr);

    int position() const { return position_; }
    void setPosition(int position);
    int maximum() const { return maximum_; }
    // Also brings the position back into 0..maximum.
    void setMaximum(int maximum);

    QToolButton* PrevBtn = nullptr;
    QToolButton* NextBtn = nullptr;

signals:
    void clicked();

private:
    void Step(int delta);

    int position_ = 0;
    int maximum_ = 0;
};

class TMessagesTab : public QWidget {
    Q_OBJECT

public:
    explicit TMessagesTab(QWidget* parent = nullptr);

    // Where the entry number, the up-down and the entry text box sit in the
    // generic-messages group (the message chooser borrows them).
    static QRect GroupPlaceOfGMNo();
    static QRect GroupPlaceOfUpDown();
    static QRect GroupPlaceOfGMessEdit();

    // The counter of the bank shown: entry index (0-based) of count entries.
    void ShowCounter(int index, int count);

    // Tab follows the screen: the bank buttons, the counter's buttons, the
    // entry, then the page texts and the no-answer message. Applies again once
    // the message chooser gave back the controls it borrowed.
    void ApplyTabOrder();

    QTabBar* HMPTab = nullptr;
    QLabel* TitleLab = nullptr;
    QLineEdit* TitleEd = nullptr;
    QLabel* BodyLab = nullptr;
    QPlainTextEdit* BodyRed = nullptr;

    QGroupBox* GMessGroup = nullptr;
    QPushButton* GMessBtn0 = nullptr; // "si faux", bank 0
    QPushButton* GMessBtn1 = nullptr; // "si bon", bank 1
    QButtonGroup* GMessBanks = nullptr; // ids 0 and 1
    QLabel* GMNo = nullptr;
    QLabel* maxGMess = nullptr;
    TUpDown* gMUpD = nullptr;
    QPushButton* btnDelMess = nullptr;
    QPushButton* btnAddMess = nullptr;
    QPlainTextEdit* GMessEdit = nullptr;

    QLabel* NamLab = nullptr;
    QPlainTextEdit* NamEdit = nullptr;
    QLabel* DefPValLab = nullptr;
    QLineEdit* DefPValEdit = nullptr;

private:
    void BuildPageTexts();
    void BuildGenericGroup();
};

} // namespace tavimor
