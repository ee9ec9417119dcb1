#include "app/StyleDialog.h"

#include "app/ColorPicker.h"
#include "app/ErrorBoundary.h"
#include "app/FileDialogs.h"
#include "app/FontCombo.h"
#include "app/ParAlignButton.h"
#include "app/TextCodec.h"
#include "presentation/IntegerText.h"

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
constexpr int kPreviewMaxPoints = 400; // a typed size of thousands stays drawable

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

void SetTextColor(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
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

// ---------------------------------------------------------------- TColorShape

TColorShape::TColorShape(QWidget* parent)
    : QFrame(parent)
{
    setFixedSize(33, 25);
}

void TColorShape::SetColor(ColorValue value, const QString& name)
{
    m_value = value;
    m_name = name;
    setToolTip(name);
    update();
}

void TColorShape::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(QColorFromValue(m_value));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TColorShape::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

// -------------------------------------------------------------- TStylePreview

TStylePreview::TStylePreview(QWidget* parent)
    : QLabel(parent)
{
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // A large font must not widen the dialog: the text is clipped instead.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setMinimumWidth(200);
    setFixedHeight(72);
    setCursor(Qt::PointingHandCursor);
}

void TStylePreview::SetFontName(const QString& family)
{
    m_fontName = family;
    QFont shown = font();
    shown.setFamily(family);
    setFont(shown);
    setText(family);
}

void TStylePreview::SetFontSize(int points)
{
    QFont shown = font();
    shown.setPointSize(std::clamp(points, 1, kPreviewMaxPoints));
    setFont(shown);
}

void TStylePreview::SetFontColor(ColorValue value)
{
    SetTextColor(this, QColorFromValue(value));
}

void TStylePreview::SetBackground(ColorValue value, const QString& name)
{
    m_background = value;
    m_backgroundName = name;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColorFromValue(value));
    setPalette(palette);
}

void TStylePreview::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

// ------------------------------------------------------------------ TStyleDlg

TStyleDlg::TStyleDlg(TStylePrefs& prefs, QWidget* parent)
    : QDialog(parent)
    , m_prefs(prefs)
    , m_colors(new TNetColors(this))
{
    setObjectName(QStringLiteral("StyleDlg"));
    setWindowTitle(QStringLiteral("Propriétés de style ... "));
    m_colors->setSortType(0);
    BuildControls();

    // Creation state: no element lines yet, the font list on Arial, the size
    // list on its first entry.
    m_fontCombo->SelectFont(QStringLiteral("arial"));
    m_sizeCombo->setCurrentIndex(0);
}

TStyleDlg::~TStyleDlg() = default;

void TStyleDlg::BuildControls()
{
    auto* right = new QVBoxLayout;
    auto* exportBtn = MakeButton(QStringLiteral("ExportBtn"), QStringLiteral("Exporter..."), this);
    auto* importBtn = MakeButton(QStringLiteral("ImportBtn"), QStringLiteral("Récupérer..."), this);
    auto* defaultBtn = MakeButton(QStringLiteral("DefaultBtn"), QStringLiteral("valeurs par défaut"), this);
    defaultBtn->setToolTip(QStringLiteral("Tout réinitialiser"));
    m_acceptBtn = MakeButton(QStringLiteral("AcceptBtn"), QStringLiteral("Accepter"), this);
    m_acceptBtn->setDefault(true);
    right->addWidget(exportBtn);
    right->addWidget(importBtn);
    right->addWidget(defaultBtn);
    right->addSpacing(8);
    right->addWidget(BuildLinkGroup());
    right->addStretch();
    right->addWidget(m_acceptBtn);

    auto* main = new QHBoxLayout(this);
    main->addWidget(BuildElementGroup(), 1);
    main->addLayout(right);

    connect(exportBtn, &QPushButton::clicked, this, &TStyleDlg::ExportBtnClick);
    connect(importBtn, &QPushButton::clicked, this, &TStyleDlg::ImportBtnClick);
    connect(defaultBtn, &QPushButton::clicked, this, &TStyleDlg::DefaultBtnClick);
    connect(m_acceptBtn, &QPushButton::clicked, this, &QDialog::accept);

    // The form's own menu, wherever no control has a menu of its own.
    m_formMenu = new QMenu(this);
    m_formMenu->setObjectName(QStringLiteral("FormMenu"));
    QAction* resetNames = m_formMenu->addAction(QStringLiteral("reset names"));
    resetNames->setObjectName(QStringLiteral("ResetNamesItem"));
    connect(resetNames, &QAction::triggered, this, &TStyleDlg::ResetNamesItemClick);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
        [this](const QPoint& pos) { m_formMenu->popup(mapToGlobal(pos)); });
}

