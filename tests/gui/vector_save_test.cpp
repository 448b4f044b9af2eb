// Save in the window writes the map the job drew as a PDF or SVG file, from
// what the job recorded, and a PNG Save beside it is unchanged.
#include <QImage>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <regex>
#include <string>

#include "base/file_io.h"
#include "gui/main_window.h"
#include "gui/main_window_fixture.h"
#include "gui/window_session.h"
#include "i18n/language_pack.h"
#include "support/external_tool.h"
#include "support/fake_prompter.h"

using namespace tcmap;
using tcmap::testing::MainWindowFixture;
using tcmap::testing::runTool;
using tcmap::testing::shellQuoted;
using tcmap::testing::toolInstalled;
using tcmap::testing::ToolRun;

namespace {

// The page objects of a PDF: "/Type /Page", not the page tree's "/Type /Pages".
int pdfPageCount(const std::string& pdf) {
    static const std::regex page(R"(/Type\s*/Page(?![A-Za-z]))");
    return static_cast<int>(
        std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()));
}

}  // namespace

class VectorSaveTest : public QObject {
    Q_OBJECT

  private slots:
    void saveWritesVectorMapsOfTheLastJob();
};

void VectorSaveTest::saveWritesVectorMapsOfTheLastJob() {
    MainWindowFixture folder;
    folder.app.style.mapPath = folder.makeMap();
    folder.app.trackFiles = {MainWindowFixture::trackFile("bwp012014.dat"),
                             MainWindowFixture::trackFile("bwp022014.dat")};
    folder.app.tempFilePath = folder.file("job.tmp");
    FakePrompter prompter;
    MainWindow window(folder.app, prompter, runSessionJob);
    window.applyMainTexts();
    window.resize(800, 600);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_F1);
    QTRY_VERIFY_WITH_TIMEOUT(window.menusEnabled(), 20000);
    QTRY_VERIFY(window.panel() != nullptr);

    // The dialog offers the vector formats beside PNG.
    const std::string filter = (folder.app).languagePack().text(TextId::SaveDialogFilter);
    QVERIFY(filter.find("*.svg") != std::string::npos);
    QVERIFY(filter.find("*.pdf") != std::string::npos);

    prompter.paths = {folder.file("map.png"), folder.file("map.pdf"), folder.file("map.svg"),
                      folder.file("again.png")};
    for (int i = 0; i < 4; ++i) QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(prompter.count("save"), size_t(4));

    const std::string pdf = readFileOrEmpty(folder.file("map.pdf"));
    QVERIFY(pdf.rfind("%PDF-", 0) == 0);
    QVERIFY(pdf.find("%%EOF") != std::string::npos);
    QVERIFY(pdf.find("/Type /Page") != std::string::npos);
    // The page is the map's size, one point a pixel.
    const QSize size = QImage(QString::fromStdString(folder.file("map.png"))).size();
    const std::string box = "/MediaBox [ 0 0 " + std::to_string(size.width()) + " " +
                            std::to_string(size.height()) + " ]";
    QVERIFY2(pdf.find(box) != std::string::npos, box.c_str());
    const std::string svg = readFileOrEmpty(folder.file("map.svg"));
    QVERIFY(svg.find("<svg") != std::string::npos && svg.find("</svg>") != std::string::npos);
    QVERIFY(svg.find("<image") != std::string::npos);

    // A vector save leaves the PNG save as it was.
    QCOMPARE(readFileOrEmpty(folder.file("again.png")), readFileOrEmpty(folder.file("map.png")));
    QCOMPARE(window.statusText(3),
             QString::fromStdString((folder.app).languagePack().text(TextId::MapSaved)));

    // One page, as the file says, and as pdfinfo reads it: a file pdfinfo
    // rejects fails.
    QCOMPARE(pdfPageCount(pdf), 1);
    if (!toolInstalled("pdfinfo")) QSKIP("pdfinfo (poppler-utils) is not installed");
    const ToolRun info = runTool("pdfinfo " + shellQuoted(folder.file("map.pdf")));
    QVERIFY2(info.exitCode == 0, info.output.c_str());
    const size_t pages = info.output.find("Pages:");
    QVERIFY2(pages != std::string::npos, info.output.c_str());
    QCOMPARE(std::atoi(info.output.c_str() + pages + 6), 1);
}

QTEST_MAIN(VectorSaveTest)
#include "vector_save_test.moc"
