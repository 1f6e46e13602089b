// The main window with files that are not what they seem: named pipes, links to devices or to
// files elsewhere, oversized files. Nothing may block, read without end, or write outside the
// settings file; where the window would be broken the learner reads one message naming the file.
#include "Layout.h"
#include "Main.h"
#include "TestSupport.h"

#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

#include <functional>
#include <sys/stat.h>

namespace {

const QByteArray Layout = "[Explanation texts]\ntitle-0=One\n[Messages]\nlayout=Std prompt\n"
                          "[Bitmap]\nbitmap=kb.bmp\n";
const QString DefaultPrompt = QStringLiteral("Select the keyboard layout that you want to use:");

// Makes a hostile entry under a file name of the program folder.
using MakeEntry = std::function<void(const TProgramFolder& folder, const QString& name)>;

void MakePipe(const TProgramFolder& folder, const QString& name) {
    QVERIFY(::mkfifo(QFile::encodeName(folder.FilePath(name)).constData(), 0600) == 0);
}

MakeEntry LinkTo(const QString& target) {
    return [target](const TProgramFolder& folder, const QString& name) {
        QVERIFY(QFile::link(target.startsWith(u'/') ? target : folder.FilePath(target),
                            folder.FilePath(name)));
    };
}

// A working layout file padded to one byte over 4 MiB.
void MakeOversized(const TProgramFolder& folder, const QString& name) {
    folder.Write(name, Layout + QByteArray(4 * 1024 * 1024 + 1 - Layout.size(), '\n'));
}

QByteArray Picture() {
    QImage image(32, 11, QImage::Format_RGB32);
    image.fill(Qt::white);
    return BmpBytes(image);
}

// What the modal windows showed: each message box's caption and text, and the chooser's prompts.
struct TSeen {
    QStringList Messages;
    int Choosers = 0;
};

} // namespace

Q_DECLARE_METATYPE(MakeEntry)

class TestHostileFiles : public QObject {
    Q_OBJECT

    std::unique_ptr<TProgramFolder> folder;
    std::unique_ptr<TMainForm> form;
    TSeen seen;

    TMainForm* NewForm() {
        form.reset(CreateForms());
        form->ProgramFileName = folder->ProgramFile();
        return form.get();
    }

    // Answers message boxes with OK, and the chooser by choosing the layout "std".
    std::unique_ptr<TModalAnswerer> Answerer() {
        return std::make_unique<TModalAnswerer>([this](QWidget* w) {
            if (auto* box = qobject_cast<QMessageBox*>(w)) {
                seen.Messages << box->windowTitle() + QStringLiteral(": ") + box->text();
                box->accept();
            } else if (auto* chooser = qobject_cast<TLayoutForm*>(w)) {
                ++seen.Choosers;
                chooser->LayoutsList->setCurrentItem(
                    chooser->LayoutsList->findItems("std", Qt::MatchExactly).value(0));
                chooser->OKBtn->click();
            }
        });
    }

    static void AddEntryRows() {
        QTest::addColumn<MakeEntry>("make");
        QTest::newRow("named pipe") << MakeEntry(MakePipe);
        QTest::newRow("link to the zero device") << LinkTo("/dev/zero");
    }

private slots:
    void init() {
        folder = std::make_unique<TProgramFolder>();
        folder->Write("std.kb", Layout);
        folder->Write("kb.bmp", Picture());
        seen = {};
    }

    void cleanup() {
        form.reset();
        folder.reset();
    }

    void anUnreadableLayoutFileIsReportedOnce_data() {
        AddEntryRows();
        QTest::newRow("directory") << MakeEntry([](const TProgramFolder& f, const QString& name) {
            QVERIFY(QDir(f.Path()).mkdir(name));
        });
        QTest::newRow("oversized file") << MakeEntry(MakeOversized);
    }

