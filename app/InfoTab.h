// The "Info. Pers." tab: the author's identity and the quiz options that the
// document file and the produced quiz take from the window.
#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace tavimor {

struct AppSettings;
struct QuizHeader;

class TInfoTab : public QWidget {
    Q_OBJECT

public:
    explicit TInfoTab(QWidget* parent = nullptr);

    // The header values held here (labels, identity, count and certainty options).
    void ShowHeader(const QuizHeader& header);
    void TakeHeader(QuizHeader& header) const;

    // The four identity fields into the remembered values.
    void RememberIdentity(AppSettings& settings) const;

    QLabel* ProfNameLab = nullptr;
    QLineEdit* ProfNameEd = nullptr;
    QLabel* InstitLab = nullptr;
    QLineEdit* InstitEd = nullptr;
    QLabel* EMailLab = nullptr;
    QLineEdit* ProfEmailEd = nullptr;
    QLabel* URLlab = nullptr;
    QLineEdit* ProfURLed = nullptr;
    QCheckBox* NQCheck = nullptr;
    QLineEdit* NQuestEdit = nullptr;
    QCheckBox* CertCheckBox = nullptr;
    QPlainTextEdit* CertEdit = nullptr;

signals:
    // The author finished a value here: left a field or pressed Enter in it,
    // or ticked a box. (The certainty text is taken with the screen.)
    void edited();
};

} // namespace tavimor
