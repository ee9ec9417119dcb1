// The style dialog, its alignment chooser and font list, driven with the mouse
// and the keyboard; after each change the produced style sheet is compared
// with what the author should get.
#include "app/ColorPicker.h"
#include "app/FontCombo.h"
#include "app/ParAlignButton.h"
#include "app/StyleDialog.h"
#include "app/TextCodec.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tavimor {
namespace {

// ------------------------------------------------------------ expectations

// An element rule as the style sheet writes it: the selector line, one TAB
// line per declaration, the TAB "}" line and an empty line.
std::string Rule(const std::string& selector, const std::vector<std::string>& declarations)
{
    std::string rule = selector + " {\r\n";
    for (const std::string& line : declarations)
        rule += "\t" + line + "\r\n";
    return rule + "\t}\r\n\r\n";
}

// The rule of selector as it stands in the sheet, or "" when there is none.
std::string RuleIn(const std::string& sheet, const std::string& selector)
{
    const std::string head = "\r\n" + selector + " {\r\n";
    const std::size_t start = sheet.find(head);
    if (start == std::string::npos)
        return {};
    const std::size_t end = sheet.find("}\r\n\r\n", start);
    return sheet.substr(start + 2, end + 5 - (start + 2));
}

std::string LinkRule(const std::string& state, const std::string& color, bool underline)
{
    return "a:" + state + " {\r\n\tcolor:" + color + ";\r\n\ttext-decoration:" + (underline ? "underline" : "none")
        + ";\r\n\t}\r\n\r\n";
}

QColor Rgb(int red, int green, int blue)
{
    return QColor(red, green, blue);
}

// ------------------------------------------------------------ modal answers

// Runs answer on the next modal window of type W once it is up. A window of
// another type is closed so that a fault cannot hang the run.
template <typename W> void WhenModal(std::function<void(W*)> answer)
{
    QTimer::singleShot(0, [answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* wanted = qobject_cast<W*>(modal)) {
            answer(wanted);
            return;
        }
        ADD_FAILURE() << "unexpected modal window " << (modal ? modal->objectName().toStdString() : "none");
        if (modal)
            modal->close();
    });
}

// The picker: a press on basic colour `cell` of the primary row, then "Accepter".
void PickBasicColor(int cell)
{
    WhenModal<TNetCForm>([cell](TNetCForm* form) {
        auto* row = form->findChild<TPrimaryRow*>(QStringLiteral("PrimaryRow"));
        ASSERT_NE(row, nullptr);
        const QPoint point(TPrimaryRow::kCellSize * cell + 6, 6);
        QTest::mouseMove(row, point);
        QTest::mouseClick(row, Qt::LeftButton, {}, point);
        QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("AcceptBtn")), Qt::LeftButton);
    });
}

void CancelPicker()
{
    WhenModal<TNetCForm>([](TNetCForm* form) { QTest::keyClick(form, Qt::Key_Escape); });
}

// The error box: its text goes to *text, then "OK".
void AnswerErrorBox(QString* text)
{
    WhenModal<QMessageBox>([text](QMessageBox* box) {
        EXPECT_EQ(box->objectName(), QStringLiteral("ErrorBox"));
        *text = box->text();
        QTest::mouseClick(box->buttons().constFirst(), Qt::LeftButton);
    });
}

// A .sprf file dialog: the name typed, then "Enregistrer"/"Ouvrir" (or
// "Annuler" for an empty name).
void AnswerFileDialog(const QString& path)
{
    WhenModal<QFileDialog>([path](QFileDialog* dialog) {
        auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        ASSERT_NE(buttons, nullptr);
        if (path.isEmpty()) {
            QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton);
            return;
        }
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
        const bool save = dialog->acceptMode() == QFileDialog::AcceptSave;
        QTest::mouseClick(buttons->button(save ? QDialogButtonBox::Save : QDialogButtonBox::Open), Qt::LeftButton);
    });
}

// ------------------------------------------------------------ fixture

class StyleDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(prefsDir.isValid());
        prefs.SetStartupElements(PathToCore(prefsDir.path() + QStringLiteral("/")));
        dialog = std::make_unique<TStyleDlg>(prefs);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }

    template <typename T> T* Find(const QString& name) const
    {
        auto* child = dialog->findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name.toStdString();
        return child;
    }

    QListWidget* ElemList() const { return Find<QListWidget>(QStringLiteral("ElemListBox")); }
    TStylePreview* Preview() const { return Find<TStylePreview>(QStringLiteral("PreviewPanel")); }
    QComboBox* SizeCombo() const { return Find<QComboBox>(QStringLiteral("SizeCombo")); }
    QLabel* Example() const { return Find<QLabel>(QStringLiteral("LinkExampleLab")); }

    std::string Sheet() const { return prefs.MakeStyleSheet(); }
    std::string RuleOf(const std::string& selector) const { return RuleIn(Sheet(), selector); }
    QColor PreviewBackground() const { return Preview()->palette().color(QPalette::Window); }

    void ClickRow(QListWidget* list, int row)
    {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }

    void Click(const QString& name) { QTest::mouseClick(Find<QWidget>(name), Qt::LeftButton); }

    // A right click on a line of the element list, as the window system
    // delivers it (press, context menu, release), then a click on the item.
    void ElemMenu(int row, const QString& itemName)
    {
        QWidget* viewport = ElemList()->viewport();
        const QPoint point = ElemList()->visualItemRect(ElemList()->item(row)).center();
        QTest::mousePress(viewport, Qt::RightButton, {}, point);
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, point, viewport->mapToGlobal(point));
        QApplication::sendEvent(viewport, &menuEvent);
        QTest::mouseRelease(viewport, Qt::RightButton, {}, point);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        QAction* item = menu->findChild<QAction*>(itemName);
        ASSERT_NE(item, nullptr);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    }

    void TypeInto(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    QTemporaryDir prefsDir;
    TStylePrefs prefs;
    std::unique_ptr<TStyleDlg> dialog;
};

// ------------------------------------------------------------ the dialog

