// The style dialog: edits the run's style preferences in place, one page
// element at a time with a live preview, the colours of the three link states,
// and exports, imports and resets the whole set.
#pragma once

#include "app/ColorShape.h"
#include "app/StylePreview.h"
#include "presentation/StylePrefs.h"

#include <QDialog>
#include <QString>

#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace tavimor {

class TFontCombo;
class TNetColors;
class TParAlignButton;

class TStyleDlg : public QDialog {
    Q_OBJECT

public:
    // Edits prefs in place for the dialog's whole life; there is no cancel.
    explicit TStyleDlg(TStylePrefs& prefs, QWidget* parent = nullptr);
    ~TStyleDlg() override;

    // Embedded: a borderless child that fills its page, without "Accepter",
    // and Escape does not close it. Call before showing.
    void SetEmbedded(bool embedded);

    // Rebuilds the element list from the slot tables and shows the
    // preferences as they now are, without committing what the controls
    // held: for after the preferences were replaced (a document was opened,
    // the defaults were applied). Runs by itself at the first showing.
    void ShowPrefs();

    // Saving, exporting and producing take what the controls show: when the
    // author changed a value that waits for a commit point (margins, options,
    // alignment, "Fond transparent"), the current element is committed as at
    // a commit point. A size that is not a whole number is ConvertError, and
    // nothing is committed.
    void CommitShown();

signals:
    // The author changed the preferences.
    void edited();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Emits edited when the preferences differ at the end of a user action
    // from what they were at its start.
    class EditScope {
    public:
        explicit EditScope(TStyleDlg& dialog);
        ~EditScope();
        EditScope(const EditScope&) = delete;
        EditScope& operator=(const EditScope&) = delete;

    private:
        TStyleDlg& dialog_;
        const TStylePrefs before_;
    };

    void BuildControls();
    void ApplyTabOrder();
    QWidget* BuildElementGroup();
    QWidget* BuildLinkGroup();

    void RefreshAll();
    void ShowElement(int slot);
    // Reads the controls into element slot. The size is read first, so that
    // a size that is not a whole number changes nothing (ConvertError).
    void CommitElement(int slot);
    void ApplySize(const QString& sizeText);
    // Commits the current element; when its size is not a whole number the
    // error is shown, nothing is committed, the size field shows the
    // element's size again and the result is false.
    bool CommitOrRestoreSize();
    void StoreLinkState(int state);
    void ShowLinkState(int state);
    void DrawLinkExample(int state);
    void ResetNames();
    // The slot shown on a line of the element list; -1 for none.
    int SlotOfLine(int line) const;
    int LineOfSlot(int slot) const;
    void SelectLine(int line);

    // Event handlers: user actions only.
    void ElemListBoxChange(int line);
    void FontComboChoose(const QString& family);
    void SizeComboChange(const QString& text);
    void SizeEditingFinished();
    void FontColorShapeClick();
    void PreviewPanelClick();
    void LinkColorShapeClick();
    void LinkStateListChange(int row);
    void UnderlineCheckClick();
    void LinkDefaultBtnClick();
    void ExportBtnClick();
    void ImportBtnClick();
    void DefaultBtnClick();
    void CopyItemClick();
    void PasteItemClick();
    void ResetNamesItemClick();

    // The colour picker, opened on the colour being changed; true when a
    // colour was accepted (the picker component then holds it).
    bool PickColor(const QString& name, ColorValue value);

    // The .sprf file the author names in a save or open dialog; empty when
    // the dialog is cancelled.
    QString ChooseSprfFile(bool save);

    TStylePrefs& prefs_;
    TNetColors* colors_ = nullptr;
    bool embedded_ = false;
    bool shownOnce_ = false;
    // The author changed a control whose value waits for a commit point.
    bool pendingEdits_ = false;

    int curElement_ = 0;
    int curLink_ = 0;
    int copySource_ = 0;
    std::vector<int> lineSlots_; // slot of each line of the element list

    QListWidget* elemList_ = nullptr;
    QLabel* infoLab_ = nullptr;
    QLabel* selectorLab_ = nullptr;
    QCheckBox* transpCheck_ = nullptr;
    TStylePreview* preview_ = nullptr;
    TColorShape* fontColorShape_ = nullptr;
    TParAlignButton* alignBtn_ = nullptr;
    TFontCombo* fontCombo_ = nullptr;
    QComboBox* sizeCombo_ = nullptr;
    QLineEdit* marginEdit_ = nullptr;
    QLineEdit* paddingEdit_ = nullptr;
    QPlainTextEdit* optionsMemo_ = nullptr;
    QGroupBox* linkGroup_ = nullptr;
    TColorShape* linkColorShape_ = nullptr;
    QListWidget* linkStateList_ = nullptr;
    QCheckBox* underlineCheck_ = nullptr;
    QFrame* linkExamplePanel_ = nullptr;
    QLabel* linkExampleLab_ = nullptr;
    QPushButton* acceptBtn_ = nullptr;
    QMenu* elemMenu_ = nullptr;
    QMenu* formMenu_ = nullptr;
};

} // namespace tavimor
