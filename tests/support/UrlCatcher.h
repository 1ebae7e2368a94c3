#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

namespace xemap::testing {

// Stands in for the web browser: install it with QDesktopServices::setUrlHandler
// (slot "open") and it keeps the addresses the program asked to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened << url; }
};

}  // namespace xemap::testing
