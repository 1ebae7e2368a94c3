#include "gui/dialogs/Commandsformmain.h"

#include <QDesktopServices>
#include <QDir>
#include <QFontDatabase>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QUrl>

namespace xemap {

const std::array<CommandHelpRow, 25> kCommandHelpRows{{
    {"Select a tile in the palette window", "[Left-click]"},
    {"Paint selected tile in the map", "[Left-click]"},
    {"Rotate tile counterclockwise", R"([Shift + Left-click]    or  "<"  or  ",")"},
    {"Rotate tile clockwise", R"([Shift + Right-click]  or  ">"  or  ".")"},
    {"Zoom out", R"([Zoom out button]   or  "-"   or  "_")"},
    {"Zoom in", R"([Zoom in button]     or  "="  or  "+")"},
    {"Select tile under map cursor", "[Spacebar]"},
    {"Open Describe Tile Window", R"("t" or "T" or Popup Menu)"},
    {"Open Doors Window", R"("d" or "D" or Popup Menu)"},
    {"Toggle size of palette window", R"("s"  or  "S")"},
    {"Hide/Show palette window", R"("h"  or  "H")"},
    {"Toggle North door", "NUMPAD 8"},
    {"Toggle East door", "NUMPAD 6"},
    {"Toggle South door", "NUMPAD 2"},
    {"Toggle West door", "NUMPAD 4"},
    {"Toggle Center door", "NUMPAD 5"},
    {"Scroll map", "Arrow keys"},
    {"Hide/Show Grid Lines", "[Ctrl] + G"},
    {"Hide/Show Doors", "[Ctrl] + D"},
    {"Hide/Show Labels", "[Ctrl] + L"},
    {"Undo", "[Ctrl] + Z"},
    {"Redo", "[Ctrl] + R"},
    {"Cut selection", "[Ctrl] + X"},
    {"Copy selection", "[Ctrl] + C"},
    {"Paste selection", "[Ctrl] + V"},
}};

namespace {

QString columnText(std::string_view CommandHelpRow::*column)
{
    QStringList lines;
    for (const CommandHelpRow& row : kCommandHelpRows)
        lines << QString::fromUtf8(row.*column);
    return lines.join('\n');
}

// Both columns use one fixed-pitch font so that their rows stay side by side.
QPlainTextEdit* addColumn(QWidget* parent, const char* name, const QString& text, QRect place)
{
    auto* memo = new QPlainTextEdit(text, parent);
    memo->setObjectName(name);
    memo->setGeometry(place);
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(11);
    memo->setFont(font);
    return memo;
}

}  // namespace

TCommandsForm::TCommandsForm(const QString& manualPath, QWidget* owner)
    : QWidget(owner, Qt::Window), manualPath_(manualPath)
{
    setObjectName("CommandsForm");
    setWindowTitle("Commands");
    setFixedSize(558, 496);

    addColumn(this, "Memo1", columnText(&CommandHelpRow::command), {8, 8, 244, 420});
    addColumn(this, "Memo2", columnText(&CommandHelpRow::binding), {256, 8, 294, 420});
    Label1 = new QLabel("See manual.html for more information", this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(8, 434, 542, 18);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setToolTip(QDir::toNativeSeparators(manualPath_));
    Label1->setCursor(Qt::PointingHandCursor);
    Label1->installEventFilter(this);
    auto* hide = new QPushButton("Hide", this);
    hide->setObjectName("Button1");
    hide->setGeometry(241, 460, 75, 25);
    connect(hide, &QPushButton::clicked, this, &QWidget::hide);
}

void TCommandsForm::Label1Click() { QDesktopServices::openUrl(QUrl::fromLocalFile(manualPath_)); }

bool TCommandsForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label1 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Label1Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace xemap
