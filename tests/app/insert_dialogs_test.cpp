// The image and link insertion dialogs, run modally on pictures and pages
// written into a temporary folder and driven with real clicks and keys.
#include "app/ImageDialog.h"
#include "app/LinkDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

static void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace tavimor {
namespace {

using Drive = std::function<void(QWidget& modal)>;

// Calls open, which runs a modal dialog; once the dialog's loop runs, drive
// gets it and must close it. A dialog still open after twenty seconds is
// rejected, so that a failing check cannot hang the program.
void WithModal(const Drive& drive, const std::function<void()>& open)
{
    bool driven = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(modal));
        driven = true;
        drive(*modal);
    });
    // A dialog the drive could not close is closed after 20 s, and again
    // every 20 s, whichever window is active, so that the test fails and
    // goes on rather than waits for ever.
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        ADD_FAILURE() << "a dialog was still open after 20 s";
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible())
                dialog->reject();
    });
    watchdog.start(20000);
    open();
    EXPECT_TRUE(driven);
}

template <class T> T& Find(QWidget& parent, const char* name)
{
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    if (!child)
        throw std::runtime_error(std::string("no control ") + name);
    return *child;
}

void Click(QWidget& parent, const char* name)
{
    QTest::mouseClick(&Find<QAbstractButton>(parent, name), Qt::LeftButton);
}

// Replaces the text of a field by typing.
void Retype(QLineEdit& field, const QString& text)
{
    field.setFocus();
    QTest::keyClick(&field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&field, Qt::Key_Delete);
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(&field, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, &field, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// The rows of a file list once the model has loaded at least count of them.
QStringList Rows(const QAbstractItemView& view, int count)
{
    const QModelIndex root = view.rootIndex();
    static_cast<void>(QTest::qWaitFor([&] { return view.model()->rowCount(root) >= count; }));
    QStringList rows;
    for (int row = 0; row < view.model()->rowCount(root); ++row)
        rows << view.model()->index(row, 0, root).data().toString();
    rows.sort();
    return rows;
}

void ClickFile(QWidget& form, const QString& name)
{
    auto& view = Find<QListView>(form, "FileList");
    QModelIndex index;
    const bool listed = QTest::qWaitFor([&] {
        const QModelIndex root = view.rootIndex();
        for (int row = 0; row < view.model()->rowCount(root); ++row) {
            index = view.model()->index(row, 0, root);
            if (index.data().toString() == name) {
                view.scrollTo(index);
                return !view.visualRect(index).isEmpty();
            }
        }
        return false;
    });
    ASSERT_TRUE(listed) << name.toStdString();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(index).center());
}

void ClickFolder(QWidget& form, const QString& path)
{
    auto& tree = Find<QTreeView>(form, "DirList");
    auto* model = qobject_cast<QFileSystemModel*>(tree.model());
    ASSERT_NE(model, nullptr);
    QModelIndex index;
    const bool shown = QTest::qWaitFor([&] {
        index = model->index(path);
        tree.scrollTo(index);
        return index.isValid() && !tree.visualRect(index).isEmpty();
    });
    ASSERT_TRUE(shown) << path.toStdString();
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualRect(index).center());
}

