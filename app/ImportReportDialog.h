// The report of an import, shown after the questions came in: its text in a
// read-only box the teacher can select and copy from, with a button that
// copies all of it.
#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace tavimor {

class TImportReportDialog : public QDialog {
    Q_OBJECT

public:
    TImportReportDialog(const QString& title, const QString& report, QWidget* parent = nullptr);

    QString Report() const;

private:
    QPlainTextEdit* text_ = nullptr;
};

} // namespace tavimor
