#include "support/MainWindowTestSupport.h"
#include "support/WindowTest.h"

#include <cups/cups.h>
#include <unistd.h>

using namespace xemap;
using namespace xemap::testing;

namespace {

constexpr int kSpoolTimeoutMs = 90'000;

// A tool's exit code (-1 when it crashed or ran too long) and what it printed.
std::pair<int, QString> runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(kSpoolTimeoutMs) || process.exitStatus() != QProcess::NormalExit)
        return {-1, {}};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput())};
}
QString toolOutput(const QString& program, const QStringList& arguments) { return runTool(program, arguments).second; }

void writeText(const QString& path, const QString& text) { writeBytes(path.toStdString(), text.toStdString()); }

// A CUPS daemon of the test's own, with a cups-pdf queue as its default printer. It
// listens only on a socket in its temporary folder, which this process is pointed at;
// the queue writes its PDFs into outputFolder().
class PdfSpooler {
public:
    static constexpr const char* kQueue = "XEMapPDF";

    // Empty when the spooler runs; otherwise why it could not be started.
    QString start()
    {
        if (geteuid() != 0)
            return "the CUPS daemon needs the superuser; run the tests as root (as CI does) to print for real";
        const QString ppd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
        for (const QString& needed :
             {QString("/usr/sbin/cupsd"), QString("/usr/bin/pdffonts"), ppd, QString("/usr/lib/cups/backend/cups-pdf")})
            if (!QFile::exists(needed))
                return needed + " is missing: make deps installs it";
        for (const char* folder : {"server", "spool/tmp", "cache", "state", "log", "out"})
            QDir(root_.path()).mkpath(folder);
        writeText(path("cupsd.conf"),
                  QString("Listen %1\nLogLevel warn\nWebInterface No\nBrowsing No\n<Location />\n"
                          "Order allow,deny\nAllow all\n</Location>\n<Policy default>\n<Limit All>\n"
                          "Order deny,allow\n</Limit>\n</Policy>\n")
                      .arg(socket()));
        writeText(path("cups-files.conf"),
                  QString("ServerRoot %1/server\nRequestRoot %1/spool\nTempDir %1/spool/tmp\nCacheDir %1/cache\n"
                          "StateDir %1/state\nErrorLog %1/log/error_log\nAccessLog %1/log/access_log\n"
                          "PageLog %1/log/page_log\nPrintcap %1/printcap\nSystemGroup root\n")
                      .arg(root_.path()));
        // cups-pdf reads a queue's own settings from /etc/cups/cups-pdf-NAME.conf, NAME from
        // its device URI; the pid keeps two test runs apart.
        const QString name = QString("xemaptest%1").arg(getpid());
        queueConfig_ = "/etc/cups/cups-pdf-" + name + ".conf";
        writeText(queueConfig_, QString("Out %1\nAnonDirName %1\n").arg(outputFolder()));
        // Filters run as the lp user and read the queue's PPD under the server root.
        QFile::setPermissions(root_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                                | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
        // The tools started below read the variable; this process may have asked the
        // system's spooler already, which the client library remembers until told.
        qputenv("CUPS_SERVER", socket().toUtf8());
        cupsSetServer(socket().toUtf8().constData());
        daemon_.setProcessChannelMode(QProcess::MergedChannels);
        daemon_.start("/usr/sbin/cupsd", {"-f", "-c", path("cupsd.conf"), "-s", path("cups-files.conf")});
        if (!daemon_.waitForStarted()
            || !QTest::qWaitFor([this] { return QFileInfo(socket()).exists() || !running(); }, kSpoolTimeoutMs)
            || !running())
            return "cupsd did not start: " + QString::fromUtf8(daemon_.readAll());
        // Letter paper, unlike the A4 a program assumes; pdftocairo keeps the fonts of the
        // spooled PDF as fonts with their text (Ghostscript, the default, outlines them).
        for (const QStringList& arguments :
             {QStringList{"-p", kQueue, "-E", "-v", "cups-pdf:/" + name, "-P", ppd}, QStringList{"-d", kQueue},
              QStringList{"-p", kQueue, "-o", "PageSize=Letter", "-o", "pdftops-renderer-default=pdftocairo"}})
            if (runTool("lpadmin", arguments).first != 0)
                return "lpadmin could not set up the PDF queue";
        return {};
    }

    ~PdfSpooler()
    {
        if (running()) {
            daemon_.terminate();
            daemon_.waitForFinished(kSpoolTimeoutMs);
        }
        if (!queueConfig_.isEmpty())
            QFile::remove(queueConfig_);
        qunsetenv("CUPS_SERVER");
        cupsSetServer(nullptr);
    }

    bool refuseJobs() { return runTool("cupsreject", {kQueue}).first == 0; }

    // Waits until `count` PDFs are written and no job is left in the queue.
    QStringList waitForPdfs(int count)
    {
        QStringList files;
        // The caller's checks say what is missing when time runs out.
        (void)QTest::qWaitFor(
            [&] {
                files = QDir(outputFolder()).entryList({"*.pdf"}, QDir::Files, QDir::Name);
                return files.size() >= count && toolOutput("lpstat", {"-o", kQueue}).trimmed().isEmpty();
            },
            kSpoolTimeoutMs);
        for (QString& file : files)
            file = QDir(outputFolder()).filePath(file);
        return files;
    }

    QString outputFolder() const { return path("out"); }

private:
    QString path(const QString& name) const { return root_.filePath(name); }
    QString socket() const { return path("cups.sock"); }
    bool running() const { return daemon_.state() != QProcess::NotRunning; }

    QTemporaryDir root_;
    QProcess daemon_;
    QString queueConfig_;
};

class RealPrinterWindowTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        const QString whyNot = spooler.start();
        if (!whyNot.isEmpty())
            GTEST_SKIP() << whyNot.toStdString();
        MainWindowFixture::SetUp();
        MapDocument& document = mapToSetUp(form().session());
        document.mapName = "Crossroads";
        for (const char* name : {"Gate House", "Old Well"}) {
            auto tile = std::make_shared<XETile>();
            std::tie(tile->cellIndex, tile->shortName) = std::tuple(int(document.descriptions.size()), name);
            tile->areaText = {"Two towers guard the road."};
            tile->npcs.push_back(std::make_shared<XENPC>());
            tile->npcs[0]->name = "Captain Orrin";
            document.descriptions.append(tile);
        }
    }

    // File > Print with both jobs ticked.
    void printBoth()
    {
        prompter.expectDialog([](QDialog& dialog) {
            dialog.findChild<QCheckBox*>("PrintImage")->setChecked(true);
            dialog.findChild<QCheckBox*>("PrintText")->setChecked(true);
            dialog.findChild<QComboBox*>("FontSize")->setEditText("12");
            return int(QDialog::Accepted);
        });
        form().Print1Click();
    }

    PdfSpooler spooler;
};

