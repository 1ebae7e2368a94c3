#pragma once

#include <QDialog>
#include <QUrl>

class QLabel;

namespace xemap {

class Prompter;

// The About box: picture, version and credits, and a link to the web page.
class TXEAbout : public QDialog {
public:
    // The picture is read once, from "XEMAP.BMP" in the program folder.
    explicit TXEAbout(const QString& programDirectory);

    // Placed beside the main window's top-left corner and shown modally.
    void ShowModal(Prompter& prompter, const QWidget& mainWindow);
    // Opens the web page in the desktop's browser.
    void Label4Click();
    static QUrl webAddress();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* Label4 = nullptr;
};

}  // namespace xemap
