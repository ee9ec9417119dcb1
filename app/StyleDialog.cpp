#include "app/StyleDialog.h"

#include "app/ColorPicker.h"
#include "app/ErrorBoundary.h"
#include "app/FileDialogs.h"
#include "app/FontCombo.h"
#include "app/ParAlignButton.h"
#include "app/TextCodec.h"
#include "app/WidgetHelpers.h"
#include "base/TextHelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace tavimor {

namespace {

const QColor kInfoColor(0, 128, 0); // green
const QColor kSelectorColor(0, 0, 128); // navy

// The preview cannot justify one line: justified shows centred.
Qt::Alignment PreviewAlignment(int alignIndex)
{
    switch (alignIndex) {
    case 1:
        return Qt::AlignRight | Qt::AlignVCenter;
    case 2:
    case 3:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

QPushButton* MakeButton(const QString& name, const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    // Enter in a field must not press a button of the embedded dialog.
    button->setAutoDefault(false);
    return button;
}

QLabel* MakeLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

// ------------------------------------------------------------------ TStyleDlg

TStyleDlg::TStyleDlg(TStylePrefs& prefs, QWidget* parent)
    : QDialog(parent)
    , prefs_(prefs)
    , colors_(new TNetColors(this))
{
    setObjectName(QStringLiteral("StyleDlg"));
    setWindowTitle(QStringLiteral("Propriétés de style ... "));
    colors_->setSortType(0);
    BuildControls();

    // Creation state: no element lines yet, the font list on Arial, the size
    // list on its first entry.
    fontCombo_->SelectFont(QStringLiteral("arial"));
    sizeCombo_->setCurrentIndex(0);
}

TStyleDlg::~TStyleDlg() = default;

void TStyleDlg::BuildControls()
{
    auto* right = new QVBoxLayout;
    auto* exportBtn = MakeButton(QStringLiteral("ExportBtn"), QStringLiteral("Exporter..."), this);
    auto* importBtn = MakeButton(QStringLiteral("ImportBtn"), QStringLiteral("Récupérer..."), this);
    auto* defaultBtn = MakeButton(QStringLiteral("DefaultBtn"), QStringLiteral("valeurs par défaut"), this);
    defaultBtn->setToolTip(QStringLiteral("Tout réinitialiser"));
    acceptBtn_ = MakeButton(QStringLiteral("AcceptBtn"), QStringLiteral("Accepter"), this);
    acceptBtn_->setDefault(true);
    right->addWidget(exportBtn);
    right->addWidget(importBtn);
    right->addWidget(defaultBtn);
    right->addSpacing(8);
    right->addWidget(BuildLinkGroup());
    right->addStretch();
    right->addWidget(acceptBtn_);

    auto* main = new QHBoxLayout(this);
    main->addWidget(BuildElementGroup(), 1);
    main->addLayout(right);
    ApplyTabOrder();

    connect(exportBtn, &QPushButton::clicked, this, &TStyleDlg::ExportBtnClick);
    connect(importBtn, &QPushButton::clicked, this, &TStyleDlg::ImportBtnClick);
    connect(defaultBtn, &QPushButton::clicked, this, &TStyleDlg::DefaultBtnClick);
    connect(acceptBtn_, &QPushButton::clicked, this, &QDialog::accept);

    // The form's own menu, wherever no control has a menu of its own.
    formMenu_ = new QMenu(this);
    formMenu_->setObjectName(QStringLiteral("FormMenu"));
    QAction* resetNames = formMenu_->addAction(QStringLiteral("reset names"));
    resetNames->setObjectName(QStringLiteral("ResetNamesItem"));
    connect(resetNames, &QAction::triggered, this, &TStyleDlg::ResetNamesItemClick);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
        [this](const QPoint& pos) { formMenu_->popup(mapToGlobal(pos)); });
}

QWidget* TStyleDlg::BuildElementGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Éléments de style:  "), this);
    group->setObjectName(QStringLiteral("ElemGroup"));

    elemList_ = new QListWidget(group);
    elemList_->setObjectName(QStringLiteral("ElemListBox"));
    elemList_->setAccessibleName(QStringLiteral("Éléments de style"));
    elemList_->setAccessibleDescription(QStringLiteral("Menu contextuel : copier, coller le style"));
    elemList_->setFixedWidth(190);
    elemList_->setContextMenuPolicy(Qt::CustomContextMenu);
    elemList_->viewport()->installEventFilter(this);

    elemMenu_ = new QMenu(elemList_);
    elemMenu_->setObjectName(QStringLiteral("ElemListMenu"));
    QAction* copyItem = elemMenu_->addAction(QStringLiteral("copier"));
    copyItem->setObjectName(QStringLiteral("CopyItem"));
    QAction* pasteItem = elemMenu_->addAction(QStringLiteral("coller"));
    pasteItem->setObjectName(QStringLiteral("PasteItem"));

    infoLab_ = MakeLabel(QStringLiteral("ElemInfoLab"), {}, group);
    infoLab_->setWordWrap(true);
    SetTextColor(infoLab_, kInfoColor);

    selectorLab_ = MakeLabel(QStringLiteral("SelectorLab"), {}, group);
    QFont bold = selectorLab_->font();
    bold.setBold(true);
    selectorLab_->setFont(bold);
    SetTextColor(selectorLab_, kSelectorColor);

    transpCheck_ = new QCheckBox(QStringLiteral("Fond transparent"), group);
    transpCheck_->setObjectName(QStringLiteral("TranspCheckBox"));

    preview_ = new TStylePreview(group);
    preview_->setObjectName(QStringLiteral("PreviewPanel"));
    preview_->setToolTip(QStringLiteral("Couleur de fond"));
    preview_->setAccessibleName(QStringLiteral("Couleur de fond"));

    auto* colorLab = MakeLabel(QStringLiteral("FontColorLab"), QStringLiteral("Couleur:"), group);
    fontColorShape_ = new TColorShape(group);
    fontColorShape_->setObjectName(QStringLiteral("FontColorShape"));
    colorLab->setBuddy(fontColorShape_);
    alignBtn_ = new TParAlignButton(group);
    alignBtn_->setObjectName(QStringLiteral("ParAlignBtn"));

    fontCombo_ = new TFontCombo(group);
    fontCombo_->setObjectName(QStringLiteral("FontCombo"));
    NameComboBox(fontCombo_, QStringLiteral("Police"), QStringLiteral("Nom de la police"));
    sizeCombo_ = new QComboBox(group);
    sizeCombo_->setObjectName(QStringLiteral("SizeCombo"));
    sizeCombo_->setEditable(true);
    NameComboBox(sizeCombo_, QStringLiteral("Taille"), QStringLiteral("Taille en points"));
    sizeCombo_->setInsertPolicy(QComboBox::NoInsert);
    for (int size = 8; size <= 24; size += 2)
        sizeCombo_->addItem(QString::number(size));
    sizeCombo_->setFixedWidth(60);

    auto* marginLab = MakeLabel(QStringLiteral("MarginLab"), QStringLiteral("Marge: "), group);
    marginEdit_ = new QLineEdit(group);
    marginEdit_->setObjectName(QStringLiteral("MarginEdit"));
    marginLab->setBuddy(marginEdit_);
    auto* paddingLab = MakeLabel(QStringLiteral("PaddingLab"), QStringLiteral("Marge int.: "), group);
    paddingEdit_ = new QLineEdit(group);
    paddingEdit_->setObjectName(QStringLiteral("PaddingEdit"));
    paddingLab->setBuddy(paddingEdit_);

    auto* optionsGroup = new QGroupBox(QStringLiteral("Options  "), group);
    optionsGroup->setObjectName(QStringLiteral("OptionsGroup"));
    optionsMemo_ = new QPlainTextEdit(optionsGroup);
    optionsMemo_->setObjectName(QStringLiteral("OptionsMemo"));
    optionsMemo_->setAccessibleName(QStringLiteral("Options"));
    optionsMemo_->setTabChangesFocus(true);
    QFont courier(QStringLiteral("Courier New"), 9);
    courier.setStyleHint(QFont::Monospace);
    optionsMemo_->setFont(courier);
    optionsMemo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* optionsLayout = new QVBoxLayout(optionsGroup);
    optionsLayout->setContentsMargins(4, 4, 4, 4);
    optionsLayout->addWidget(optionsMemo_);

    auto* head = new QHBoxLayout;
    head->addWidget(selectorLab_);
    head->addStretch();
    head->addWidget(transpCheck_);

    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(colorLab);
    colorRow->addWidget(fontColorShape_);
    colorRow->addSpacing(16);
    colorRow->addWidget(alignBtn_);
    colorRow->addStretch();

    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(fontCombo_, 1);
    fontRow->addWidget(sizeCombo_);

    auto* marginRow = new QGridLayout;
    marginRow->addWidget(marginLab, 0, 0);
    marginRow->addWidget(paddingLab, 0, 1);
    marginRow->addWidget(marginEdit_, 1, 0);
    marginRow->addWidget(paddingEdit_, 1, 1);

    auto* controls = new QVBoxLayout;
    controls->addLayout(head);
    controls->addWidget(preview_);
    controls->addLayout(colorRow);
    controls->addLayout(fontRow);
    controls->addLayout(marginRow);

    auto* layout = new QGridLayout(group);
    layout->addWidget(infoLab_, 0, 0, 1, 2);
    layout->addWidget(elemList_, 1, 0, 2, 1);
    layout->addLayout(controls, 1, 1);
    layout->addWidget(optionsGroup, 2, 1);
    layout->setRowStretch(2, 1);

    connect(elemList_, &QListWidget::currentRowChanged, this, &TStyleDlg::ElemListBoxChange);
    connect(elemList_, &QWidget::customContextMenuRequested, this,
        [this](const QPoint& pos) { elemMenu_->popup(elemList_->viewport()->mapToGlobal(pos)); });
    connect(copyItem, &QAction::triggered, this, &TStyleDlg::CopyItemClick);
    connect(pasteItem, &QAction::triggered, this, &TStyleDlg::PasteItemClick);
    connect(fontCombo_, &TFontCombo::fontChosen, this, &TStyleDlg::FontComboChoose);
    connect(sizeCombo_, &QComboBox::editTextChanged, this, &TStyleDlg::SizeComboChange);
    connect(sizeCombo_->lineEdit(), &QLineEdit::editingFinished, this, &TStyleDlg::SizeEditingFinished);
    // What these controls hold waits for the next commit point.
    const auto pending = [this] { pendingEdits_ = true; };
    connect(marginEdit_, &QLineEdit::textEdited, this, pending);
    connect(paddingEdit_, &QLineEdit::textEdited, this, pending);
    connect(optionsMemo_, &QPlainTextEdit::textChanged, this, [this] {
        if (optionsMemo_->hasFocus())
            pendingEdits_ = true;
    });
    connect(alignBtn_, &TParAlignButton::picked, this, pending);
    connect(transpCheck_, &QCheckBox::clicked, this, pending);
    connect(fontColorShape_, &TColorShape::clicked, this, &TStyleDlg::FontColorShapeClick);
    connect(preview_, &TStylePreview::clicked, this, &TStyleDlg::PreviewPanelClick);
    return group;
}

void TStyleDlg::ApplyTabOrder()
{
    // The element column, the element's controls from top to bottom, then the
    // right column from top to bottom.
    ChainTabOrder({elemList_, transpCheck_, preview_, fontColorShape_, alignBtn_, fontCombo_, sizeCombo_, marginEdit_,
        paddingEdit_, optionsMemo_, findChild<QPushButton*>(QStringLiteral("ExportBtn")),
        findChild<QPushButton*>(QStringLiteral("ImportBtn")), findChild<QPushButton*>(QStringLiteral("DefaultBtn")),
        linkColorShape_, linkStateList_, underlineCheck_, findChild<QPushButton*>(QStringLiteral("LinkDefaultBtn")),
        acceptBtn_});
}

QWidget* TStyleDlg::BuildLinkGroup()
{
    linkGroup_ = new QGroupBox(QStringLiteral("Liens "), this);
    linkGroup_->setObjectName(QStringLiteral("LinkGroup"));
    linkGroup_->setMouseTracking(true);
    linkGroup_->installEventFilter(this);

    linkColorShape_ = new TColorShape(linkGroup_);
    linkColorShape_->setObjectName(QStringLiteral("LinkColorShape"));
    linkColorShape_->setAccessibleName(QStringLiteral("Couleur du lien"));

    linkStateList_ = new QListWidget(linkGroup_);
    linkStateList_->setObjectName(QStringLiteral("LinkStateList"));
    linkStateList_->setAccessibleName(QStringLiteral("État du lien"));
    linkStateList_->addItems({QStringLiteral("lien"), QStringLiteral("actif"), QStringLiteral("parcouru")});
    linkStateList_->setCurrentRow(0);
    linkStateList_->setFixedSize(110, linkStateList_->sizeHintForRow(0) * 3 + 6);

    underlineCheck_ = new QCheckBox(QStringLiteral("Souligné"), linkGroup_);
    underlineCheck_->setObjectName(QStringLiteral("UnderlineCheck"));
    auto* linkDefaultBtn = MakeButton(QStringLiteral("LinkDefaultBtn"), QStringLiteral("Défaut"), linkGroup_);

    linkExamplePanel_ = new QFrame(linkGroup_);
    linkExamplePanel_->setObjectName(QStringLiteral("LinkExamplePanel"));
    linkExamplePanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    linkExamplePanel_->setAutoFillBackground(true);
    linkExampleLab_ = MakeLabel(QStringLiteral("LinkExampleLab"), QStringLiteral("exemple de lien"), linkExamplePanel_);
    linkExampleLab_->setCursor(Qt::PointingHandCursor);
    linkExampleLab_->installEventFilter(this);
    auto* panelLayout = new QHBoxLayout(linkExamplePanel_);
    panelLayout->addStretch();
    panelLayout->addWidget(linkExampleLab_);
    panelLayout->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(linkColorShape_, 0, Qt::AlignTop);
    top->addWidget(linkStateList_);
    top->addStretch();
    auto* middle = new QHBoxLayout;
    middle->addWidget(underlineCheck_);
    middle->addStretch();
    middle->addWidget(linkDefaultBtn);
    auto* layout = new QVBoxLayout(linkGroup_);
    layout->addLayout(top);
    layout->addLayout(middle);
    layout->addWidget(linkExamplePanel_);

    connect(linkColorShape_, &TColorShape::clicked, this, &TStyleDlg::LinkColorShapeClick);
    connect(linkStateList_, &QListWidget::currentRowChanged, this, &TStyleDlg::LinkStateListChange);
    connect(underlineCheck_, &QCheckBox::clicked, this, &TStyleDlg::UnderlineCheckClick);
    connect(linkDefaultBtn, &QPushButton::clicked, this, &TStyleDlg::LinkDefaultBtnClick);
    return linkGroup_;
}

void TStyleDlg::SetEmbedded(bool embedded)
{
    embedded_ = embedded;
    setWindowFlags(embedded ? Qt::Widget : Qt::Dialog);
    acceptBtn_->setVisible(!embedded);
    // A window made a child joins its new window's order as it was created.
    ApplyTabOrder();
}

void TStyleDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        ShowPrefs();
    }
}