// A GIF of solid frames, one colour index each (0 red, 1 blue, 2 green).
// Its LZW data repeats a clear code every two pixels, so every code keeps
// three bits.
QByteArray SolidGif(int width, int height, const std::vector<int>& frames)
{
    QByteArray gif("GIF89a");
    const auto word = [&gif](int value) {
        gif.append(char(value & 0xFF));
        gif.append(char(value >> 8));
    };
    word(width);
    word(height);
    gif.append("\x91\x00\x00", 3); // global table of four colours
    gif.append("\xFF\x00\x00\x00\x00\xFF\x00\xFF\x00\xFF\xFF\xFF", 12);
    for (const int colour : frames) {
        gif.append("\x21\xF9\x04\x00\x0A\x00\x00\x00", 8); // a tenth of a second each
        gif.append(',');
        word(0);
        word(0);
        word(width);
        word(height);
        gif.append('\0');
        gif.append('\x02'); // minimum code size
        QByteArray data;
        unsigned bits = 0;
        int count = 0;
        const auto code = [&](unsigned value) {
            bits |= value << count;
            count += 3;
            while (count >= 8) {
                data.append(char(bits & 0xFF));
                bits >>= 8;
                count -= 8;
            }
        };
        for (int pixel = 0; pixel < width * height; ++pixel) {
            if (pixel % 2 == 0)
                code(4);
            code(unsigned(colour));
        }
        code(5);
        if (count > 0)
            data.append(char(bits & 0xFF));
        for (qsizetype at = 0; at < data.size(); at += 255) {
            const QByteArray block = data.mid(at, 255);
            gif.append(char(block.size()));
            gif.append(block);
        }
        gif.append('\0');
    }
    gif.append(';');
    return gif;
}

class InsertDialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(temp_.isValid());
        const QDir root(temp_.path());
        for (const char* folder : {"site/img", "pics", "pages", "desk"})
            ASSERT_TRUE(root.mkpath(QString::fromLatin1(folder)));
        Write(QStringLiteral("site/small.gif"), SolidGif(30, 20, {0, 1}));
        Write(QStringLiteral("site/img/logo.gif"), SolidGif(60, 40, {2}));
        Write(QStringLiteral("site/notes.txt"), "pas une image");
        QImage wide(600, 300, QImage::Format_RGB32);
        wide.fill(Qt::blue);
        ASSERT_TRUE(wide.save(Path(QStringLiteral("pics/wide.jpg")), "JPG"));
        QImage tall(100, 400, QImage::Format_RGB32);
        tall.fill(Qt::green);
        ASSERT_TRUE(tall.save(Path(QStringLiteral("pics/TALL.JPG")), "JPG"));
        Write(QStringLiteral("pics/faux.jpg"), "pas une image");
        for (const char* page : {"pages/plan.htm", "pages/notes.html", "pages/lisez.txt"})
            Write(QString::fromLatin1(page), "<HTML></HTML>");
    }

    QString Path(const QString& relative) const { return QDir(temp_.path()).filePath(relative); }
    QString Folder(const QString& relative) const { return Path(relative) + u'/'; }

    void Write(const QString& relative, const QByteArray& bytes) const
    {
        QFile file(Path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir temp_;
};

TEST_F(InsertDialogsTest, ImageTagFromPicturesBelowAndInTheStartFolder)
{
    THImgDlg images;
    std::optional<QString> tag;
    WithModal(
        [&](QWidget& form) {
            EXPECT_EQ(form.windowTitle(), QStringLiteral("Image..."));
            EXPECT_EQ(
                Find<QLabel>(form, "DetailLab").text(), QStringLiteral("FilePath=") + Folder(QStringLiteral("site")));
            ClickFolder(form, Path(QStringLiteral("site/img")));
            ClickFile(form, QStringLiteral("logo.gif"));
            EXPECT_EQ(Find<QLineEdit>(form, "NameEdit").text(), QStringLiteral("logo.gif"));
            EXPECT_EQ(Find<QLineEdit>(form, "WidthEdit").text(), QStringLiteral("60"));
            EXPECT_EQ(Find<QLineEdit>(form, "HeightEdit").text(), QStringLiteral("40"));
            EXPECT_EQ(Find<QLabel>(form, "DetailLab").text(),
                QStringLiteral("ImgPath=") + Folder(QStringLiteral("site/img")) + QStringLiteral("\nFilePath=")
                    + Folder(QStringLiteral("site")) + QStringLiteral("\nRelImgPath=img/"));
            Click(form, "BorderCheck");
            Retype(Find<QLineEdit>(form, "WidthEdit"), QStringLiteral("40"));
            Retype(Find<QLineEdit>(form, "HeightEdit"), QString());
            Click(form, "AlignLeft");
            Click(form, "OkBtn");
        },
        [&] { tag = images.Pick(Folder(QStringLiteral("site")), QStringLiteral("../")); });
    EXPECT_EQ(tag, QStringLiteral("<IMG SRC=\"../img/logo.gif\" BORDER=1 WIDTH=40 ALIGN=LEFT>"));

    // Reopened: the earlier frame, size and alignment, no name and no ALT. A
    // picture of the start folder itself, after one elsewhere, has no path.
    WithModal(
        [&](QWidget& form) {
            EXPECT_TRUE(Find<QCheckBox>(form, "BorderCheck").isChecked());
            EXPECT_EQ(Find<QLineEdit>(form, "WidthEdit").text(), QStringLiteral("40"));
            EXPECT_EQ(Find<QLineEdit>(form, "HeightEdit").text(), QString());
            EXPECT_TRUE(Find<QRadioButton>(form, "AlignLeft").isChecked());
            EXPECT_EQ(Find<QLineEdit>(form, "NameEdit").text(), QString());
            EXPECT_EQ(Find<QLineEdit>(form, "AltEdit").text(), QString());
            ClickFolder(form, Path(QStringLiteral("site/img")));
            ClickFile(form, QStringLiteral("logo.gif"));
            ClickFolder(form, Path(QStringLiteral("site")));
            // The list follows the folder once its model has read it.
            const QStringList startFolder {QStringLiteral("small.gif")};
            const auto& files = Find<QListView>(form, "FileList");
            static_cast<void>(QTest::qWaitFor([&] { return Rows(files, 1) == startFolder; }));
            EXPECT_EQ(Rows(files, 1), startFolder);
            ClickFile(form, QStringLiteral("small.gif"));
            EXPECT_TRUE(Find<QLabel>(form, "DetailLab").text().endsWith(QStringLiteral("\nRelImgPath=")));
            Click(form, "BorderCheck");
            Click(form, "AlignNone");
            auto& alt = Find<QLineEdit>(form, "AltEdit");
            Retype(alt, QStringLiteral("Un été"));
            QTest::keyClick(&alt, Qt::Key_Return);
        },
        [&] { tag = images.Pick(Folder(QStringLiteral("site")), QStringLiteral("../")); });
    EXPECT_EQ(tag, QStringLiteral("<IMG SRC=\"../small.gif\" BORDER=0 WIDTH=30 HEIGHT=20 ALT=\"Un été\">"));
    EXPECT_EQ(images.fileName, Path(QStringLiteral("site/small.gif")));

    // Cancelled: no tag, and the last one is kept.
    WithModal([](QWidget& form) { QTest::keyClick(&form, Qt::Key_Escape); },
        [&] { tag = images.Pick(Folder(QStringLiteral("site")), QStringLiteral("../")); });
    EXPECT_FALSE(tag.has_value());
    EXPECT_EQ(images.ImgTag, QStringLiteral("<IMG SRC=\"../small.gif\" BORDER=0 WIDTH=30 HEIGHT=20 ALT=\"Un été\">"));
}

TEST_F(InsertDialogsTest, PreviewScalesLargePicturesDownKeepingProportions)
{
    THImgDlg images;
    WithModal(
        [&](QWidget& form) {
            const auto previewSize = [&form] { return Find<QLabel>(form, "ImgPreview").pixmap().size(); };
            ClickFolder(form, Path(QStringLiteral("pics")));
            ClickFile(form, QStringLiteral("wide.jpg"));
            EXPECT_EQ(Find<QLineEdit>(form, "WidthEdit").text(), QStringLiteral("600"));
            EXPECT_EQ(Find<QLineEdit>(form, "HeightEdit").text(), QStringLiteral("300"));
            EXPECT_EQ(previewSize().width(), 149);
            EXPECT_NEAR(previewSize().height(), 74.5, 0.5);
            EXPECT_TRUE(Find<QLabel>(form, "DetailLab").text().endsWith(QStringLiteral("\nRelImgPath=../pics/")));

            // The mask ignores case; a picture too high is bounded by the height.
            ClickFile(form, QStringLiteral("TALL.JPG"));
            EXPECT_EQ(previewSize().height(), 122);
            EXPECT_NEAR(previewSize().width(), 30.5, 0.5);

            // A file that is no picture: its error is shown and the form stays open.
            QString error;
            QTimer::singleShot(0, [&error] {
                QWidget* box = QApplication::activeModalWidget();
                ASSERT_NE(box, nullptr);
                EXPECT_EQ(box->objectName(), QStringLiteral("ErrorBox"));
                error = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->text();
                QTest::keyClick(box, Qt::Key_Return);
            });
            ClickFile(form, QStringLiteral("faux.jpg"));
            EXPECT_FALSE(error.isEmpty());
            EXPECT_EQ(QApplication::activeModalWidget(), &form);
            EXPECT_EQ(Find<QLineEdit>(form, "NameEdit").text(), QStringLiteral("faux.jpg"));
            EXPECT_TRUE(Find<QLabel>(form, "ImgPreview").pixmap().isNull());

            // A small picture keeps its size; an animated GIF shows its first (red) frame.
            ClickFolder(form, Path(QStringLiteral("site")));
            ClickFile(form, QStringLiteral("small.gif"));
            const QPixmap shown = Find<QLabel>(form, "ImgPreview").pixmap();
            EXPECT_EQ(shown.size(), QSize(30, 20));
            EXPECT_EQ(shown.toImage().pixelColor(15, 10), QColor(Qt::red));
            Click(form, "OkBtn");
        },
        [&] { images.Pick(Folder(QStringLiteral("site")), QStringLiteral("../")); });
    EXPECT_EQ(images.ImgTag, QStringLiteral("<IMG SRC=\"../small.gif\" BORDER=0 WIDTH=30 HEIGHT=20>"));
}

TEST_F(InsertDialogsTest, AttachedFileCaptionsRoundTripThroughTheLinkDialog)
{
    const TAttachedFileCaptions fresh {QStringLiteral("voir le fichier: "), QStringLiteral("nom du fichier...")};
    QString linkFolder = Folder(QStringLiteral("pages"));
    TAttachedFileCaptions captions;

    // Cancelled: only the proposed link text joins the check box caption.
    WithModal(
        [&](QWidget& form) {
            EXPECT_EQ(form.windowTitle(), QStringLiteral("Associer un fichier HTML externe"));
            EXPECT_EQ(Find<QLineEdit>(form, "LinkEdit").text(), QStringLiteral("nom_du_lien"));
            EXPECT_EQ(Find<QLineEdit>(form, "FileEdit").text(), QStringLiteral("nom du fichier..."));
            QTest::keyClick(&form, Qt::Key_Escape);
        },
        [&] { captions = ChooseAttachedFile(nullptr, fresh, linkFolder, {}); });
    EXPECT_EQ(captions.CheckCaption, QStringLiteral("voir le fichier: |nom_du_lien"));
    EXPECT_EQ(captions.ButtonCaption, fresh.ButtonCaption);
    EXPECT_EQ(linkFolder, Folder(QStringLiteral("pages")));

    WithModal(
        [&](QWidget& form) {
            auto& file = Find<QLineEdit>(form, "FileEdit");
            auto& address = Find<QLabel>(form, "AddressLab");
            EXPECT_TRUE(Find<QCheckBox>(form, "RelCheck").isChecked());
            EXPECT_EQ(address.text(), QStringLiteral("\"nom du fichier...\""));
            EXPECT_EQ(Rows(Find<QListView>(form, "FileList"), 2),
                (QStringList {QStringLiteral("notes.html"), QStringLiteral("plan.htm")}));
            ClickFile(form, QStringLiteral("plan.htm"));
            EXPECT_EQ(file.text(), QStringLiteral("plan.htm"));
            Click(form, "RelCheck");
            EXPECT_EQ(file.text(), Path(QStringLiteral("pages/plan.htm")));
            EXPECT_EQ(address.text(), QStringLiteral("\"") + Path(QStringLiteral("pages/plan.htm")) + u'"');
            Click(form, "RelCheck");
            EXPECT_EQ(file.text(), QStringLiteral("plan.htm"));
            Retype(*Find<QComboBox>(form, "TargetCombo").lineEdit(), QStringLiteral("main"));
            EXPECT_EQ(address.text(), QStringLiteral("\"plan.htm\" TARGET=\"main\""));
            Retype(Find<QLineEdit>(form, "LinkEdit"), QStringLiteral(" Plan "));
            Click(form, "OkBtn");
        },
        [&] { captions = ChooseAttachedFile(nullptr, captions, linkFolder, {}); });
    EXPECT_EQ(captions.CheckCaption, QStringLiteral("voir le fichier: |Plan"));
    EXPECT_EQ(captions.ButtonCaption, QStringLiteral("\"plan.htm\" TARGET=\"main\""));
    EXPECT_EQ(linkFolder, Path(QStringLiteral("pages")));

    // Opened again from these captions: the same file, target and label.
    WithModal(
        [&](QWidget& form) {
            EXPECT_EQ(Find<QLineEdit>(form, "FileEdit").text(), QStringLiteral("plan.htm"));
            EXPECT_EQ(Find<QComboBox>(form, "TargetCombo").currentText(), QStringLiteral("main"));
            EXPECT_EQ(Find<QLineEdit>(form, "LinkEdit").text(), QStringLiteral("Plan"));
            Click(form, "OkBtn");
        },
        [&] { captions = ChooseAttachedFile(nullptr, captions, linkFolder, {}); });
    EXPECT_EQ(captions.CheckCaption, QStringLiteral("voir le fichier: |Plan"));
    EXPECT_EQ(captions.ButtonCaption, QStringLiteral("\"plan.htm\" TARGET=\"main\""));
}

TEST_F(InsertDialogsTest, LinkDialogDesktopButtonAndTargets)
{
    EXPECT_EQ(THRefDlgFrm(QStringList {QStringLiteral("haut")}).target(), QStringLiteral("haut"));

    THRefDlgFrm dialog;
    dialog.setDesktopFolders({Path(QStringLiteral("absent")), Path(QStringLiteral("desk"))});
    dialog.setFolder(Path(QStringLiteral("pages")));
    int result = -1;
    WithModal(
        [&](QWidget& form) {
            EXPECT_EQ(Find<QComboBox>(form, "TargetCombo").currentText(), QStringLiteral("main"));
            auto& desk = Find<QPushButton>(form, "DeskBtn");
            EXPECT_EQ(desk.text(), QStringLiteral("Bur."));
            QTest::mouseClick(&desk, Qt::LeftButton);
            EXPECT_EQ(desk.text(), QStringLiteral("<->"));
            EXPECT_EQ(dialog.folder(), Path(QStringLiteral("desk")));
            ClickFolder(form, Path(QStringLiteral("pics")));
            QTest::mouseClick(&desk, Qt::LeftButton);
            EXPECT_EQ(desk.text(), QStringLiteral("Bur."));
            EXPECT_EQ(dialog.folder(), Path(QStringLiteral("pages")));

            // No target, no TARGET part.
            Retype(*Find<QComboBox>(form, "TargetCombo").lineEdit(), QString());
            Retype(Find<QLineEdit>(form, "FileEdit"), QStringLiteral("page2.htm"));
            EXPECT_EQ(Find<QLabel>(form, "AddressLab").text(), QStringLiteral("\"page2.htm\""));
            Click(form, "OkBtn");
        },
        [&] { result = dialog.exec(); });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dialog.address(), QStringLiteral("\"page2.htm\""));
}

} // namespace
} // namespace tavimor