QWidget* TStyleDlg::BuildElementGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Éléments de style:  "), this);
    group->setObjectName(QStringLiteral("ElemGroup"));

    m_elemList = new QListWidget(group);
    m_elemList->setObjectName(QStringLiteral("ElemListBox"));
    m_elemList->setFixedWidth(190);
    m_elemList->setContextMenuPolicy(Qt::CustomContextMenu);
    m_elemList->viewport()->installEventFilter(this);

    m_elemMenu = new QMenu(m_elemList);
    m_elemMenu->setObjectName(QStringLiteral("ElemListMenu"));
    QAction* copyItem = m_elemMenu->addAction(QStringLiteral("copier"));
    copyItem->setObjectName(QStringLiteral("CopyItem"));
    QAction* pasteItem = m_elemMenu->addAction(QStringLiteral("coller"));
    pasteItem->setObjectName(QStringLiteral("PasteItem"));

    m_infoLab = MakeLabel(QStringLiteral("ElemInfoLab"), {}, group);
    m_infoLab->setWordWrap(true);
    SetTextColor(m_infoLab, kInfoColor);

    m_selectorLab = MakeLabel(QStringLiteral("SelectorLab"), {}, group);
    QFont bold = m_selectorLab->font();
    bold.setBold(true);
    m_selectorLab->setFont(bold);
    SetTextColor(m_selectorLab, kSelectorColor);

    m_transpCheck = new QCheckBox(QStringLiteral("Fond transparent"), group);
    m_transpCheck->setObjectName(QStringLiteral("TranspCheckBox"));

    m_preview = new TStylePreview(group);
    m_preview->setObjectName(QStringLiteral("PreviewPanel"));
    m_preview->setToolTip(QStringLiteral("Couleur de fond"));

    auto* colorLab = MakeLabel(QStringLiteral("FontColorLab"), QStringLiteral("Couleur:"), group);
    m_fontColorShape = new TColorShape(group);
    m_fontColorShape->setObjectName(QStringLiteral("FontColorShape"));
    m_alignBtn = new TParAlignButton(group);
    m_alignBtn->setObjectName(QStringLiteral("ParAlignBtn"));

    m_fontCombo = new TFontCombo(group);
    m_fontCombo->setObjectName(QStringLiteral("FontCombo"));
    m_sizeCombo = new QComboBox(group);
    m_sizeCombo->setObjectName(QStringLiteral("SizeCombo"));
    m_sizeCombo->setEditable(true);
    m_sizeCombo->setInsertPolicy(QComboBox::NoInsert);
    for (int size = 8; size <= 24; size += 2)
        m_sizeCombo->addItem(QString::number(size));
    m_sizeCombo->setFixedWidth(60);

    auto* marginLab = MakeLabel(QStringLiteral("MarginLab"), QStringLiteral("Marge: "), group);
    m_marginEdit = new QLineEdit(group);
    m_marginEdit->setObjectName(QStringLiteral("MarginEdit"));
    marginLab->setBuddy(m_marginEdit);
    auto* paddingLab = MakeLabel(QStringLiteral("PaddingLab"), QStringLiteral("Marge int.: "), group);
    m_paddingEdit = new QLineEdit(group);
    m_paddingEdit->setObjectName(QStringLiteral("PaddingEdit"));
    paddingLab->setBuddy(m_paddingEdit);

    auto* optionsGroup = new QGroupBox(QStringLiteral("Options  "), group);
    optionsGroup->setObjectName(QStringLiteral("OptionsGroup"));
    m_optionsMemo = new QPlainTextEdit(optionsGroup);
    m_optionsMemo->setObjectName(QStringLiteral("OptionsMemo"));
    QFont courier(QStringLiteral("Courier New"), 9);
    courier.setStyleHint(QFont::Monospace);
    m_optionsMemo->setFont(courier);
    m_optionsMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* optionsLayout = new QVBoxLayout(optionsGroup);
    optionsLayout->setContentsMargins(4, 4, 4, 4);
    optionsLayout->addWidget(m_optionsMemo);

    auto* head = new QHBoxLayout;
    head->addWidget(m_selectorLab);
    head->addStretch();
    head->addWidget(m_transpCheck);

    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(colorLab);
    colorRow->addWidget(m_fontColorShape);
    colorRow->addSpacing(16);
    colorRow->addWidget(m_alignBtn);
    colorRow->addStretch();

    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(m_fontCombo, 1);
    fontRow->addWidget(m_sizeCombo);

    auto* marginRow = new QGridLayout;
    marginRow->addWidget(marginLab, 0, 0);
    marginRow->addWidget(paddingLab, 0, 1);
    marginRow->addWidget(m_marginEdit, 1, 0);
    marginRow->addWidget(m_paddingEdit, 1, 1);

    auto* controls = new QVBoxLayout;
    controls->addLayout(head);
    controls->addWidget(m_preview);
    controls->addLayout(colorRow);
    controls->addLayout(fontRow);
    controls->addLayout(marginRow);

    auto* layout = new QGridLayout(group);
    layout->addWidget(m_infoLab, 0, 0, 1, 2);
    layout->addWidget(m_elemList, 1, 0, 2, 1);
    layout->addLayout(controls, 1, 1);
    layout->addWidget(optionsGroup, 2, 1);
    layout->setRowStretch(2, 1);

    connect(m_elemList, &QListWidget::currentRowChanged, this, &TStyleDlg::ElemListBoxChange);
    connect(m_elemList, &QWidget::customContextMenuRequested, this,
        [this](const QPoint& pos) { m_elemMenu->popup(m_elemList->viewport()->mapToGlobal(pos)); });
    connect(copyItem, &QAction::triggered, this, &TStyleDlg::CopyItemClick);
    connect(pasteItem, &QAction::triggered, this, &TStyleDlg::PasteItemClick);
    connect(m_fontCombo, &TFontCombo::fontChosen, this, &TStyleDlg::FontComboChoose);
    connect(m_sizeCombo, &QComboBox::editTextChanged, this, &TStyleDlg::SizeComboChange);
    connect(m_sizeCombo->lineEdit(), &QLineEdit::editingFinished, this, &TStyleDlg::SizeEditingFinished);
    // What these controls hold waits for the next commit point.
    const auto pending = [this] { m_pendingEdits = true; };
    connect(m_marginEdit, &QLineEdit::textEdited, this, pending);
    connect(m_paddingEdit, &QLineEdit::textEdited, this, pending);
    connect(m_optionsMemo, &QPlainTextEdit::textChanged, this, [this] {
        if (m_optionsMemo->hasFocus())
            m_pendingEdits = true;
    });
    connect(m_alignBtn, &TParAlignButton::picked, this, pending);
    connect(m_transpCheck, &QCheckBox::clicked, this, pending);
    connect(m_fontColorShape, &TColorShape::clicked, this, &TStyleDlg::FontColorShapeClick);
    connect(m_preview, &TStylePreview::clicked, this, &TStyleDlg::PreviewPanelClick);
    return group;
}