void TStyleDlg::keyPressEvent(QKeyEvent* event)
{
    // Escape would hide the embedded dialog and leave its page empty.
    if (embedded_ && event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TStyleDlg::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if (elemList_ && watched == elemList_->viewport() && type == QEvent::MouseButtonPress
        && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
        return true; // the menu works on the selected line; a right press selects nothing
    if (watched == linkGroup_ && type == QEvent::MouseMove)
        DrawLinkExample(0);
    if (watched == linkExampleLab_ && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease)
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        DrawLinkExample(type == QEvent::MouseButtonPress ? 1 : 2);
    return QDialog::eventFilter(watched, event);
}

// ------------------------------------------------------------ showing

void TStyleDlg::ShowPrefs()
{
    const auto& builtin = BuiltinElements();
    lineSlots_.clear();
    {
        const QSignalBlocker quiet(elemList_);
        elemList_->clear();
        for (std::size_t n = 0; n < kStyleSlots; ++n) {
            if (prefs_.ElemInfo[n].empty())
                prefs_.ElemInfo[n] = builtin[n].Info;
            if (prefs_.ElemSelector[n].empty())
                prefs_.ElemSelector[n] = builtin[n].Selector;
            if (prefs_.ElemSelector[n].empty())
                continue;
            elemList_->addItem(FromCore(prefs_.ElemTitle[n] + " (" + prefs_.ElemSelector[n] + ")"));
            lineSlots_.push_back(static_cast<int>(n));
        }
    }
    if (LineOfSlot(curElement_) < 0)
        curElement_ = lineSlots_.empty() ? 0 : lineSlots_.front();
    SelectLine(LineOfSlot(curElement_));
    RunGuarded(this, [this] { RefreshAll(); });
}

void TStyleDlg::RefreshAll()
{
    preview_->SetBackground(prefs_.BGSysCol, FromCore(prefs_.BGColor));
    fontCombo_->SelectFont(FromCore(prefs_.DefFontFace));
    {
        const QSignalBlocker quiet(linkStateList_);
        linkStateList_->setCurrentRow(curLink_);
    }
    ShowLinkState(curLink_);
    DrawLinkExample(0);
    ShowElement(curElement_);
}

void TStyleDlg::ShowElement(int slot)
{
    const TStyleSpecs& specs = prefs_.StyleSpecs.at(static_cast<std::size_t>(slot));
    transpCheck_->setEnabled(slot != 0);
    selectorLab_->setText(FromCore(specs.Selector));

    preview_->SetFontName(FromCore(specs.FontFamily));
    fontCombo_->SelectFont(FromCore(specs.FontFamily));
    const QString sizeText = FromCore(specs.SizeText);
    {
        const QSignalBlocker quiet(sizeCombo_);
        sizeCombo_->setEditText(sizeText);
    }
    fontColorShape_->SetColor(specs.FontColor, FromCore(specs.FontColorName));
    preview_->SetFontColor(specs.FontColor);

    marginEdit_->setText(FromCore(specs.Margin));
    paddingEdit_->setText(FromCore(specs.Padding));
    alignBtn_->setParIndex(specs.AlignIndex);
    preview_->setAlignment(PreviewAlignment(specs.AlignIndex));

    optionsMemo_->setPlainText(FromCoreMemo(specs.Options));
    transpCheck_->setChecked(specs.Transparent);
    if (specs.Transparent)
        preview_->SetBackground(prefs_.BGSysCol, FromCore(prefs_.BGColor));
    else
        preview_->SetBackground(specs.BGValue, FromCore(specs.BGName));

    ApplySize(sizeText);
    infoLab_->setText(FromCore(prefs_.ElemInfo.at(static_cast<std::size_t>(curElement_))));
    pendingEdits_ = false;
}

// Size and size text of the current element, and the preview's size. A text
// that is not a whole number changes nothing (ConvertError).
void TStyleDlg::ApplySize(const QString& sizeText)
{
    const int size = ParseInteger(ToCore(sizeText));
    TStyleSpecs& specs = prefs_.StyleSpecs.at(static_cast<std::size_t>(curElement_));
    specs.Size = size;
    specs.SizeText = ToCore(sizeText);
    preview_->SetFontSize(size);
}

void TStyleDlg::CommitElement(int slot)
{
    const std::string sizeText = ToCore(sizeCombo_->currentText());
    const int size = ParseInteger(sizeText);

    TStyleSpecs& specs = prefs_.StyleSpecs.at(static_cast<std::size_t>(slot));
    specs.FontFamily = ToCore(preview_->FontName());
    specs.SizeText = sizeText;
    specs.Size = size;
    specs.FontColorName = ToCore(fontColorShape_->Name());
    specs.FontColor = fontColorShape_->Value();
    specs.AlignIndex = alignBtn_->parIndex();
    specs.Margin = ToCore(marginEdit_->text());
    specs.Padding = ToCore(paddingEdit_->text());
    specs.Transparent = transpCheck_->isChecked();
    if (specs.Transparent) {
        specs.BGValue = prefs_.BGSysCol;
        specs.BGName = prefs_.BGColor;
    } else {
        specs.BGValue = preview_->Background();
        specs.BGName = ToCore(preview_->BackgroundName());
    }
    specs.Options = ToCoreMemo(optionsMemo_->toPlainText());

    if (slot == 0) {
        prefs_.BGColor = ToCore(preview_->BackgroundName());
        prefs_.BGSysCol = preview_->Background();
        prefs_.BodyColor = ToCore(fontColorShape_->Name());
        prefs_.BodySysCol = fontColorShape_->Value();
        prefs_.SetPMargin(ToCore(marginEdit_->text()));
    }
    pendingEdits_ = false;
}

int TStyleDlg::SlotOfLine(int line) const
{
    if (line < 0 || line >= static_cast<int>(lineSlots_.size()))
        return -1;
    return lineSlots_[static_cast<std::size_t>(line)];
}

int TStyleDlg::LineOfSlot(int slot) const
{
    const auto found = std::find(lineSlots_.begin(), lineSlots_.end(), slot);
    return found == lineSlots_.end() ? -1 : static_cast<int>(found - lineSlots_.begin());
}

void TStyleDlg::SelectLine(int line)
{
    const QSignalBlocker quiet(elemList_);
    elemList_->setCurrentRow(line);
}

void TStyleDlg::ResetNames()
{
    for (const int slot : lineSlots_) {
        const auto n = static_cast<std::size_t>(slot);
        prefs_.StyleSpecs[n].Selector = prefs_.ElemSelector[n];
    }
}

// ------------------------------------------------------------ links

void TStyleDlg::StoreLinkState(int state)
{
    TLinkStyle& link = prefs_.LinkStyles.at(static_cast<std::size_t>(state));
    link.ColorName = ToCore(linkColorShape_->Name());
    link.ColorValue = linkColorShape_->Value();
    link.Underline = underlineCheck_->isChecked();
}

void TStyleDlg::ShowLinkState(int state)
{
    const TLinkStyle& link = prefs_.LinkStyles.at(static_cast<std::size_t>(state));
    linkColorShape_->SetColor(link.ColorValue, FromCore(link.ColorName));
    underlineCheck_->setChecked(link.Underline);
}

// The example in the colour and underlining of a link state, on the page background.
void TStyleDlg::DrawLinkExample(int state)
{
    QPalette panel = linkExamplePanel_->palette();
    panel.setColor(QPalette::Window, QColorFromValue(prefs_.BGSysCol));
    linkExamplePanel_->setPalette(panel);

    const TLinkStyle& link = prefs_.LinkStyles.at(static_cast<std::size_t>(state));
    SetTextColor(linkExampleLab_, QColorFromValue(link.ColorValue));
    QFont font = linkExampleLab_->font();
    font.setUnderline(link.Underline);
    linkExampleLab_->setFont(font);
}

// ------------------------------------------------------------ event handlers

void TStyleDlg::ElemListBoxChange(int line)
{
    const EditScope edit(*this);
    const int slot = SlotOfLine(line);
    if (slot < 0 || slot == curElement_)
        return;
    // An element that cannot be committed stays the current one.
    if (!CommitOrRestoreSize()) {
        SelectLine(LineOfSlot(curElement_));
        return;
    }
    curElement_ = slot;
    RunGuarded(this, [this] { ShowElement(curElement_); });
}

void TStyleDlg::FontComboChoose(const QString& family)
{
    const EditScope edit(*this);
    RunGuarded(this, [this, &family] {
        preview_->SetFontName(family);
        CommitElement(curElement_);
    });
}

// Each whole number typed is taken at once; a text that is not one yet (an
// emptied field, a sign alone) waits for the end of the typing.
void TStyleDlg::SizeComboChange(const QString& text)
{
    const EditScope edit(*this);
    const std::optional<std::int32_t> size = TryParseInteger(ToCore(text));
    if (!size)
        return;
    preview_->SetFontSize(*size);
    RunGuarded(this, [this] { CommitElement(curElement_); });
}

// Enter, or leaving the field: a size that is not a whole number is refused,
// and the field shows the element's size again.
void TStyleDlg::SizeEditingFinished()
{
    if (!TryParseInteger(ToCore(sizeCombo_->currentText())))
        CommitOrRestoreSize();
}

bool TStyleDlg::CommitOrRestoreSize()
{
    if (RunGuarded(this, [this] { CommitElement(curElement_); }))
        return true;
    const QSignalBlocker quiet(sizeCombo_);
    sizeCombo_->setEditText(FromCore(prefs_.StyleSpecs.at(static_cast<std::size_t>(curElement_)).SizeText));
    return false;
}

void TStyleDlg::CommitShown()
{
    if (!pendingEdits_)
        return;
    const EditScope edit(*this);
    CommitElement(curElement_);
    StoreLinkState(curLink_);
}

TStyleDlg::EditScope::EditScope(TStyleDlg& dialog)
    : dialog_(dialog)
    , before_(dialog.prefs_)
{
}

TStyleDlg::EditScope::~EditScope()
{
    if (!(dialog_.prefs_ == before_))
        emit dialog_.edited();
}

bool TStyleDlg::PickColor(const QString& name, ColorValue value)
{
    colors_->setNetColStr(name);
    colors_->setSysColor(value);
    return colors_->Execute(this);
}

void TStyleDlg::FontColorShapeClick()
{
    const EditScope edit(*this);
    RunGuarded(this, [this] {
        if (!PickColor(fontColorShape_->Name(), fontColorShape_->Value()))
            return;
        fontColorShape_->SetColor(colors_->SysColor(), colors_->NetColStr());
        preview_->SetFontColor(colors_->SysColor());
        CommitElement(curElement_);
    });
}

// Accepted or not, the element takes the preview's background; a transparent
// element shows the page background, so the page background changes with it.
void TStyleDlg::PreviewPanelClick()
{
    const EditScope edit(*this);
    RunGuarded(this, [this] {
        if (PickColor(preview_->BackgroundName(), preview_->Background()))
            preview_->SetBackground(colors_->SysColor(), colors_->NetColStr());
        TStyleSpecs& specs = prefs_.StyleSpecs.at(static_cast<std::size_t>(curElement_));
        specs.BGValue = preview_->Background();
        specs.BGName = ToCore(preview_->BackgroundName());
        specs.Transparent = transpCheck_->isChecked();
        if (specs.Transparent) {
            prefs_.BGSysCol = preview_->Background();
            prefs_.BGColor = ToCore(preview_->BackgroundName());
            DrawLinkExample(0);
        }
    });
}

void TStyleDlg::LinkColorShapeClick()
{
    const EditScope edit(*this);
    RunGuarded(this, [this] {
        if (PickColor(linkColorShape_->Name(), linkColorShape_->Value()))
            linkColorShape_->SetColor(colors_->SysColor(), colors_->NetColStr());
        StoreLinkState(curLink_);
    });
}

void TStyleDlg::LinkStateListChange(int row)
{
    const EditScope edit(*this);
    if (row < 0 || row > 2)
        return;
    StoreLinkState(curLink_);
    curLink_ = row;
    ShowLinkState(curLink_);
    DrawLinkExample(0);
}

void TStyleDlg::UnderlineCheckClick()
{
    const EditScope edit(*this);
    StoreLinkState(curLink_);
}

void TStyleDlg::LinkDefaultBtnClick()
{
    const EditScope edit(*this);
    prefs_.ResetLinkStyles();
    curLink_ = 0;
    {
        const QSignalBlocker quiet(linkStateList_);
        linkStateList_->setCurrentRow(0);
    }
    ShowLinkState(0);
    DrawLinkExample(0);
}

// What the controls hold and no commit has taken in yet is not exported.
void TStyleDlg::ExportBtnClick()
{
    const QString path = ChooseSprfFile(true);
    if (!path.isEmpty())
        RunGuarded(this, [this, &path] {
            InContext(QStringLiteral("Impossible d'enregistrer les préférences de style ")
                    + Quoted(QFileInfo(path).fileName()) + QStringLiteral(" :"),
                [this, &path] { prefs_.SaveToFile(PathToCore(path)); });
        });
}

// A file that fails half-way keeps what was read before the fault; the
// dialog then shows the preferences as they are, cancelled or not.
void TStyleDlg::ImportBtnClick()
{
    const EditScope edit(*this);
    const QString path = ChooseSprfFile(false);
    if (!path.isEmpty())
        RunGuarded(this, [this, &path] {
            InContext(QStringLiteral("Impossible de lire les préférences de style ")
                    + Quoted(QFileInfo(path).fileName()) + QStringLiteral(" :"),
                [this, &path] { prefs_.LoadFromFile(PathToCore(path)); });
        });
    RunGuarded(this, [this] { RefreshAll(); });
}

void TStyleDlg::DefaultBtnClick()
{
    const EditScope edit(*this);
    curElement_ = 0;
    curLink_ = 0;
    prefs_.SetDefaults();
    SelectLine(0);
    RunGuarded(this, [this] { RefreshAll(); });
}

void TStyleDlg::CopyItemClick()
{
    const int slot = SlotOfLine(elemList_->currentRow());
    if (slot >= 0)
        copySource_ = slot;
}

void TStyleDlg::PasteItemClick()
{
    const EditScope edit(*this);
    const int slot = SlotOfLine(elemList_->currentRow());
    if (slot < 0)
        return;
    RunGuarded(this, [this, slot] {
        prefs_.CopySpecs(copySource_, slot);
        ResetNames();
        ShowElement(curElement_);
    });
}

// Only the selector label can be out of date afterwards; the rest of the
// controls keep what the author typed.
void TStyleDlg::ResetNamesItemClick()
{
    const EditScope edit(*this);
    ResetNames();
    selectorLab_->setText(FromCore(prefs_.StyleSpecs.at(static_cast<std::size_t>(curElement_)).Selector));
}

QString TStyleDlg::ChooseSprfFile(bool save)
{
    return ChooseFileWithDialog(this,
        {save ? QStringLiteral("Enregistrer sous") : QStringLiteral("Ouvrir"), PathFromCore(prefs_.PrefsDir),
            QStringLiteral("Fichiers de préférences (*.sprf)"),
            save ? QStringLiteral("SprfSaveDialog") : QStringLiteral("SprfOpenDialog"), QStringLiteral("sprf"), save});
}

} // namespace tavimor
