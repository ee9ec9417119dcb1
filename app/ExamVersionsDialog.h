// What the teacher chooses before the versions of the exam are written: how
// many versions, whether the questions and the answers change their order,
// the seed that makes the same versions again (empty: a new one), and
// whether each version and its key are also written as PDF files.
#pragma once

#include "generator/ExamVersions.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace tavimor {

class TExamVersionsDialog : public QDialog {
    Q_OBJECT

public:
    explicit TExamVersionsDialog(QWidget* parent = nullptr);

    // The choices made, once accepted; a seed left empty is drawn afresh.
    TExamVersionOptions Options() const;

private:
    QSpinBox* count_ = nullptr;
    QCheckBox* shuffleQuestions_ = nullptr;
    QCheckBox* shuffleChoices_ = nullptr;
    QCheckBox* pdf_ = nullptr;
    QLineEdit* seed_ = nullptr;
};

} // namespace tavimor