    void anUnreadableLayoutFileIsReportedOnce() {
        QFETCH(MakeEntry, make);
        make(*folder, "bad.kb");
        const auto answerer = Answerer();
        NewForm()->FirstShow = false;
        form->LayoutFileName = folder->FilePath("bad.kb");
        form->LoadLayoutFile();
        form->ShowPage(1);
        QCOMPARE(seen.Messages, QStringList("Unreadable file: The layout file " +
                                            folder->FilePath("bad.kb") + " cannot be read: " +
                                            (QTest::currentDataTag() == QByteArray("oversized file")
                                                 ? "it is larger than 4 MiB."
                                                 : "it is not a regular file.")));
        QCOMPARE(form->PageNumber, 0);
        QCOMPARE(form->NextBtn->GetCaption(), QString("Next"));
    }

    void anUnreadablePictureIsAMissingFile_data() { AddEntryRows(); }

    void anUnreadablePictureIsAMissingFile() {
        QFETCH(MakeEntry, make);
        QFile::remove(folder->FilePath("kb.bmp"));
        make(*folder, "kb.bmp");
        const auto answerer = Answerer();
        NewForm()->FirstShow = false;
        form->LayoutFileName = folder->FilePath("std.kb");
        form->LoadLayoutFile();
        QCOMPARE(seen.Messages,
                 QStringList("Missing file: The program could not load the keyboard image file"));
        QVERIFY(!form->KeyboardPicture.has_value());
    }

    void selectingAnUnreadableLayoutInTheChooserShowsTheDefaultPrompt_data() { AddEntryRows(); }

    void selectingAnUnreadableLayoutInTheChooserShowsTheDefaultPrompt() {
        QFETCH(MakeEntry, make);
        make(*folder, "bad.kb");
        NewForm();
        QStringList prompts;
        TModalAnswerer answerer([&](QWidget* w) {
            auto* chooser = static_cast<TLayoutForm*>(w);
            for (const char* name : {"std", "bad"}) {
                chooser->LayoutsList->setCurrentItem(
                    chooser->LayoutsList->findItems(name, Qt::MatchExactly).value(0));
                prompts << chooser->Label1->text();
            }
            chooser->CancelBtn->click();
        });
        QCOMPARE(form->ChooseLayout(folder->FilePath("fingerwise.ini")), QString());
        QCOMPARE(prompts, QStringList({"Std prompt", DefaultPrompt}));
    }

    void settingsThatAreNoFileAreNeverWrittenThrough_data() {
        QTest::addColumn<MakeEntry>("make");
        QTest::newRow("link to a file elsewhere") << LinkTo("elsewhere/passwd");
        QTest::newRow("dangling link") << LinkTo("elsewhere/created");
        QTest::newRow("named pipe") << MakeEntry(MakePipe);
    }

    // The choice is used but not remembered, and the learner is told so once.
    void settingsThatAreNoFileAreNeverWrittenThrough() {
        QFETCH(MakeEntry, make);
        QVERIFY(QDir(folder->Path()).mkdir("elsewhere"));
        folder->Write("elsewhere/passwd", "root:x:0:0\n");
        make(*folder, "fingerwise.ini");
        const auto answerer = Answerer();
        NewForm()->show();
        QTRY_COMPARE(form->PageNumber, 1);
        form->Changelayout1Click();
        QCOMPARE(seen.Choosers, 2);
        QCOMPARE(seen.Messages,
                 QStringList("Layout not remembered: The chosen layout is used now, "
                             "but the next start will not remember it: the "
                             "settings file " +
                             folder->FilePath("fingerwise.ini") + " cannot be written."));
        QCOMPARE(folder->Read("elsewhere/passwd"), QByteArray("root:x:0:0\n"));
        QVERIFY(!QFile::exists(folder->FilePath("elsewhere/created")));
        QCOMPARE(form->LayoutFileName, folder->FilePath("std.kb"));
    }
};

QTEST_MAIN(TestHostileFiles)
#include "tst_hostilefiles.moc"
