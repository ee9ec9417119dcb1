// The "Messages" tab: the texts of the three fixed pages of the quiz site
// (page tabs "Entrée", "Évaluation", "Résultats"), the message for an
// unanswered question and the hidden default-points field. The generic
// message banks are edited here too.
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTabBar;

namespace tavimor {

class TMessagesTab : public QWidget {
    Q_OBJECT

public:
    explicit TMessagesTab(QWidget* parent = nullptr);

    QTabBar* HMPTab = nullptr;
    QLabel* TitleLab = nullptr;
    QLineEdit* TitleEd = nullptr;
    QLabel* BodyLab = nullptr;
    QPlainTextEdit* BodyRed = nullptr;
    QLabel* NamLab = nullptr;
    QPlainTextEdit* NamEdit = nullptr;
    QLabel* DefPValLab = nullptr;
    QLineEdit* DefPValEdit = nullptr;

signals:
    // The author changed a page text, the no-answer message or the default points.
    void edited();
};

} // namespace tavimor