TEST_F(StyleDialogTest, ListsTheStartupElementsAndShowsTheBody)
{
    QListWidget* list = ElemList();
    ASSERT_EQ(list->count(), 12);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("Normal (Body)"));
    EXPECT_EQ(list->item(7)->text(), QStringLiteral("Réponses (TD)"));
    EXPECT_EQ(list->item(11)->text(), QStringLiteral("inutilisé (.notUsed)"));
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(Find<QLabel>(QStringLiteral("SelectorLab"))->text(), QStringLiteral("Body"));
    EXPECT_EQ(Find<QLabel>(QStringLiteral("ElemInfoLab"))->text(),
        QStringLiteral("Texte courant, utilisé partout, couleur générale"));
    EXPECT_EQ(Preview()->text(), QStringLiteral("Arial"));
    EXPECT_EQ(SizeCombo()->currentText(), QStringLiteral("10"));
    EXPECT_EQ(Find<QLineEdit>(QStringLiteral("MarginEdit"))->text(), QStringLiteral("2%,7%"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Propriétés de style ... "));

    // A slot without a description of its own shows the built-in one.
    ClickRow(list, 10);
    EXPECT_EQ(Find<QLabel>(QStringLiteral("ElemInfoLab"))->text(), QStringLiteral("Style modifiable"));
    // Showing elements commits nothing.
    TStylePrefs fresh;
    fresh.SetStartupElements(prefs.PrefsDir);
    EXPECT_EQ(Sheet(), fresh.MakeStyleSheet());
}

TEST_F(StyleDialogTest, BodyBackgroundIsThePageBackground)
{
    auto* transparent = Find<QCheckBox>(QStringLiteral("TranspCheckBox"));
    EXPECT_FALSE(transparent->isEnabled());
    EXPECT_TRUE(transparent->isChecked());

    // The picker opens on the page background it changes.
    QString opensOn;
    ColorValue opensOnValue = 0;
    WhenModal<TNetCForm>([&opensOn, &opensOnValue](TNetCForm* form) {
        opensOn = form->chosenName();
        opensOnValue = form->chosenValue();
        form->reject();
    });
    QTest::mouseClick(Preview(), Qt::LeftButton);
    EXPECT_EQ(opensOn, QStringLiteral("WHITE"));
    EXPECT_EQ(opensOnValue, 0xFFFFFFu);

    PickBasicColor(6); // navy
    QTest::mouseClick(Preview(), Qt::LeftButton);
    EXPECT_EQ(prefs.BGColor, "navy");
    EXPECT_EQ(prefs.BGSysCol, 0x800000);
    EXPECT_EQ(RuleOf("Body"),
        Rule("Body",
            {"background:navy;", "margin:2%,7%;", "color:black;", "font-family:\"Arial\";", "font-size:10pt;",
                "text-align:justify;"}));
    EXPECT_EQ(PreviewBackground(), Rgb(0, 0, 128));

    // H1 has no background of its own: its preview shows the page, and a
    // colour chosen there becomes the page background.
    ClickRow(ElemList(), 1);
    EXPECT_TRUE(transparent->isEnabled());
    EXPECT_TRUE(transparent->isChecked());
    EXPECT_EQ(PreviewBackground(), Rgb(0, 0, 128));
    PickBasicColor(13); // yellow
    QTest::mouseClick(Preview(), Qt::LeftButton);
    EXPECT_EQ(prefs.BGColor, "yellow");
    EXPECT_EQ(prefs.BGSysCol, 0x00FFFF);
    EXPECT_EQ(
        RuleOf("H1"), Rule("H1", {"color:black;", "font-family:\"Arial\";", "font-size:20pt;", "text-align:center;"}));
    EXPECT_NE(RuleOf("Body").find("\tbackground:yellow;\r\n"), std::string::npos);
    EXPECT_EQ(Find<QFrame>(QStringLiteral("LinkExamplePanel"))->palette().color(QPalette::Window), Rgb(255, 255, 0));

    // H2 with the box cleared gets a background of its own; the page keeps its colour.
    ClickRow(ElemList(), 2);
    QTest::mouseClick(transparent, Qt::LeftButton);
    PickBasicColor(8); // aqua
    QTest::mouseClick(Preview(), Qt::LeftButton);
    EXPECT_EQ(prefs.BGColor, "yellow");
    EXPECT_EQ(RuleOf("H2"),
        Rule("H2",
            {"background:aqua;", "color:navy;", "font-family:\"Arial\";", "font-size:18pt;", "text-align:center;"}));

    // Leaving the picker without accepting still hands the preview's colour to
    // the element: going back to H2 shows it, and a cancel keeps it.
    ClickRow(ElemList(), 3);
    ClickRow(ElemList(), 2);
    EXPECT_EQ(PreviewBackground(), Rgb(0, 255, 255));
    CancelPicker();
    QTest::mouseClick(Preview(), Qt::LeftButton);
    EXPECT_NE(RuleOf("H2").find("\tbackground:aqua;\r\n"), std::string::npos);
    EXPECT_EQ(prefs.BGColor, "yellow");
}

TEST_F(StyleDialogTest, FontColourSizeAndFontAreCommittedAtOnce)
{
    // The Body's font colour is also the body colour.
    PickBasicColor(17); // teal
    Click(QStringLiteral("FontColorShape"));
    EXPECT_EQ(prefs.BodyColor, "teal");
    EXPECT_EQ(prefs.BodySysCol, 0x808000);
    EXPECT_EQ(Find<TColorShape>(QStringLiteral("FontColorShape"))->toolTip(), QStringLiteral("teal"));
    EXPECT_NE(RuleOf("Body").find("\tcolor:teal;\r\n"), std::string::npos);
    EXPECT_EQ(Preview()->palette().color(QPalette::WindowText), Rgb(0, 128, 128));

    // A cancelled choice changes nothing.
    ClickRow(ElemList(), 3);
    const std::string before = Sheet();
    CancelPicker();
    Click(QStringLiteral("FontColorShape"));
    EXPECT_EQ(Sheet(), before);

    // Typing a size commits each text as it stands, with the other fields.
    TypeInto(Find<QLineEdit>(QStringLiteral("PaddingEdit")), QStringLiteral("4px"));
    TypeInto(SizeCombo()->lineEdit(), QStringLiteral("13"));
    EXPECT_EQ(RuleOf("H3"),
        Rule("H3", {"padding:4px;", "color:navy;", "font-family:\"Arial\";", "font-size:13pt;", "text-align:center;"}));
    EXPECT_EQ(Preview()->font().pointSize(), 13);

    // A family typed and confirmed, then the next family of the list.
    auto* fonts = Find<TFontCombo>(QStringLiteral("FontCombo"));
    TypeInto(fonts->lineEdit(), QStringLiteral("Verdana"));
    QTest::keyClick(fonts->lineEdit(), Qt::Key_Return);
    EXPECT_NE(RuleOf("H3").find("\tfont-family:\"Verdana\";\r\n"), std::string::npos);
    EXPECT_EQ(Preview()->text(), QStringLiteral("Verdana"));
    ASSERT_GE(fonts->count(), 2);
    {
        const QSignalBlocker quiet(fonts);
        fonts->setCurrentIndex(0);
    }
    QTest::keyClick(fonts, Qt::Key_Down);
    const std::string second = ToCore(fonts->itemText(1));
    EXPECT_NE(RuleOf("H3").find("\tfont-family:\"" + second + "\";\r\n"), std::string::npos);
}

TEST_F(StyleDialogTest, ASizeIsCheckedWhenItIsCommittedNotAtEachKey)
{
    ClickRow(ElemList(), 1);
    QLineEdit* size = SizeCombo()->lineEdit();
    size->setFocus();

    // Retyping the size: the emptied field on the way asks nothing, and each
    // whole number typed is taken at once.
    size->selectAll();
    QTest::keyClick(size, Qt::Key_Backspace);
    QTest::keyClick(size, Qt::Key_3);
    QTest::keyClick(size, Qt::Key_2);
    EXPECT_EQ(prefs.StyleSpecs[1].Size, 32);
    EXPECT_NE(RuleOf("H1").find("\tfont-size:32pt;\r\n"), std::string::npos);

    // A size that is not a whole number is refused at Enter, and the field
    // shows the element's size again.
    QTest::keyClick(size, Qt::Key_X);
    EXPECT_EQ(prefs.StyleSpecs[1].SizeText, "32");
    QString error;
    AnswerErrorBox(&error);
    QTest::keyClick(size, Qt::Key_Return);
    EXPECT_EQ(error, QStringLiteral("'32x' is not a valid integer value"));
    EXPECT_EQ(size->text(), QStringLiteral("32"));
    EXPECT_EQ(prefs.StyleSpecs[1].Size, 32);
    EXPECT_EQ(RuleOf("H1").find("32x"), std::string::npos);

    // Leaving the field with a wrong size does the same; the list works at
    // the next click.
    size->setFocus();
    QTest::keyClick(size, Qt::Key_Y);
    error.clear();
    AnswerErrorBox(&error);
    ClickRow(ElemList(), 2);
    EXPECT_EQ(error, QStringLiteral("'32y' is not a valid integer value"));
    EXPECT_EQ(size->text(), QStringLiteral("32"));
    ClickRow(ElemList(), 2);
    EXPECT_EQ(Find<QLabel>(QStringLiteral("SelectorLab"))->text(), QStringLiteral("H2"));
    EXPECT_NE(RuleOf("H1").find("\tfont-size:32pt;\r\n"), std::string::npos);
}

TEST_F(StyleDialogTest, TypedMarginWaitsForTheNextCommit)
{
    const QString file = prefsDir.filePath(QStringLiteral("typed.sprf"));
    ClickRow(ElemList(), 1);
    TypeInto(Find<QLineEdit>(QStringLiteral("MarginEdit")), QStringLiteral("3%"));
    AnswerFileDialog(file);
    Click(QStringLiteral("ExportBtn"));
    QFile exported(file);
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    const QByteArray text = exported.readAll();
    EXPECT_TRUE(text.contains("StyleSpecs1=H1;white;Arial;20;2;black;0;1;;;;\r\n")) << text.toStdString();
    EXPECT_EQ(RuleOf("H1").find("margin"), std::string::npos);

    // Choosing another element takes the margin in.
    ClickRow(ElemList(), 2);
    EXPECT_EQ(RuleOf("H1"),
        Rule("H1", {"margin:3%;", "color:black;", "font-family:\"Arial\";", "font-size:20pt;", "text-align:center;"}));

    // The Body's margin is the page margin; an element with the same text
    // then needs no margin line of its own.
    ClickRow(ElemList(), 0);
    TypeInto(Find<QLineEdit>(QStringLiteral("MarginEdit")), QStringLiteral("3%"));
    ClickRow(ElemList(), 1);
    EXPECT_EQ(prefs.PMargin, "3%");
    EXPECT_NE(RuleOf("Body").find("\tmargin:3%;\r\n"), std::string::npos);
    EXPECT_EQ(RuleOf("H1").find("margin"), std::string::npos);

    // Exported now, reset, then brought back.
    const QString saved = prefsDir.filePath(QStringLiteral("saved.sprf"));
    AnswerFileDialog(saved);
    Click(QStringLiteral("ExportBtn"));
    const std::string edited = Sheet();
    Click(QStringLiteral("DefaultBtn"));
    EXPECT_EQ(ElemList()->currentRow(), 0);
    EXPECT_NE(RuleOf("Body").find("\tmargin:2%,7%;\r\n"), std::string::npos);
    AnswerFileDialog(saved);
    Click(QStringLiteral("ImportBtn"));
    EXPECT_EQ(Sheet(), edited);
    EXPECT_EQ(Find<QLineEdit>(QStringLiteral("MarginEdit"))->text(), QStringLiteral("3%"));

    // A cancelled import changes nothing.
    AnswerFileDialog({});
    Click(QStringLiteral("ImportBtn"));
    EXPECT_EQ(Sheet(), edited);
}

TEST_F(StyleDialogTest, PasteWithoutCopyTakesTheBodyStyle)
{
    ClickRow(ElemList(), 2);
    ElemMenu(2, QStringLiteral("PasteItem"));
    EXPECT_EQ(
        RuleOf("H2"), Rule("H2", {"color:black;", "font-family:\"Arial\";", "font-size:10pt;", "text-align:justify;"}));
    EXPECT_EQ(Find<QLabel>(QStringLiteral("SelectorLab"))->text(), QStringLiteral("H2"));
    EXPECT_EQ(SizeCombo()->currentText(), QStringLiteral("10"));

    // Copy H3, paste onto H4: H4 keeps its selector.
    ClickRow(ElemList(), 3);
    ElemMenu(3, QStringLiteral("CopyItem"));
    ClickRow(ElemList(), 4);
    ElemMenu(4, QStringLiteral("PasteItem"));
    EXPECT_EQ(
        RuleOf("H4"), Rule("H4", {"color:navy;", "font-family:\"Arial\";", "font-size:16pt;", "text-align:center;"}));
    EXPECT_EQ(ElemList()->currentRow(), 4);
}

TEST_F(StyleDialogTest, AlignmentIsPickedShownAndCommitted)
{
    // Justified shows centred.
    EXPECT_EQ(Preview()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    ClickRow(ElemList(), 4); // H4, left
    EXPECT_EQ(Preview()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);

    auto* align = Find<TParAlignButton>(QStringLiteral("ParAlignBtn"));
    const int s = align->width() - 24 + 4 - 32; // closed width is caption + 24
    QTest::mousePress(align, Qt::LeftButton, {}, QPoint(2, 8));
    QTest::mouseRelease(align, Qt::LeftButton, {}, QPoint(s + 56, 8));
    EXPECT_EQ(align->parIndex(), 3);
    EXPECT_EQ(RuleOf("H4").find("text-align"), std::string::npos);

    ClickRow(ElemList(), 5); // leaving H4 keeps the picked alignment
    EXPECT_NE(RuleOf("H4").find("\ttext-align:justify;\r\n"), std::string::npos);
    ClickRow(ElemList(), 4);
    EXPECT_EQ(align->parIndex(), 3);
    EXPECT_EQ(Preview()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
}

TEST_F(StyleDialogTest, LinkStatesDefaultAndExample)
{
    auto* states = Find<QListWidget>(QStringLiteral("LinkStateList"));
    ClickRow(states, 1); // actif
    PickBasicColor(14); // lime
    Click(QStringLiteral("LinkColorShape"));
    QTest::mouseClick(Find<QCheckBox>(QStringLiteral("UnderlineCheck")), Qt::LeftButton);
    ClickRow(states, 0); // lien
    PickBasicColor(12); // maroon
    Click(QStringLiteral("LinkColorShape"));
    const std::string sheet = Sheet();
    EXPECT_NE(sheet.find(LinkRule("link", "maroon", false)), std::string::npos);
    EXPECT_NE(sheet.find(LinkRule("active", "lime", true)), std::string::npos);
    EXPECT_NE(sheet.find(LinkRule("visited", "purple", false)), std::string::npos);

    // The example: link while the pointer moves over the group, active while
    // pressed, visited once released.
    auto* group = Find<QGroupBox>(QStringLiteral("LinkGroup"));
    QTest::mouseMove(group, QPoint(3, group->height() - 3));
    EXPECT_EQ(Example()->palette().color(QPalette::WindowText), Rgb(128, 0, 0));
    EXPECT_FALSE(Example()->font().underline());
    QTest::mousePress(Example(), Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_EQ(Example()->palette().color(QPalette::WindowText), Rgb(0, 255, 0));
    EXPECT_TRUE(Example()->font().underline());
    QTest::mouseRelease(Example(), Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_EQ(Example()->palette().color(QPalette::WindowText), Rgb(128, 0, 128));
    EXPECT_EQ(Example()->cursor().shape(), Qt::PointingHandCursor);

    // "Défaut", then actif and back to lien: the defaults stay.
    ClickRow(states, 1);
    Click(QStringLiteral("LinkDefaultBtn"));
    EXPECT_EQ(states->currentRow(), 0);
    ClickRow(states, 1);
    EXPECT_FALSE(Find<QCheckBox>(QStringLiteral("UnderlineCheck"))->isChecked());
    ClickRow(states, 0);
    EXPECT_EQ(Find<TColorShape>(QStringLiteral("LinkColorShape"))->toolTip(), QStringLiteral("blue"));
    EXPECT_EQ(Example()->palette().color(QPalette::WindowText), Rgb(0, 0, 255));
    EXPECT_EQ(prefs.LinkStylesToText(), "blue;16711680;0;red;255;0;purple;8388736;0;");
}

TEST_F(StyleDialogTest, EmbeddedHasNoAcceptButtonAndIgnoresEscape)
{
    QWidget page;
    page.resize(760, 470);
    TStyleDlg embedded(prefs, &page);
    embedded.SetEmbedded(true);
    embedded.setGeometry(page.rect());
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    EXPECT_FALSE(embedded.isWindow());
    EXPECT_FALSE(embedded.findChild<QPushButton*>(QStringLiteral("AcceptBtn"))->isVisible());
    QTest::keyClick(&embedded, Qt::Key_Escape);
    EXPECT_TRUE(embedded.isVisible());

    // Standalone, "Accepter" closes it.
    QTest::mouseClick(Find<QPushButton>(QStringLiteral("AcceptBtn")), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
}

// ------------------------------------------------------------ the alignment chooser

TEST(ParAlignButtonTest, PressOpensAndReleasePicksByPosition)
{
    TParAlignButton button;
    button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    EXPECT_EQ(button.caption(), QStringLiteral("Alignement: "));
    EXPECT_EQ(button.height(), 16);
    const int captionWidth = button.width() - 24;
    const int s = captionWidth + 4 - 32;

    // The left glyph right after the caption, in its ink; white stays clear.
    const QImage closed = button.grab().toImage();
    EXPECT_EQ(closed.pixelColor(captionWidth + 4 + 5, 2), Rgb(0, 0, 128));

    struct Case {
        int releaseX;
        int expected; // -1: the previous index
    };
    const Case cases[] = {{s - 3, -1}, {s, -1}, {s + 1, 0}, {s + 16, 0}, {s + 17, 1}, {s + 32, 1}, {s + 33, 2},
        {s + 48, 2}, {s + 49, 3}, {captionWidth + 37, 3}};
    for (const Case& c : cases) {
        button.setParIndex(2);
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(captionWidth + 8, 8));
        EXPECT_TRUE(button.IsOpen());
        EXPECT_EQ(button.width(), captionWidth + 38);
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(c.releaseX, 8));
        EXPECT_EQ(button.parIndex(), c.expected < 0 ? 2 : c.expected) << "release at s + " << c.releaseX - s;
        EXPECT_EQ(button.width(), captionWidth + 24);
    }
    button.setParAlignType(TParAlignButton::pAlRight);
    EXPECT_EQ(button.parIndex(), 1);
}

} // namespace
} // namespace tavimor