// The fonts of a PDF that are not embedded, from pdffonts' table (emb is the fifth
// column from the right).
QStringList fontsNotEmbedded(const QString& table)
{
    QStringList missing;
    for (const QString& row : table.split('\n', Qt::SkipEmptyParts).mid(2))
        if (const QStringList columns = row.split(' ', Qt::SkipEmptyParts); columns.value(columns.size() - 5) != "yes")
            missing << row;
    return missing;
}

}  // namespace

TEST_F(RealPrinterWindowTest, BothJobsReachTheDefaultPrinterNamedAndOnItsPaperAndARefusalIsReported)
{
    printBoth();
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.messages.join('\n').toStdString();
    EXPECT_TRUE(prompter.fileDialogs.empty()) << "a printer is there: no PDF file is asked for";

    const QStringList pdfs = spooler.waitForPdfs(2);
    ASSERT_EQ(pdfs.size(), 2) << "the spooler wrote " << pdfs.join(", ").toStdString();
    // cups-pdf names its files after the job (non-ASCII characters escaped) and job number.
    const QString map = pdfs.filter("Crossroads").filter("_Map").value(0);
    const QString listing = pdfs.filter("Crossroads").filter("Descriptions").value(0);
    ASSERT_FALSE(map.isEmpty()) << pdfs.join(", ").toStdString();
    ASSERT_FALSE(listing.isEmpty()) << pdfs.join(", ").toStdString();

    const QString mapInfo = toolOutput("pdfinfo", {map});
    EXPECT_TRUE(mapInfo.contains(QRegularExpression("Pages:\\s+1\\n"))) << mapInfo.toStdString();
    EXPECT_TRUE(mapInfo.contains("(letter)")) << "the queue's default paper:\n" << mapInfo.toStdString();
    EXPECT_TRUE(mapInfo.contains(QRegularExpression("Title:.*XEMap.*Crossroads.*Map"))) << mapInfo.toStdString();
    EXPECT_GT(toolOutput("pdfimages", {"-list", map}).count('\n'), 2) << "the page holds the map picture";

    const QString listingInfo = toolOutput("pdfinfo", {listing});
    EXPECT_TRUE(listingInfo.contains("(letter)")) << listingInfo.toStdString();
    const QString text = toolOutput("pdftotext", {listing, "-"});
    for (const char* expected : {"1: Gate House", "2: Old Well", "NPCs:", "Captain Orrin", "Two towers guard the road.",
                                 "__________________________________________________"})
        EXPECT_TRUE(text.simplified().contains(expected)) << expected << " in\n" << text.toStdString();
    // The listing's face, whatever the system substitutes for it, is embedded, with its bold.
    const QString fonts = toolOutput("pdffonts", {listing});
    EXPECT_TRUE(fonts.contains("Bold")) << fonts.toStdString();
    EXPECT_EQ(fontsNotEmbedded(fonts), QStringList()) << fonts.toStdString();

    // A queue that refuses jobs: each job is reported, naming the printer and the job,
    // and the map is as it was.
    ASSERT_TRUE(spooler.refuseJobs());
    const bool modified = form().session().modified();
    const auto descriptions = form().document().descriptions.size();
    printBoth();
    ASSERT_EQ(prompter.messages.size(), 2) << prompter.messages.join('\n').toStdString();
    for (const QString what : {"Map", "Descriptions"}) {
        const QString message = prompter.messages.filter(QString::fromUtf8("XEMap – Crossroads – ") + what).value(0);
        EXPECT_TRUE(message.contains(PdfSpooler::kQueue)) << message.toStdString();
        EXPECT_TRUE(message.contains("not accepting jobs")) << message.toStdString();
    }
    EXPECT_EQ(form().session().modified(), modified);
    EXPECT_EQ(form().document().descriptions.size(), descriptions);
    EXPECT_EQ(QDir(spooler.outputFolder()).entryList({"*.pdf"}, QDir::Files).size(), 2);
}
