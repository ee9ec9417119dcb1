// The one-line editor used to rename labels.
#pragma once

#include <QDialog>

class QLineEdit;

namespace tavimor {

// The caller replaces the caption, passes the initial text and reads text()
// back when the dialog was accepted.
class TLEditForm : public QDialog {
    Q_OBJECT

public:
    explicit TLEditForm(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const;

    // The "insérer une image" button is hidden until the caller shows it.
    void setInsertImageVisible(bool visible);
    // Puts `text` (an image tag) at the caret of the field.
    void InsertAtCaret(const QString& text);

signals:
    void insertImageRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* line_ = nullptr;
    QWidget* insertImgBtn_ = nullptr;
};

} // namespace tavimor
