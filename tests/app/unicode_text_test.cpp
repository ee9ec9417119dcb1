// Characters that the document's code page lacks (π, ≤, Greek, Cyrillic, an
// emoji) typed in the real editor: shown again as typed, kept in the file as
// HTML character references, shown as themselves by every page and export.
#include "main_window_helpers.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

namespace tavimor::testing {
namespace {

const QString kBeyond = QStringLiteral(" \u03C0 \u2264 \u221A \u2248 \u2192 \u03B1\u03B2 \u0416\u0436 \U0001F600");
// The same characters as the core keeps them.
const std::string kReferences = " &#960; &#8804; &#8730; &#8776; &#8594; &#945;&#946; &#1046;&#1078; &#128512;";

// Types text as a keyboard does, character by character, including those
// that QTest::keyClicks cannot send (beyond Latin-1): a key event carrying
// the character, as a keyboard layout or a compose key gives it.
void TypeText(QWidget& widget, const QString& text)
{
    widget.setFocus();
    for (const char32_t cp : text.toUcs4()) {
        const QString character = QString::fromUcs4(&cp, 1);
        if (cp < 0x80)
            QTest::keyClicks(&widget, character);
        else
            QTest::sendKeyEvent(QTest::Click, &widget, Qt::Key_unknown, character, Qt::NoModifier);
    }
}

void AppendTyped(QPlainTextEdit& edit, const QString& text)
{
    edit.setFocus();
    edit.moveCursor(QTextCursor::End);
    TypeText(edit, text);
}

void ReplaceTyped(QLineEdit& edit, const QString& text)
{
    edit.setFocus();
    edit.selectAll();
    TypeText(edit, text);
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(MainWindowTest, CharactersBeyondTheCodePageComeBackAsTypedAndReachEveryOutput)
{
    WriteSettingsFile();
    const QString path = Path(QStringLiteral("quiz.kwz"));
    WriteDocument(path, Numbered(2));
    TMain& window = StartOn(path);

    ReplaceTyped(*Find<QLineEdit>("ProfNameEd"), QStringLiteral("Mme \u0394elta"));
    ClickMainTab(TMain::kQuestionsTab);
    auto* list = Find<QListWidget>("MainQListBox");
    ClickLine(*list, 0);
    AppendTyped(*Find<QPlainTextEdit>("QuestEdit"), kBeyond);
    ClickLine(*list, 1);
    ClickLine(*list, 0);
    EXPECT_EQ(Find<QPlainTextEdit>("QuestEdit")->toPlainText(), QStringLiteral("Q1") + kBeyond);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("1.Q1") + kBeyond);
    EXPECT_EQ(window.Document().Quests.GetQText(0), "Q1" + kReferences);
    ClickMainTab(TMain::kMessagesTab);
    ReplaceTyped(*Find<QLineEdit>("TitleEd"), QStringLiteral("Le nombre \u03C0"));

    PressKey(Qt::Key_S, Qt::ControlModifier);
    const TQuizDocument saved = Reload(path);
    EXPECT_EQ(saved.Quests.GetQText(0), "Q1" + kReferences);
    EXPECT_EQ(saved.Pages.GetTitle(0), "Le nombre &#960;");
    EXPECT_EQ(saved.Header.AuthorName, "Mme &#916;elta");

    // Opened again in a new editor: the teacher sees the characters, not their references.
    window_.reset();
    StartOn(path);
    EXPECT_EQ(Find<QLineEdit>("ProfNameEd")->text(), QStringLiteral("Mme \u0394elta"));
    ClickMainTab(TMain::kQuestionsTab);
    EXPECT_EQ(Find<QPlainTextEdit>("QuestEdit")->toPlainText(), QStringLiteral("Q1") + kBeyond);
    ClickMainTab(TMain::kMessagesTab);
    EXPECT_EQ(Find<QLineEdit>("TitleEd")->text(), QStringLiteral("Le nombre \u03C0"));
    EXPECT_FALSE(Window().IsModified());

    // The site (F8) carries the references, which a browser shows as the characters.
    {
        ModalAnswerer answerer;
        PressKey(Qt::Key_F8);
    }
    EXPECT_TRUE(
        FileBytes(Path(QStringLiteral("quiz/hPages/quiz.js"))).contains(QByteArray::fromStdString(kReferences)));

    // The GIFT export, a UTF-8 file, writes the characters themselves.
    const QString gift = Path(QStringLiteral("quiz.gift"));
    ModalAnswerer answerer;
    answerer.Then(ChooseFile(gift));
    answerer.Then(ClickButton(QStringLiteral("OK")));
    Find<QAction>("mExportGift")->trigger();
    WaitAnswered(answerer);
    const QString exported = QString::fromUtf8(FileBytes(gift));
    EXPECT_TRUE(exported.contains(QStringLiteral("Q1") + kBeyond)) << exported.toStdString();
    EXPECT_FALSE(exported.contains(QStringLiteral("&#"))) << exported.toStdString();
}

} // namespace
} // namespace tavimor::testing
