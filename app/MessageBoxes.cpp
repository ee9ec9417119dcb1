#include "app/MessageBoxes.h"

#include "app/TextCodec.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace tavimor {

namespace {

// Message boxes carry the application's title, as the program's own messages did.
QString BoxTitle()
{
    return QApplication::applicationName();
}

} // namespace

void ShowInfo(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, BoxTitle(), text, QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("InfoBox"));
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

void ShowError(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, BoxTitle(), text, QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("ErrorBox"));
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

QString ErrorText(const char* what)
{
    return FromCore(what);
}

SaveAnswer AskSaveChanges(QWidget* parent, const QString& documentName)
{
    QMessageBox box(QMessageBox::Question, BoxTitle(),
        QStringLiteral("Enregistrer les modifications apportées à ") + documentName + QStringLiteral(" ?"),
        QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("SaveQuestionBox"));
    QPushButton* yes = box.addButton(QStringLiteral("Oui"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Non"), QMessageBox::NoRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes)
        return SaveAnswer::Save;
    if (box.clickedButton() == no)
        return SaveAnswer::Discard;
    return SaveAnswer::Cancel;
}

} // namespace tavimor