QWidget* TStyleDlg::BuildLinkGroup()
{
    m_linkGroup = new QGroupBox(QStringLiteral("Liens "), this);
    m_linkGroup->setObjectName(QStringLiteral("LinkGroup"));
    m_linkGroup->setMouseTracking(true);
    m_linkGroup->installEventFilter(this);

    m_linkColorShape = new TColorShape(m_linkGroup);
    m_linkColorShape->setObjectName(QStringLiteral("LinkColorShape"));

    m_linkStateList = new QListWidget(m_linkGroup);
    m_linkStateList->setObjectName(QStringLiteral("LinkStateList"));
    m_linkStateList->addItems({QStringLiteral("lien"), QStringLiteral("actif"), QStringLiteral("parcouru")});
    m_linkStateList->setCurrentRow(0);
    m_linkStateList->setFixedSize(110, m_linkStateList->sizeHintForRow(0) * 3 + 6);

    m_underlineCheck = new QCheckBox(QStringLiteral("Souligné"), m_linkGroup);
    m_underlineCheck->setObjectName(QStringLiteral("UnderlineCheck"));
    auto* linkDefaultBtn = MakeButton(QStringLiteral("LinkDefaultBtn"), QStringLiteral("Défaut"), m_linkGroup);

    m_linkExamplePanel = new QFrame(m_linkGroup);
    m_linkExamplePanel->setObjectName(QStringLiteral("LinkExamplePanel"));
    m_linkExamplePanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_linkExamplePanel->setAutoFillBackground(true);
    m_linkExampleLab
        = MakeLabel(QStringLiteral("LinkExampleLab"), QStringLiteral("exemple de lien"), m_linkExamplePanel);
    m_linkExampleLab->setCursor(Qt::PointingHandCursor);
    m_linkExampleLab->installEventFilter(this);
    auto* panelLayout = new QHBoxLayout(m_linkExamplePanel);
    panelLayout->addStretch();
    panelLayout->addWidget(m_linkExampleLab);
    panelLayout->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(m_linkColorShape, 0, Qt::AlignTop);
    top->addWidget(m_linkStateList);
    top->addStretch();
    auto* middle = new QHBoxLayout;
    middle->addWidget(m_underlineCheck);
    middle->addStretch();
    middle->addWidget(linkDefaultBtn);
    auto* layout = new QVBoxLayout(m_linkGroup);
    layout->addLayout(top);
    layout->addLayout(middle);
    layout->addWidget(m_linkExamplePanel);

    connect(m_linkColorShape, &TColorShape::clicked, this, &TStyleDlg::LinkColorShapeClick);
    connect(m_linkStateList, &QListWidget::currentRowChanged, this, &TStyleDlg::LinkStateListChange);
    connect(m_underlineCheck, &QCheckBox::clicked, this, &TStyleDlg::UnderlineCheckClick);
    connect(linkDefaultBtn, &QPushButton::clicked, this, &TStyleDlg::LinkDefaultBtnClick);
    return m_linkGroup;
}

