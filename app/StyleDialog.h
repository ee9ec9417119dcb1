// The style dialog: edits the run's style preferences in place, one page
// element at a time with a live preview, the colours of the three link states,
// and exports, imports and resets the whole set.
#pragma once

#include "presentation/StylePrefs.h"

#include <QDialog>
#include <QFrame>
#include <QLabel>
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

// A filled box with an outline that holds a colour and its name; the name is
// its hint. A click asks the owner for a new colour.
class TColorShape : public QFrame {
    Q_OBJECT

public:
    explicit TColorShape(QWidget* parent = nullptr);

    void SetColor(ColorValue value, const QString& name);
    ColorValue Value() const { return m_value; }
    QString Name() const { return m_name; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    ColorValue m_value = 0;
    QString m_name;
};

// The element preview: the font family name written in the element's font,
// size, colour and alignment on its background. It keeps the family name and
// the background colour with its name, which a commit reads back.
class TStylePreview : public QLabel {
    Q_OBJECT

public:
    explicit TStylePreview(QWidget* parent = nullptr);

    void SetFontName(const QString& family);
    QString FontName() const { return m_fontName; }
    void SetFontSize(int points);
    void SetFontColor(ColorValue value);
    void SetBackground(ColorValue value, const QString& name);
    ColorValue Background() const { return m_background; }
    QString BackgroundName() const { return m_backgroundName; }

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString m_fontName;
    ColorValue m_background = 0xFFFFFF;
    QString m_backgroundName;
};

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

    TStylePrefs& m_prefs;
    TNetColors* m_colors = nullptr;
    bool m_embedded = false;
    bool m_shownOnce = false;
    // The author changed a control whose value waits for a commit point.
    bool m_pendingEdits = false;

    int m_curElement = 0;
    int m_curLink = 0;
    int m_copySource = 0;
    std::vector<int> m_lineSlots; // slot of each line of the element list

    QListWidget* m_elemList = nullptr;
    QLabel* m_infoLab = nullptr;
    QLabel* m_selectorLab = nullptr;
    QCheckBox* m_transpCheck = nullptr;
    TStylePreview* m_preview = nullptr;
    TColorShape* m_fontColorShape = nullptr;
    TParAlignButton* m_alignBtn = nullptr;
    TFontCombo* m_fontCombo = nullptr;
    QComboBox* m_sizeCombo = nullptr;
    QLineEdit* m_marginEdit = nullptr;
    QLineEdit* m_paddingEdit = nullptr;
    QPlainTextEdit* m_optionsMemo = nullptr;
    QGroupBox* m_linkGroup = nullptr;
    TColorShape* m_linkColorShape = nullptr;
    QListWidget* m_linkStateList = nullptr;
    QCheckBox* m_underlineCheck = nullptr;
    QFrame* m_linkExamplePanel = nullptr;
    QLabel* m_linkExampleLab = nullptr;
    QPushButton* m_acceptBtn = nullptr;
    QMenu* m_elemMenu = nullptr;
    QMenu* m_formMenu = nullptr;
};

} // namespace tavimor
