// A run or an export that fails leaves no output behind and changes no file that was there;
// one that succeeds writes every file asked for, replacing old ones, and nothing else.
#include "AppKit.h"

namespace {

const QByteArray Old = "an older result\n";

QStringList Listing(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
}

// An older result where the output goes (for --frames, its first frame in the folder).
void Plant(const QString& dir, const char* file) {
    if (QString(file).startsWith("frames/")) QDir(dir).mkpath("frames");
    Write(QDir(dir).filePath(file), Old);
}

// The option, the file it names, the file to look at (the first frame for --frames), what it holds.
const struct Output { const char *option, *file, *checkFile, *content; } Outputs[] = {
    {"--picture", "p.png", "p.png", "\x89PNG"}, {"--picture", "p.svg", "p.svg", "<?xml"}, {"--picture", "p.pdf", "p.pdf", "%PDF"},
    {"--text", "t.txt", "t.txt", "No of Cities"}, {"--csv", "c.csv", "c.csv", "Year,NumPresent,TotalPopulation\r\n1790,24,"},
    {"--places", "places.csv", "places.csv", "name"}, {"--animate", "a.png", "a.png", "\x89PNG"},
    {"--frames", "frames", "frames/frame-01.png", "\x89PNG"},
};

}  // namespace

// Each output after a failing step, after a --pin naming no place, and beside an output that
// cannot be written: no file appears, an old one keeps its bytes, no temporary is left.
TEST(OutputOnFailure, NothingIsWrittenAndOldFilesStay) {
    const struct Failure { const char* what; QStringList args; } failures[] = {  // args: before the output
        {"a step that does not exist", {"run", "ReadData", "Rank", "DataProperties", "Nope"}},
        {"a pin naming no place", {"run", "--pin", "Atlantis", "ReadData", "Rank", "DataProperties"}},
        {"another output that cannot be written", {"run", "ReadData", "Rank", "DataProperties"}},
    };
    for (const Failure& failure : failures)
        for (const Output& o : Outputs) {
            SCOPED_TRACE(std::string(failure.what) + ", " + o.option + " " + o.file);
            QStringList args = failure.args;
            if (std::string(failure.what).rfind("another", 0) == 0)
                args += std::string(o.option) == "--text" ? QStringList{"--places", "no/such/folder/p.csv"}
                                                          : QStringList{"--text", "no/such/folder/t.txt"};
            for (bool planted : {false, true}) {
                QTemporaryDir dir;
                if (planted) Plant(dir.path(), o.checkFile);
                const QStringList before = Listing(dir.path());
                const Result r = RunCitysize(args + QStringList{o.option, o.file}, dir.path());
                EXPECT_EQ(r.status, 1) << r.err.toStdString();
                EXPECT_EQ(Listing(dir.path()), before);
                if (planted) { EXPECT_EQ(Read(dir.filePath(o.checkFile)), Old); }
                if (planted && std::string(o.option) == "--frames") {
                    EXPECT_EQ(Listing(dir.filePath("frames")), QStringList{"frame-01.png"});
                }
            }
        }
}

// A good run writes each file whole over an old one and leaves nothing else.
TEST(OutputOnFailure, ASuccessfulRunReplacesOldFilesAndLeavesNoTemporary) {
    for (const Output& o : Outputs) {
        SCOPED_TRACE(std::string(o.option) + " " + o.file);
        QTemporaryDir dir;
        Plant(dir.path(), o.checkFile);
        const QStringList before = Listing(dir.path());
        const Result r = RunCitysize({"run", "ReadData", "Rank", "DataProperties", o.option, o.file}, dir.path());
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(Listing(dir.path()), before);
        EXPECT_TRUE(Read(dir.filePath(o.checkFile)).contains(o.content)) << Read(dir.filePath(o.checkFile)).left(80).toStdString();
    }
    // Rank-Size of USData: one frame per census, 22, into a folder that was not there.
    QTemporaryDir dir;
    ASSERT_EQ(RunCitysize({"run", "ReadData", "Rank", "--frames", "new/frames"}, dir.path()).status, 0);
    EXPECT_EQ(Listing(dir.filePath("new/frames")).size(), 22);
    EXPECT_EQ(Listing(dir.path()), QStringList{"new"});
}

// An export whose data cannot be read makes no folder (nor those above) and leaves files alone.
TEST(OutputOnFailure, AFailedExportLeavesNoFolderAndNoFile) {
    QTemporaryDir dir, empty;
    const Result r = RunCitysize({"export", dir.filePath("a/b/tour"), "--data", empty.path()}, empty.path());
    EXPECT_EQ(r.status, 1) << r.err.toStdString();
    EXPECT_TRUE(Listing(dir.path()).isEmpty()) << Listing(dir.path()).join(' ').toStdString();
    Plant(dir.path(), "index.html");
    EXPECT_EQ(RunCitysize({"export", dir.path(), "--data", empty.path()}, empty.path()).status, 1);
    EXPECT_EQ(Listing(dir.path()), QStringList{"index.html"});
    EXPECT_EQ(Read(dir.filePath("index.html")), Old);
}
