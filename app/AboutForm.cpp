#include "app/AboutForm.h"

#include "resources/EmbeddedGifs.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QTimer>

namespace tavimor {

namespace {

constexpr int kWidth = 256;
constexpr int kHeight = 107;
constexpr int kInset = 4;

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, const QRect& geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    return label;
}

// The program's picture: the quiz image of the produced sites.
QPixmap ProgramPicture()
{
    QPixmap picture;
    if (const auto bytes = EmbeddedGifs().Find("KWZ"))
        picture.loadFromData(reinterpret_cast<const uchar*>(bytes->data()), static_cast<uint>(bytes->size()), "GIF");
    return picture;
}

} // namespace

TAboutFrm::TAboutFrm(QWidget* parent, int tickMs)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , timer_(new QTimer(this))
{
    setObjectName(QStringLiteral("AboutFrm"));
    // Frameless, it shows no title: a screen reader still says what it is.
    setAccessibleName(QStringLiteral("À propos"));
    setFixedSize(kWidth, kHeight);
    setAutoFillBackground(true);
    QPalette navy = palette();
    navy.setColor(QPalette::Window, QColor(0, 0, 128));
    setPalette(navy);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("AboutPanel"));
    panel->setGeometry(kInset, kInset, kWidth - 2 * kInset, kHeight - 2 * kInset);
    panel->setAutoFillBackground(true);
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    panel->setPalette(white);

    QLabel* icon = MakeLabel(panel, QStringLiteral("ProgramIcon"), QString(), QRect(8, 8, 40, 40));
    const QPixmap picture = ProgramPicture();
    if (!picture.isNull())
        icon->setPixmap(picture.scaled(40, 40, Qt::KeepAspectRatio, Qt::SmoothTransformation));

    QLabel* title
        = MakeLabel(panel, QStringLiteral("ProductName"), QStringLiteral("Éditeur KWZ"), QRect(56, 8, 188, 22));
    QFont titleFont(QStringLiteral("Arial"), 12, QFont::Bold);
    title->setFont(titleFont);
    title->setStyleSheet(QStringLiteral("color: navy;"));

    QLabel* version
        = MakeLabel(panel, QStringLiteral("Version"), QStringLiteral("version 2.71"), QRect(56, 32, 188, 16));
    version->setAlignment(Qt::AlignHCenter);
    QLabel* revision
        = MakeLabel(panel, QStringLiteral("Revision"), QStringLiteral(" 02.10.22"), QRect(56, 48, 188, 16));
    revision->setAlignment(Qt::AlignHCenter);

    QFont small(QStringLiteral("Arial"), 7);
    const QString green = QStringLiteral("color: green;");
    QLabel* contact1 = MakeLabel(panel, QStringLiteral("Contact1"),
        QStringLiteral("Éditeur de questionnaires à choix multiples"), QRect(8, 68, 232, 13));
    QLabel* contact2 = MakeLabel(panel, QStringLiteral("Contact2"),
        QStringLiteral("Remarques et suggestions : voir le fichier README"), QRect(8, 82, 232, 13));
    for (QLabel* line : {contact1, contact2}) {
        line->setFont(small);
        line->setStyleSheet(green);
    }

    timer_->setInterval(tickMs);
    connect(timer_, &QTimer::timeout, this, &TAboutFrm::Tick);
    timer_->start();
}

void TAboutFrm::Tick()
{
    ++ticks_;
    if (ticks_ > kLastTick) {
        timer_->stop();
        accept();
    }
}

// The labels and the panel leave their presses to the box, so a click
// anywhere on it lands here.
void TAboutFrm::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    timer_->stop();
    accept();
}

} // namespace tavimor
