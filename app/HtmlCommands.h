// The HTML commands of the editor: producing the quiz site, the exam and the
// self-contained quiz, opening them in the user's browser, the layout
// parameters file, the "Mise en page" tab with its preview, and inserting
// images into the texts. Productions run on the session.
#pragma once

#include <QObject>
#include <QString>

#include <memory>
#include <string>

class QUrl;
class QWidget;

namespace tavimor {

class QuizSession;
class TLEditForm;
class THImgDlg;
class TLayoutTab;
class TMessagesTab;
class TQuestionsTab;
class TRepTabEdit;
class TSessionBridge;
class TSiteServer;

class THtmlCommands : public QObject {
    Q_OBJECT

public:
    // window parents the dialogs and message boxes; every object given
    // outlives this one. prefsFolder ends with "/".
    THtmlCommands(QWidget& window, TSessionBridge& bridge, TLayoutTab& layout, TQuestionsTab& questions,
        TMessagesTab& messages, QString prefsFolder);
    ~THtmlCommands() override;

    void ProduceSite();
    void ProduceExam();
    // Versions A, B... of the exam with their keys, after the choices of
    // TExamVersionsDialog.
    void ProduceExamVersions();
    void ProduceStandalone();
    // The SCORM 1.2 package, after asking the pass mark (the last one given
    // in this run, 50 % at first).
    void ProduceScormPackage();
    // "Appeler navigateur": the self-contained quiz when it was the last
    // production, otherwise the site.
    void OpenSite();
    void SaveParams();
    void LoadParams();

    // The "Mise en page" tab was entered: the document as last stored is
    // produced without a final message and the page of the preview tab shown.
    void EnterLayoutTab();
    void ShowPreviewPage();
    void RefreshPreview();
    // A new document on screen: the preview is emptied.
    void Reset();

    // The image dialog's tag for the caller to put at its caret; empty when
    // there is nothing to insert (no site produced yet, or cancelled).
    QString InsertImage();
    // The answer editor's and line editor's "insérer une image".
    void OfferImageInsertion(TRepTabEdit& editor);
    void OfferImageInsertion(TLEditForm& editor);

    // Serves the output folder of the last production to browsers.
    TSiteServer& SiteServer();

private:
    QuizSession& Session() const;
    // The body text the script keeps for the entry page: the one the
    // page-texts editor shows.
    std::string ResumBody() const;
    // The produced page previewed by the layout tab; empty before any production.
    QString PreviewFile() const;
    // The address of a produced file: on the loopback server when it listens.
    QUrl SiteUrl(const QString& file);
    void ShowInBrowser(const QString& file);
    void ShowLayoutFlags();

    QWidget& window_;
    TSessionBridge& bridge_;
    TLayoutTab& layout_;
    TQuestionsTab& questions_;
    TMessagesTab& messages_;
    QString prefsFolder_;
    QString standalonePage_; // the last self-contained quiz written, until the next site
    int passMark_ = 50;
    std::unique_ptr<THImgDlg> imgDlg_; // created at its first use, kept for the run
    TSiteServer* siteServer_ = nullptr; // created at its first use
};

} // namespace tavimor
