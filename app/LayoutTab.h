// The "Mise en page" tab: the layout options of the produced pages and the
// preview of one produced page, as source text or in the embedded browser.
// The tab keeps its own display rules (which box shows what); producing,
// reading the pages and opening them are the main window's commands.
#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

class QCheckBox;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QTabBar;
class QToolButton;

namespace tavimor {

class TPreviewBrowser;

class TLayoutTab : public QWidget {
    Q_OBJECT

public:
    explicit TLayoutTab(QWidget* parent = nullptr);

    // The produced page previewed by each tab of HTabCntrl, without ".htm":
    // 0 "quest", 1 "main", 2 "end", 3 "result".
    static QString PageName(int tab);
    QString CurrentPageName() const;

    // Where the source box and the browser sit after a reset of the window,
    // and where the browser goes the first time "afficher le navigateur"
    // changes after it.
    static constexpr QRect kPreviewPlace {12, 25, 615, 355};
    static constexpr QRect kBrowserPlace {12, 4, 614, 370};

    // The window's reset: the source box emptied, both preview boxes at
    // kPreviewPlace, the browser hidden and its box unticked.
    void ResetPreview();
    // The source box shows text (a page's source).
    void ShowSource(const QString& text);

    QTabBar* HTabCntrl = nullptr; // the preview tabs, at the bottom
    QLabel* ActTabLab = nullptr; // the name of the previewed tab
    QLabel* infoLab1 = nullptr; // hidden until the tab is first entered
    QFrame* PagePicture = nullptr; // a framed page: a narrow strip on the left and a main area
    QCheckBox* PosMenCheck = nullptr; // "Menu à gauche"
    QCheckBox* BorderCheck = nullptr; // "Pas de bordure"
    QCheckBox* DistFileCheck = nullptr; // "pages distinctes", hidden
    QPlainTextEdit* sourceMemo = nullptr; // read-only page source, hidden
    TPreviewBrowser* WebBrows = nullptr; // hidden
    QCheckBox* viewMemCheck = nullptr; // "afficher fichier source"
    QCheckBox* showNavCheck = nullptr; // "afficher le navigateur"
    QToolButton* navBtn2 = nullptr; // refreshes the page shown

signals:
    // The author ticked or unticked one of the layout boxes.
    void edited();
    // "afficher le navigateur" was ticked: the page is to be shown in the browser.
    void refreshRequested();

private:
    void SourceBoxChanged(bool ticked);
    void BrowserBoxChanged(bool ticked);
};

} // namespace tavimor