void TStyleDlg::SetEmbedded(bool embedded)
{
    m_embedded = embedded;
    setWindowFlags(embedded ? Qt::Widget : Qt::Dialog);
    m_acceptBtn->setVisible(!embedded);
}

void TStyleDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        ShowPrefs();
    }
}

void TStyleDlg::keyPressEvent(QKeyEvent* event)
{
    // Escape would hide the embedded dialog and leave its page empty.
    if (m_embedded && event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TStyleDlg::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if (m_elemList && watched == m_elemList->viewport() && type == QEvent::MouseButtonPress
        && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
        return true; // the menu works on the selected line; a right press selects nothing
    if (watched == m_linkGroup && type == QEvent::MouseMove)
        DrawLinkExample(0);
    if (watched == m_linkExampleLab && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease)
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        DrawLinkExample(type == QEvent::MouseButtonPress ? 1 : 2);
    return QDialog::eventFilter(watched, event);
}

// ------------------------------------------------------------ showing

void TStyleDlg::ShowPrefs()
{
    const auto& builtin = BuiltinElements();
    m_lineSlots.clear();
    {
        const QSignalBlocker quiet(m_elemList);
        m_elemList->clear();
        for (std::size_t n = 0; n < kStyleSlots; ++n) {
            if (m_prefs.ElemInfo[n].empty())
                m_prefs.ElemInfo[n] = builtin[n].Info;
            if (m_prefs.ElemSelector[n].empty())
                m_prefs.ElemSelector[n] = builtin[n].Selector;
            if (m_prefs.ElemSelector[n].empty())
                continue;
            m_elemList->addItem(FromCore(m_prefs.ElemTitle[n] + " (" + m_prefs.ElemSelector[n] + ")"));
            m_lineSlots.push_back(static_cast<int>(n));
        }
    }
    if (LineOfSlot(m_curElement) < 0)
        m_curElement = m_lineSlots.empty() ? 0 : m_lineSlots.front();
    SelectLine(LineOfSlot(m_curElement));
    RunGuarded(this, [this] { RefreshAll(); });
}

void TStyleDlg::RefreshAll()
{
    m_preview->SetBackground(m_prefs.BGSysCol, FromCore(m_prefs.BGColor));
    m_fontCombo->SelectFont(FromCore(m_prefs.DefFontFace));
    {
        const QSignalBlocker quiet(m_linkStateList);
        m_linkStateList->setCurrentRow(m_curLink);
    }
    ShowLinkState(m_curLink);
    DrawLinkExample(0);
    ShowElement(m_curElement);
}

void TStyleDlg::ShowElement(int slot)
{
    const TStyleSpecs& specs = m_prefs.StyleSpecs.at(static_cast<std::size_t>(slot));
    m_transpCheck->setEnabled(slot != 0);
    m_selectorLab->setText(FromCore(specs.Selector));

    m_preview->SetFontName(FromCore(specs.FontFamily));
    m_fontCombo->SelectFont(FromCore(specs.FontFamily));
    const QString sizeText = FromCore(specs.SizeText);
    {
        const QSignalBlocker quiet(m_sizeCombo);
        m_sizeCombo->setEditText(sizeText);
    }
    m_fontColorShape->SetColor(specs.FontColor, FromCore(specs.FontColorName));
    m_preview->SetFontColor(specs.FontColor);

    m_marginEdit->setText(FromCore(specs.Margin));
    m_paddingEdit->setText(FromCore(specs.Padding));
    m_alignBtn->setParIndex(specs.AlignIndex);
    m_preview->setAlignment(PreviewAlignment(specs.AlignIndex));

    m_optionsMemo->setPlainText(FromCoreMemo(specs.Options));
    m_transpCheck->setChecked(specs.Transparent);
    if (specs.Transparent)
        m_preview->SetBackground(m_prefs.BGSysCol, FromCore(m_prefs.BGColor));
    else
        m_preview->SetBackground(specs.BGValue, FromCore(specs.BGName));

    ApplySize(sizeText);
    m_infoLab->setText(FromCore(m_prefs.ElemInfo.at(static_cast<std::size_t>(m_curElement))));
    m_pendingEdits = false;
}

// Size and size text of the current element, and the preview's size. A text
// that is not a whole number changes nothing (ConvertError).
void TStyleDlg::ApplySize(const QString& sizeText)
{
    const int size = ParseInteger(ToCore(sizeText));
    TStyleSpecs& specs = m_prefs.StyleSpecs.at(static_cast<std::size_t>(m_curElement));
    specs.Size = size;
    specs.SizeText = ToCore(sizeText);
    m_preview->SetFontSize(size);
}

void TStyleDlg::CommitElement(int slot)
{
    const std::string sizeText = ToCore(m_sizeCombo->currentText());
    const int size = ParseInteger(sizeText);

    TStyleSpecs& specs = m_prefs.StyleSpecs.at(static_cast<std::size_t>(slot));
    specs.FontFamily = ToCore(m_preview->FontName());
    specs.SizeText = sizeText;
    specs.Size = size;
    specs.FontColorName = ToCore(m_fontColorShape->Name());
    specs.FontColor = m_fontColorShape->Value();
    specs.AlignIndex = m_alignBtn->parIndex();
    specs.Margin = ToCore(m_marginEdit->text());
    specs.Padding = ToCore(m_paddingEdit->text());
    specs.Transparent = m_transpCheck->isChecked();
    if (specs.Transparent) {
        specs.BGValue = m_prefs.BGSysCol;
        specs.BGName = m_prefs.BGColor;
    } else {
        specs.BGValue = m_preview->Background();
        specs.BGName = ToCore(m_preview->BackgroundName());
    }
    specs.Options = ToCoreMemo(m_optionsMemo->toPlainText());

    if (slot == 0) {
        m_prefs.BGColor = ToCore(m_preview->BackgroundName());
        m_prefs.BGSysCol = m_preview->Background();
        m_prefs.BodyColor = ToCore(m_fontColorShape->Name());
        m_prefs.BodySysCol = m_fontColorShape->Value();
        m_prefs.SetPMargin(ToCore(m_marginEdit->text()));
    }
    m_pendingEdits = false;
}

int TStyleDlg::SlotOfLine(int line) const
{
    if (line < 0 || line >= static_cast<int>(m_lineSlots.size()))
        return -1;
    return m_lineSlots[static_cast<std::size_t>(line)];
}

int TStyleDlg::LineOfSlot(int slot) const
{
    const auto found = std::find(m_lineSlots.begin(), m_lineSlots.end(), slot);
    return found == m_lineSlots.end() ? -1 : static_cast<int>(found - m_lineSlots.begin());
}

void TStyleDlg::SelectLine(int line)
{
    const QSignalBlocker quiet(m_elemList);
    m_elemList->setCurrentRow(line);
}

void TStyleDlg::ResetNames()
{
    for (const int slot : m_lineSlots) {
        const auto n = static_cast<std::size_t>(slot);
        m_prefs.StyleSpecs[n].Selector = m_prefs.ElemSelector[n];
    }
}

// ------------------------------------------------------------ links

void TStyleDlg::StoreLinkState(int state)
{
    TLinkStyle& link = m_prefs.LinkStyles.at(static_cast<std::size_t>(state));
    link.ColorName = ToCore(m_linkColorShape->Name());
    link.ColorValue = m_linkColorShape->Value();
    link.Underline = m_underlineCheck->isChecked();
}

void TStyleDlg::ShowLinkState(int state)
{
    const TLinkStyle& link = m_prefs.LinkStyles.at(static_cast<std::size_t>(state));
    m_linkColorShape->SetColor(link.ColorValue, FromCore(link.ColorName));
    m_underlineCheck->setChecked(link.Underline);
}

// The example in the colour and underlining of a link state, on the page background.
void TStyleDlg::DrawLinkExample(int state)
{
    QPalette panel = m_linkExamplePanel->palette();
    panel.setColor(QPalette::Window, QColorFromValue(m_prefs.BGSysCol));
    m_linkExamplePanel->setPalette(panel);

    const TLinkStyle& link = m_prefs.LinkStyles.at(static_cast<std::size_t>(state));
    SetTextColor(m_linkExampleLab, QColorFromValue(link.ColorValue));
    QFont font = m_linkExampleLab->font();
    font.setUnderline(link.Underline);
    m_linkExampleLab->setFont(font);
}

// ------------------------------------------------------------ event handlers

void TStyleDlg::ElemListBoxChange(int line)
{
    const EditScope edit(*this);
    const int slot = SlotOfLine(line);
    if (slot < 0 || slot == m_curElement)
        return;
    // An element that cannot be committed stays the current one.
    if (!CommitOrRestoreSize()) {
        SelectLine(LineOfSlot(m_curElement));
        return;
    }
    m_curElement = slot;
    RunGuarded(this, [this] { ShowElement(m_curElement); });
}

void TStyleDlg::FontComboChoose(const QString& family)
{
    const EditScope edit(*this);
    RunGuarded(this, [this, &family] {
        m_preview->SetFontName(family);
        CommitElement(m_curElement);
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
    m_preview->SetFontSize(*size);
    RunGuarded(this, [this] { CommitElement(m_curElement); });
}

// Enter, or leaving the field: a size that is not a whole number is refused,
// and the field shows the element's size again.
void TStyleDlg::SizeEditingFinished()
{
    if (!TryParseInteger(ToCore(m_sizeCombo->currentText())))
        CommitOrRestoreSize();
}

bool TStyleDlg::CommitOrRestoreSize()
{
    if (RunGuarded(this, [this] { CommitElement(m_curElement); }))
        return true;
    const QSignalBlocker quiet(m_sizeCombo);
    m_sizeCombo->setEditText(FromCore(m_prefs.StyleSpecs.at(static_cast<std::size_t>(m_curElement)).SizeText));
    return false;
}

void TStyleDlg::CommitShown()
{
    if (!m_pendingEdits)
        return;
    const EditScope edit(*this);
    CommitElement(m_curElement);
    StoreLinkState(m_curLink);
}

TStyleDlg::EditScope::EditScope(TStyleDlg& dialog)
    : dialog_(dialog)
    , before_(dialog.m_prefs)
{
}

TStyleDlg::EditScope::~EditScope()
{
    if (!(dialog_.m_prefs == before_))
        emit dialog_.edited();
}

bool TStyleDlg::PickColor(const QString& name, ColorValue value)
{
    m_colors->setNetColStr(name);
    m_colors->setSysColor(value);
    return m_colors->Execute(this);
}

void TStyleDlg::FontColorShapeClick()
{
    const EditScope edit(*this);
    RunGuarded(this, [this] {
        if (!PickColor(m_fontColorShape->Name(), m_fontColorShape->Value()))
            return;
        m_fontColorShape->SetColor(m_colors->SysColor(), m_colors->NetColStr());
        m_preview->SetFontColor(m_colors->SysColor());
        CommitElement(m_curElement);
    });
}

// Accepted or not, the element takes the preview's background; a transparent
// element shows the page background, so the page background changes with it.
void TStyleDlg::PreviewPanelClick()
{
    const EditScope edit(*this);
    RunGuarded(this, [this] {
        if (PickColor(m_preview->BackgroundName(), m_preview->Background()))
            m_preview->SetBackground(m_colors->SysColor(), m_colors->NetColStr());
        TStyleSpecs& specs = m_prefs.StyleSpecs.at(static_cast<std::size_t>(m_curElement));
        specs.BGValue = m_preview->Background();
        specs.BGName = ToCore(m_preview->BackgroundName());
        specs.Transparent = m_transpCheck->isChecked();
        if (specs.Transparent) {
            m_prefs.BGSysCol = m_preview->Background();
            m_prefs.BGColor = ToCore(m_preview->BackgroundName());
            DrawLinkExample(0);
        }
    });
}

void TStyleDlg::LinkColorShapeClick()
{
    const EditScope edit(*this);
    RunGuarded(this, [this] {
        if (PickColor(m_linkColorShape->Name(), m_linkColorShape->Value()))
            m_linkColorShape->SetColor(m_colors->SysColor(), m_colors->NetColStr());
        StoreLinkState(m_curLink);
    });
}

void TStyleDlg::LinkStateListChange(int row)
{
    const EditScope edit(*this);
    if (row < 0 || row > 2)
        return;
    StoreLinkState(m_curLink);
    m_curLink = row;
    ShowLinkState(m_curLink);
    DrawLinkExample(0);
}

void TStyleDlg::UnderlineCheckClick()
{
    const EditScope edit(*this);
    StoreLinkState(m_curLink);
}

void TStyleDlg::LinkDefaultBtnClick()
{
    const EditScope edit(*this);
    m_prefs.ResetLinkStyles();
    m_curLink = 0;
    {
        const QSignalBlocker quiet(m_linkStateList);
        m_linkStateList->setCurrentRow(0);
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
                [this, &path] { m_prefs.SaveToFile(PathToCore(path)); });
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
                [this, &path] { m_prefs.LoadFromFile(PathToCore(path)); });
        });
    RunGuarded(this, [this] { RefreshAll(); });
}

void TStyleDlg::DefaultBtnClick()
{
    const EditScope edit(*this);
    m_curElement = 0;
    m_curLink = 0;
    m_prefs.SetDefaults();
    SelectLine(0);
    RunGuarded(this, [this] { RefreshAll(); });
}

void TStyleDlg::CopyItemClick()
{
    const int slot = SlotOfLine(m_elemList->currentRow());
    if (slot >= 0)
        m_copySource = slot;
}

void TStyleDlg::PasteItemClick()
{
    const EditScope edit(*this);
    const int slot = SlotOfLine(m_elemList->currentRow());
    if (slot < 0)
        return;
    RunGuarded(this, [this, slot] {
        m_prefs.CopySpecs(m_copySource, slot);
        ResetNames();
        ShowElement(m_curElement);
    });
}

// Only the selector label can be out of date afterwards; the rest of the
// controls keep what the author typed.
void TStyleDlg::ResetNamesItemClick()
{
    const EditScope edit(*this);
    ResetNames();
    m_selectorLab->setText(FromCore(m_prefs.StyleSpecs.at(static_cast<std::size_t>(m_curElement)).Selector));
}

QString TStyleDlg::ChooseSprfFile(bool save)
{
    return ChooseFileWithDialog(this,
        {save ? QStringLiteral("Enregistrer sous") : QStringLiteral("Ouvrir"), PathFromCore(m_prefs.PrefsDir),
            QStringLiteral("Fichiers de préférences (*.sprf)"),
            save ? QStringLiteral("SprfSaveDialog") : QStringLiteral("SprfOpenDialog"), QStringLiteral("sprf"), save});
}

} // namespace tavimor
