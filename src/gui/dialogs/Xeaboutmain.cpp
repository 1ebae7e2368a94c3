#include "gui/dialogs/Xeaboutmain.h"

#include "gui/dialogs/Prompter.h"
#include "render/ImageFile.h"

#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>

namespace xemap {

namespace {

constexpr int kWidth = 512;
constexpr int kHeight = 456;
constexpr int kPictureHeight = 208;
constexpr qint64 kLargestPicturePixels = 2048 * 2048;
constexpr QPoint kOffsetFromMainWindow{200, 200};
constexpr const char* kWebAddress = "https://www.example.org/xemap/";

struct AboutLine {
    const char* name;
    const char* text;
    int left;
    int top;
    bool heading;
};

constexpr AboutLine kLines[] = {
    {"Label5", "Code:", 24, 220, true},
    {"Label1", "The XEMap developers", 160, 220, false},
    {"Label6", "Art:", 24, 248, true},
    {"Label8", "Tilesets and picture drawn by xemap-artgen", 160, 248, false},
    {"Label7", "Special Thanks:", 24, 276, true},
    {"Label9", "Everyone who drew maps with XEMap", 160, 276, false},
    {"Label10", "and sent in their faults and wishes,", 160, 296, false},
    {"Label11", "the Qt project for the toolkit,", 160, 316, false},
    {"Label12", "and the players who explored the maps.", 160, 336, false},
    {"Label3", "Questions and maps are welcome on the web page:", 24, 368, false},
};

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, QPoint at, const QColor& colour, bool bold)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->move(at);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    QFont font = label->font();
    font.setBold(bold);
    label->setFont(font);
    label->adjustSize();
    return label;
}

}  // namespace

TXEAbout::TXEAbout(const QString& programDirectory)
{
    setObjectName("XEAbout");
    setWindowTitle("About XEMap");
    setFixedSize(kWidth, kHeight);
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::black);
    setPalette(background);

    auto* image = new QLabel(this);
    image->setObjectName("Image1");
    image->setGeometry(0, 0, kWidth, kPictureHeight);
    // Read like every file (a pipe named XEMAP.BMP is refused at once); without it the box shows the name.
    const auto picture = readImageFile(QDir(programDirectory).filePath("XEMAP.BMP").toStdString(), kAboutPictureLimit,
                                       kLargestPicturePixels);
    if (!picture) {
        image->setText("XEMap");
        image->setAlignment(Qt::AlignCenter);
        QFont font = image->font();
        font.setPixelSize(64);
        font.setBold(true);
        image->setFont(font);
        QPalette palette = image->palette();
        palette.setColor(QPalette::WindowText, Qt::white);
        image->setPalette(palette);
    } else {
        image->setPixmap(QPixmap::fromImage(*picture));
    }

    QLabel* version = addLabel(this, "Label2", "v. 1.21", {}, Qt::white, true);
    version->move(kWidth - version->width() - 12, 8);
    for (const AboutLine& line : kLines)
        addLabel(this, line.name, line.text, {line.left, line.top}, line.heading ? Qt::yellow : Qt::white,
                 line.heading);

    Label4 = addLabel(this, "Label4", kWebAddress, {24, 390}, QColor(110, 170, 255), false);
    QFont linkFont = Label4->font();
    linkFont.setUnderline(true);
    Label4->setFont(linkFont);
    Label4->adjustSize();
    Label4->setCursor(Qt::PointingHandCursor);
    Label4->installEventFilter(this);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("Button1");
    ok->setGeometry((kWidth - 75) / 2, kHeight - 25 - 12, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

QUrl TXEAbout::webAddress() { return QUrl(kWebAddress); }

void TXEAbout::ShowModal(Prompter& prompter, const QWidget& mainWindow)
{
    move(mainWindow.pos() + kOffsetFromMainWindow);
    prompter.exec(*this);
}

void TXEAbout::Label4Click() { QDesktopServices::openUrl(webAddress()); }

bool TXEAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label4 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Label4Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace xemap
