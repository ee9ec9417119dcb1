// The program's message boxes: its own French one-button messages, the error
// box through which the core's errors reach the user, and the question about
// unsaved changes.
#pragma once

#include <QString>

class QWidget;

namespace tavimor {

// The program's own message: one "OK" button, modal over parent.
void ShowInfo(QWidget* parent, const QString& text);

// An error of the core or of the platform, with its text as it stands.
void ShowError(QWidget* parent, const QString& text);

// The user-visible text of an exception's what(): the core's messages,
// file paths included, are Windows-1252.
QString ErrorText(const char* what);

enum class SaveAnswer { Save, Discard, Cancel };

// "Enregistrer les modifications apportées à " + name + " ?" with the buttons
// "Oui", "Non" and "Annuler" (Escape and the close box count as "Annuler").
SaveAnswer AskSaveChanges(QWidget* parent, const QString& documentName);

} // namespace tavimor
