// The document commands of the editor: new, open, save, save under a new
// name, text import and export, each run on the session with its dialogs and
// messages, and the question asked before unsaved changes are dropped.
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <string>

class QWidget;

namespace tavimor {

class QuizSession;
enum class TBankFormat;
struct TPlatformExport;
class TSessionBridge;

class TDocumentCommands : public QObject {
    Q_OBJECT

public:
    struct Hooks {
        // Gives a new document the settings' defaults as they are now.
        std::function<void()> RefreshDefaults;
        // A document file was just opened.
        std::function<void()> Opened;
    };

    // window parents the dialogs and message boxes; both outlive this object.
    TDocumentCommands(QWidget& window, TSessionBridge& bridge, Hooks hooks);

    void New();
    void Open();
    // Opens the document at path; false, with the document and its name as
    // they were, when it cannot be read.
    bool OpenDocument(const QString& path);
    // False when nothing was saved (a cancelled name).
    bool Save();
    bool SaveAs();
    void Import();
    void Export();
    // Question banks of other programs: their questions are added to the
    // open quiz after the question shown, as one step that can be undone,
    // then the import report is shown.
    void ImportBank(TBankFormat format);
    // The learning platforms' question files.
    void ExportGift();
    void ExportMoodleXml();
    void ExportSpreadsheet();

    // Asks whether to save unsaved changes; false when the command is to stop.
    bool MayDiscardChanges();
    // The document's file name with its extension; empty when untitled.
    QString DocumentName() const;

private:
    QuizSession& Session() const;
    // The dialog opens in the document's folder (or the current one), on
    // the file name given.
    QString ChooseFile(const QString& title, const QString& filter, bool save, const QString& fileName = {},
        const QString& suffix = QStringLiteral("kwz"));
    // Where an export of suffix is proposed: beside the document, under the quiz name.
    QString ProposedExport(const char* suffix) const;
    // Asks where to write a platform export (files of suffix, "*.suffix"
    // in filter), writes it through write, and says what was written.
    void ExportForPlatform(const QString& title, const QString& filter, const char* suffix,
        const std::function<TPlatformExport(const std::string& path)>& write);

    QWidget& window_;
    TSessionBridge& bridge_;
    Hooks hooks_;
};

} // namespace tavimor
