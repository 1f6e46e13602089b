#include "About.h"
#include "CongratsDlg.h"
#include "Layout.h"
#include "Main.h"
#include "TestSupport.h"
#include "TypingText.h"

#include <QAccessible>
#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextBlock>
#include <QWindow>

namespace {

// Pages 1, 2, 5, 29 and 30 have titles; page 29's text is complete as loaded.
const QByteArray StandardLayout = R"(
[Explanation texts]
title-0=One
explanation-0=The first page
image-0=letter
task-0=Add an s
line1-0=cat
caret-0=3
correction-0=cats
title-1=Two
line1-1=HiDdEn
title-4=Five
line1-4=lines
caret-4=5000
title-28=Twenty-nine
line1-28=done
correction-28=done
title-29=Thirty
line1-29=xyz
correction-29=xyzw
[Messages]
continue=Go on with F12
layout=Standard prompt
[Buttons]
Back=Zurück
[Bitmap]
bitmap=kb.bmp
)";

QByteArray SmallBitmap() {
    QImage image(32, 11, QImage::Format_RGB32);
    image.fill(Qt::white);
    return BmpBytes(image);
}

} // namespace

class TestMainForm : public QObject {
    Q_OBJECT

    std::unique_ptr<TProgramFolder> folder;
    std::unique_ptr<TMainForm> form;

    // A main window whose program directory is the test folder, not yet shown.
    TMainForm* NewForm() {
        form.reset(CreateForms());
        form->ProgramFileName = folder->ProgramFile();
        return form.get();
    }

    // A main window showing page 1 of a layout, without the start-up flow.
    TMainForm* OpenLayout(const QString& name, QSize size = QSize(1000, 700)) {
        NewForm();
        form->FirstShow = false;
        form->resize(size);
        form->show();
        form->LayoutFileName = folder->FilePath(name + ".kb");
        form->LoadLayoutFile();
        form->ShowPage(1);
        return form.get();
    }

    // Writes a layout file that names the test picture.
    void WriteLayout(const QString& name, const QByteArray& body) {
        folder->Write(name + ".kb", body + "\n[Bitmap]\nbitmap=kb.bmp\n");
    }

    // The typing box's first line as the box shows it: the text before the caret once End has
    // taken the caret from the start to the end of the first displayed line.
    QString DisplayedFirstLine() {
        QTextCursor cursor = form->TypingBox->textCursor();
        cursor.setPosition(0);
        form->TypingBox->setTextCursor(cursor);
        QTest::keyClick(form->TypingBox, Qt::Key_End);
        QString line =
            form->TypingBox->toPlainText().left(form->TypingBox->textCursor().position());
        while (line.endsWith(' '))
            line.chop(1);
        return line;
    }

    // Answers the layout chooser: the named layout, chosen with OK.
    static TModalAnswerer::Answer Choose(const QString& name) {
        return [name](QWidget* w) {
            auto* chooser = static_cast<TLayoutForm*>(w);
            chooser->LayoutsList->setCurrentItem(
                chooser->LayoutsList->findItems(name, Qt::MatchExactly).first());
            chooser->OKBtn->click();
        };
    }

    void Type(const QString& text) { QTest::keyClicks(form->TypingBox, text); }
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(form->TypingBox, Qt::Key(key), modifiers);
    }

private slots:
    void init() {
        folder = std::make_unique<TProgramFolder>();
        folder->Write("std.kb", StandardLayout);
        folder->Write("kb.bmp", SmallBitmap());
    }

    void cleanup() {
        form.reset();
        folder.reset();
    }

    // --- start-up -------------------------------------------------------------------------

    void startsWithTheLayoutNamedInTheSettings() {
        folder->Write("fingerwise.ini", "[General]\nkeyboard=std\n");
        NewForm()->show();
        QTRY_COMPARE(form->PageNumber, 1);
        QCOMPARE(form->LayoutFileName, folder->FilePath("std.kb"));
        QCOMPARE(form->Title->text(), QString("One"));
        QCOMPARE(form->style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 100);
        QVERIFY(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!form->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(form->KeyboardPicture.has_value());
        QCOMPARE(form->Footer->text(), QString("Go on with F12"));
        QCOMPARE(form->BackBtn->GetCaption(), QString("Zurück"));
        QCOMPARE(form->NextBtn->GetCaption(), QString("Next"));

        // Showing the window again re-reads nothing.
        form->NextBtnClick();
        form->hide();
        form->show();
        QTest::qWait(20);
        QCOMPARE(form->PageNumber, 2);
    }

    void firstStartLetsTheLearnerChooseAndRemembersIt() {
        WriteLayout("zeta", "[Explanation texts]\ntitle-0=Zeta\n");
        TModalAnswerer answerer([](QWidget* w) {
            auto* chooser = qobject_cast<TLayoutForm*>(w);
            QVERIFY(chooser);
            QCOMPARE(chooser->LayoutsList->count(), 2);
            chooser->LayoutsList->setCurrentRow(1);
            QCOMPARE(chooser->LayoutsList->currentItem()->text(), QString("zeta"));
            QTest::keyClick(chooser, Qt::Key_Return);
        });
        NewForm()->show();
        QTRY_COMPARE(form->PageNumber, 1);
        QCOMPARE(form->Title->text(), QString("Zeta"));
        QVERIFY(folder->Read("fingerwise.ini").contains("keyboard=zeta"));
    }

    void aLongLayoutNameSurvivesARestart() {
        const QString name = QString("layout-with-a-long-name-").repeated(3); // 72 characters
        WriteLayout(name, "[Explanation texts]\ntitle-0=Long\n");
        TModalAnswerer answerer(Choose(name));
        NewForm()->show();
        QTRY_COMPARE(form->PageNumber, 1);
        NewForm()->show(); // the next start reads the whole name back
        QTRY_COMPARE(form->PageNumber, 1);
        QCOMPARE(answerer.Answered, 1);
        QCOMPARE(form->Title->text(), QString("Long"));
    }

    void cancellingTheFirstChoiceEndsTheProgramAndWritesNothing() {
        TModalAnswerer answerer([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
        NewForm()->show();
        QTRY_VERIFY(!form->isVisible());
        QCOMPARE(answerer.Answered, 1);
        QCOMPARE(form->PageNumber, 0);
        QVERIFY(!QFile::exists(folder->FilePath("fingerwise.ini")));
    }

    void okIsOfferedOnlyWhileALayoutIsSelected() {
        bool stayedOpen = false, okEnabledWithSelection = false;
        TModalAnswerer answerer([&](QWidget* w) {
            auto* chooser = static_cast<TLayoutForm*>(w);
            QVERIFY(!chooser->OKBtn->isEnabled());
            QTest::keyClick(chooser->LayoutsList, Qt::Key_Return); // Enter with nothing selected
            chooser->OKBtn->click();
            stayedOpen = chooser->isVisible();
            chooser->LayoutsList->setCurrentRow(0);
            okEnabledWithSelection = chooser->OKBtn->isEnabled();
            chooser->LayoutsList->clearSelection();
            QVERIFY(!chooser->OKBtn->isEnabled());
            chooser->close(); // the close box
        });
        NewForm()->show();
        QTRY_VERIFY(!form->isVisible());
        QCOMPARE(answerer.Answered, 1);
        QVERIFY(stayedOpen);
        QVERIFY(okEnabledWithSelection);
        QCOMPARE(form->PageNumber, 0);
        QVERIFY(!QFile::exists(folder->FilePath("fingerwise.ini")));
        // Emptying the list for the next showing takes the selection, and OK, with it.
        QListWidget* list = form->LayoutForm->LayoutsList;
        list->setCurrentRow(0);
        QVERIFY(form->LayoutForm->OKBtn->isEnabled());
        list->clear();
        QVERIFY(!form->LayoutForm->OKBtn->isEnabled());
    }

    void aLayoutWhoseFileIsGoneIsChosenAfresh() {
        const QByteArray settings = "[General]\nkeyboard=gone\n";
        folder->Write("fingerwise.ini", settings);
        {
            TModalAnswerer answerer([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
            NewForm()->show();
            QTRY_VERIFY(!form->isVisible());
            QCOMPARE(answerer.Answered, 1);
            QCOMPARE(form->PageNumber, 0);
            QCOMPARE(folder->Read("fingerwise.ini"), settings);
        }
        TModalAnswerer answerer([](QWidget* w) {
            auto* chooser = static_cast<TLayoutForm*>(w);
            QVERIFY(chooser->LayoutsList->selectedItems().isEmpty());
            chooser->LayoutsList->setCurrentRow(0);
            chooser->OKBtn->click();
        });
        NewForm()->show();
        QTRY_COMPARE(form->PageNumber, 1);
        QCOMPARE(form->Title->text(), QString("One"));
        QVERIFY(folder->Read("fingerwise.ini").contains("keyboard=std"));
    }

    void aPictureThatDoesNotLoadIsReported() {
        folder->Write("nopic.kb", "[Bitmap]\nbitmap=missing.bmp\n[Explanation texts]\ntitle-0=A\n");
        QString caption, text;
        TModalAnswerer answerer([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            caption = box->windowTitle();
            text = box->text();
            QCOMPARE(box->icon(), QMessageBox::Warning);
            box->accept();
        });
        OpenLayout("nopic");
        QCOMPARE(answerer.Answered, 1);
        QCOMPARE(caption, QString("Missing file"));
        QCOMPARE(text, QString("The program could not load the keyboard image file"));
        QVERIFY(!form->KeyboardPicture.has_value());
        QCOMPARE(form->PageNumber, 1);
    }

    void aTooLongPictureNameIsCutToNineCharacters() {
        folder->Write("long.kb", "[Bitmap]\nbitmap=kb.bmpXYZ\n");
        folder->Write("kb.bmpXYZ", "not a picture");
        TModalAnswerer answerer([](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
        OpenLayout("long"); // "kb.bmpXYZ" is nine characters: it is found, but is no picture
        QCOMPARE(answerer.Answered, 1);
        QVERIFY(!form->KeyboardPicture.has_value());
        folder->Write("kb.bmpABC", SmallBitmap());
        folder->Write("long.kb", "[Bitmap]\nbitmap=kb.bmpABCDEF\n");
        form->LoadLayoutFile();
        QCOMPARE(answerer.Answered, 1);
        QVERIFY(form->KeyboardPicture.has_value());
    }

    void anEmptyLayoutFileGivesEveryDefault() {
        folder->Write("empty.kb", "");
        TModalAnswerer answerer([](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
        OpenLayout("empty");
        QCOMPARE(form->PageNumber, 0);
        QCOMPARE(form->Title->text(), QString("Title"));
        QCOMPARE(form->Task->toPlainText(), QString("Task"));
        QCOMPARE(form->TypingBox->toPlainText(), QString("TypingBox"));
        QCOMPARE(form->Footer->text(), QString("Press F12 to continue"));
        QCOMPARE(form->BackBtn->GetCaption(), QString("Back"));
        QCOMPARE(form->NextBtn->GetCaption(), QString("Next"));
        QCOMPARE(form->ExitBtn->GetCaption(), QString("Exit"));
        QCOMPARE(form->CongratsDlg->OKBtn->GetCaption(), QString("OK"));
        QCOMPARE(form->CongratsDlg->windowTitle(), QString("Congratulations"));
        QCOMPARE(form->CongratsDlg->Memo1->toPlainText(),
                 QString("Well done!\n\nPress Enter to return to the training program\n"));
        QCOMPARE(form->Changelayout1->text(), QString("Change layout..."));
        QCOMPARE(form->About1->text(), QString("About Fingerwise..."));
        QVERIFY(form->BackBtn->toolTip().isEmpty());
        QVERIFY(form->NextBtn->toolTip().isEmpty());
    }

    void theButtonsShowTheirGlyphStrips() {
        NewForm();
        struct {
            TFancyButton* button;
            int pictures;
            QPoint at;
            QPoint textOffset;
        } const buttons[] = {{form->BackBtn, 5, {0, 4}, {17, -2}},
                             {form->NextBtn, 5, {104, 4}, {-17, -2}},
                             {form->ExitBtn, 4, {208, 4}, {-5, -2}},
                             {form->CongratsDlg->OKBtn, 4, {204, 232}, {-2, -2}}};
        for (const auto& b : buttons) {
            QCOMPARE(b.button->GetNumGlyphs(), b.pictures);
            QCOMPARE(b.button->GetGlyph().size(), QSize(100 * b.pictures, 48));
            QCOMPARE(b.button->geometry(), QRect(b.at, QSize(100, 48)));
            QCOMPARE(QPoint(b.button->GetTextOffsetLeft(), b.button->GetTextOffsetTop()),
                     b.textOffset);
            QCOMPARE(b.button->GetTextShadowColor(), clBlack);
            QCOMPARE(b.button->palette().color(QPalette::ButtonText), QColor(128, 255, 255));
        }
        QVERIFY(form->BackBtn->font().italic());
        QCOMPARE(form->BackBtn->font().pixelSize(), 16);
        QVERIFY(form->CongratsDlg->OKBtn->font().bold());
        QCOMPARE(form->CongratsDlg->OKBtn->font().pixelSize(), 19);
    }

    void thePictureIsAlsoFoundBesideTheLayoutFile() {
        const QString saved = QDir::currentPath();
        QTemporaryDir elsewhere;
        QDir::setCurrent(elsewhere.path());
        OpenLayout("std");
        QDir::setCurrent(saved);
        QVERIFY(form->KeyboardPicture.has_value());
    }

    // --- pages and history ----------------------------------------------------------------

    void nextAndBackSkipUntitledPages() {
        OpenLayout("std");
        QVERIFY(!form->BackBtn->isEnabled());
        form->NextBtnClick();
        QCOMPARE(form->PageNumber, 2);
        QVERIFY(form->BackBtn->isEnabled());
        form->NextBtnClick();
        QCOMPARE(form->PageNumber, 5);
        form->BackBtnClick();
        QCOMPARE(form->PageNumber, 2);
        form->BackBtnClick();
        QCOMPARE(form->PageNumber, 1);
        QVERIFY(!form->BackBtn->isEnabled());
        form->BackBtnClick(); // empty history: nothing
        QCOMPARE(form->PageNumber, 1);
        form->ShowPage(0);
        form->ShowPage(31);
        QCOMPARE(form->PageNumber, 1);
    }

    void theLastPageKeepsRecordingAndTheHistoryStopsAt500() {
        OpenLayout("std");
        form->ShowPage(30);
        QCOMPARE(form->PageNumber, 30);
        QVERIFY(!form->NextBtn->isEnabled());
        QVERIFY(form->Footer->isHidden());
        Press(Qt::Key_F12);
        QCOMPARE(form->PageNumber, 30);
        QCOMPARE(form->HistoryDepth, 1);
        for (int i = 0; i < 600; ++i)
            form->NextBtnClick();
        QCOMPARE(form->HistoryDepth, 500);
        for (int i = 0; i < 500; ++i)
            Press(Qt::Key_F11);
        QCOMPARE(form->HistoryDepth, 0);
        QCOMPARE(form->PageNumber, 30);
        QVERIFY(!form->BackBtn->isEnabled());
    }

    void restartEmptiesTheHistory() {
        OpenLayout("std");
        form->NextBtnClick();
        form->NextBtnClick();
        Press(Qt::Key_F10);
        QCOMPARE(form->PageNumber, 1);
        QCOMPARE(form->HistoryDepth, 0);
        QVERIFY(!form->BackBtn->isEnabled());
        QVERIFY(form->Footer->isVisible());
    }

    // --- the typing box's modes -----------------------------------------------------------

    void theThreeModesOfTheTypingBox() {
        OpenLayout("std");
        QCOMPARE(form->TypingBox->toPlainText(), QString("cat\n"));
        QCOMPARE(form->TypingBox->textCursor().position(), 3);
        Type("x");
        // Hidden: the box keeps its text and the focus, and moves out of sight.
        form->NextBtnClick();
        QCOMPARE(form->TypingBox->toPlainText(), QString("catx\n"));
        QCOMPARE(form->TypingBox->y(), 1200);
        QVERIFY(form->focusWidget() == form->TypingBox);
        form->resize(1000, 4000); // a panel taller than 1200 pixels still hides the box
        QTRY_COMPARE(form->height(), 4000);
        QVERIFY(form->TypingBox->y() >= form->TypingPanel->height());
        form->resize(1000, 700);
        QTRY_COMPARE(form->TypingBox->y(), 1200);
        // Numbered lines: 100 lines, 2392 characters with two-character line breaks.
        form->NextBtnClick();
        QCOMPARE(form->PageNumber, 5);
        QVERIFY(form->TypingBox->y() < 1200);
        const QString lines = form->TypingBox->toPlainText();
        QVERIFY(lines.startsWith("This is line number 1\nThis is line number 2\n"));
        QVERIFY(lines.endsWith("This is line number 100\n"));
        QCOMPARE(lines.size() + lines.count('\n'), 2392);
        QCOMPARE(form->TypingBox->font().pointSize(), 10);
        QCOMPARE(form->TypingBox->textCursor().position(), lines.size()); // caret beyond the end
    }

    void caretOffsetsCountLineBreaksAsTwo() {
        WriteLayout("caret", "[Explanation texts]\ntitle-0=A\nline1-0=abc\nline2-0=def\n"
                             "caret-0=6\ntitle-1=B\nline2-1=only\ncaret-1=99\ntitle-2=C\n");
        OpenLayout("caret");
        QCOMPARE(form->TypingBox->textCursor().position(), 5); // after "abc\nd"
        form->NextBtnClick();
        QCOMPARE(form->TypingBox->toPlainText(), QString("only\n"));
        form->NextBtnClick();
        QCOMPARE(form->TypingBox->toPlainText(), QString());
        QCOMPARE(form->TypingBox->textCursor().position(), 0);
    }

    // --- the typing check -----------------------------------------------------------------

    void typingTheCorrectionOpensTheDialog() {
        OpenLayout("std");
        int answered = 0;
        TModalAnswerer answerer([&](QWidget* w) {
            ++answered;
            QCOMPARE(w, form->CongratsDlg);
            QTest::keyClick(w, Qt::Key_Return);
        });
        Type("S");
        QCOMPARE(answered, 0);
        Press(Qt::Key_Backspace);
        Type("s");
        QCOMPARE(answered, 1);
        QCOMPARE(form->PageNumber, 1);
        // Typing on the second line keeps the first line equal: the dialog opens again.
        Press(Qt::Key_Down);
        Type("x");
        QCOMPARE(answered, 2);
        QCOMPARE(form->PageNumber, 1);
    }

    void f12InTheDialogGoesOnAndRecordsThePage() {
        OpenLayout("std");
        TModalAnswerer answerer([](QWidget* w) { QTest::keyClick(w, Qt::Key_F12); });
        Type("s");
        QCOMPARE(answerer.Answered, 1);
        QCOMPARE(form->PageNumber, 2);
        QCOMPARE(form->HistoryDepth, 1);
        QCOMPARE(form->History[0], 1);
    }

    void anyOtherKeyOrTheButtonKeepsThePage() {
        OpenLayout("std");
        QList<int> results;
        for (int key : {int(Qt::Key_Shift), int(Qt::Key_Escape), int(Qt::Key_A)}) {
            form->CongratsDlg->open();
            QTest::keyClick(form->CongratsDlg->OKBtn, Qt::Key(key));
            results << form->CongratsDlg->result();
        }
        QCOMPARE(results, QList<int>({1, 1, 1}));
        form->CongratsDlg->open();
        QTest::keyClick(form->CongratsDlg, Qt::Key_F12);
        QCOMPARE(form->CongratsDlg->result(), TCongratsDlg::NextPageResult);
        form->CongratsDlg->open();
        QTest::mouseClick(form->CongratsDlg->OKBtn, Qt::LeftButton);
        QCOMPARE(form->CongratsDlg->result(), TCongratsDlg::OKResult);
        QVERIFY(!form->CongratsDlg->isVisible());
    }

    void nearMissesDoNotMatch() {
        WriteLayout("near", "[Explanation texts]\ntitle-0=A\nline1-0=abc\ncorrection-0=abcd\n"
                            "title-1=B\nline2-1=xy\ncorrection-1=xyz\n");
        OpenLayout("near");
        TModalAnswerer answerer([](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); });
        QTest::keyClick(form->TypingBox, Qt::Key_End);
        Type("D");
        Press(Qt::Key_Backspace);
        Type(" ");
        QCOMPARE(answerer.Answered, 0);
        // With line1 empty, line2 is the first line and is the one compared.
        form->NextBtnClick();
        QTest::keyClick(form->TypingBox, Qt::Key_End);
        Type("z");
        QCOMPARE(answerer.Answered, 1);
    }

    void onlyTheFirstDisplayedLineCounts_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("presses");
        QTest::addColumn<int>("width");
        QTest::newRow("as loaded") << int(Qt::Key_F2) << 0 << 1000;
        QTest::newRow("larger font") << int(Qt::Key_F2) << 4 << 1000;
        QTest::newRow("smaller font") << int(Qt::Key_F3) << 4 << 1000;
        QTest::newRow("narrower window") << int(Qt::Key_F2) << 0 << 640;
    }

    void onlyTheFirstDisplayedLineCounts() {
        QFETCH(int, key);
        QFETCH(int, presses);
        QFETCH(int, width);
        QStringList words;
        for (int i = 1; i <= 40; ++i)
            words << QString("word%1").arg(i);
        const QString paragraph = words.join(' ');
        WriteLayout("wrap", "[Explanation texts]\ntitle-0=A\nline1-0=" + paragraph.toUtf8() + "\n");
        OpenLayout("wrap");
        for (int i = 0; i < presses; ++i)
            Press(key);
        form->resize(width, 700);
        QTRY_COMPARE(form->width(), width);
        const QString firstLine = DisplayedFirstLine();
        QVERIFY2(firstLine.size() < paragraph.size() / 2, qPrintable(firstLine)); // it wraps

        TModalAnswerer answerer([](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); });
        auto typeAtParagraphEnd = [&](const QString& correction, const QString& text) {
            WriteLayout("wrap", "[Explanation texts]\ntitle-0=A\ncorrection-0=" +
                                    correction.toUtf8() + "\n");
            QTextCursor cursor = form->TypingBox->textCursor();
            cursor.setPosition(form->TypingBox->document()->firstBlock().length() - 1);
            form->TypingBox->setTextCursor(cursor);
            Type(text);
        };
        // Typing at the paragraph's end leaves the first displayed line, which is complete.
        typeAtParagraphEnd(firstLine, "x");
        QCOMPARE(answerer.Answered, 1);
        // The whole paragraph equals this correction, but it wraps.
        typeAtParagraphEnd(paragraph + "xy", "y");
        QCOMPARE(answerer.Answered, 1);
    }

    void aPageCompleteAsLoadedOpensTheDialogAfterTheLoad() {
        OpenLayout("std");
        bool loadFinished = false;
        TModalAnswerer answerer([&](QWidget* w) {
            loadFinished = form->PageNumber == 29 && form->focusWidget() == form->TypingBox &&
                           form->TypingBox->y() < 1200;
            QTest::keyClick(w, Qt::Key_F12);
        });
        form->ShowPage(29);
        QCOMPARE(answerer.Answered, 1);
        QVERIFY(loadFinished);
        QCOMPARE(form->PageNumber, 30);
        QVERIFY(form->Footer->isHidden()); // no stale step of page 29's load ran after page 30's
    }

    // --- keys of the typing box -----------------------------------------------------------

    void fontAndColourKeys() {
        OpenLayout("std");
        QList<QColor> colours;
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(form->TypingBox, Qt::Key_C, Qt::AltModifier);
            colours << form->TypingBox->palette().color(QPalette::Text);
        }
        QCOMPARE(colours,
                 QList<QColor>({QColor(137, 34, 223), QColor(188, 238, 18), QColor(239, 186, 70)}));
        QCOMPARE(form->TypingBox->toPlainText(), QString("cat\n")); // Alt+C types nothing
        // AltGr arrives as Ctrl+Alt on Windows: its text is typed (AltGr+à gives @ in French).
        QTest::sendKeyEvent(QTest::Click, form->TypingBox, Qt::Key_At, QStringLiteral("@"),
                            Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(form->TypingBox->toPlainText(), QString("cat@\n"));
        Press(Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(form->TypingBox->font().bold());
        Press(Qt::Key_B, Qt::ControlModifier);
        QVERIFY(!form->TypingBox->font().bold());
        Press(Qt::Key_B);
        QVERIFY(!form->TypingBox->font().bold());

        QFont font = form->TypingBox->font();
        font.setPointSize(4);
        form->TypingBox->setFont(font);
        Press(Qt::Key_F3);
        QCOMPARE(form->TypingBox->font().pointSize(), 3);
        Press(Qt::Key_F3);
        QCOMPARE(form->TypingBox->font().pointSize(), 3);
        for (int i = 0; i < 200; ++i)
            Press(Qt::Key_F2, Qt::ShiftModifier);
        QCOMPARE(form->TypingBox->font().pointSize(), 203);
    }

    void pageKeysJumpNearTheEnds_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("expected");
        // The 100 numbered lines are 2392 characters long, counting line breaks as two.
        QTest::newRow("page down past 2208") << int(Qt::Key_PageDown) << 2209 << 2392;
        QTest::newRow("page down at 2208") << int(Qt::Key_PageDown) << 2208 << 2208;
        QTest::newRow("page up before 192") << int(Qt::Key_PageUp) << 191 << 0;
        QTest::newRow("page up at 192") << int(Qt::Key_PageUp) << 192 << 192;
        QTest::newRow("page down with a selection") << int(Qt::Key_PageDown) << -2209 << 2392;
        QTest::newRow("page up with a selection") << int(Qt::Key_PageUp) << -191 << 0;
    }

    // The keys' own rule, before the box's page movement. A negative offset selects from there to
    // the end of the text: the selection's start counts.
    void pageKeysJumpNearTheEnds() {
        QFETCH(int, key);
        QFETCH(int, offset);
        QFETCH(int, expected);
        OpenLayout("std");
        form->ShowPage(5);
        const QString text = form->TypingBox->toPlainText();
        auto placeCaret = [&] {
            const int position = CaretOffsetToPosition(text, std::abs(offset));
            QCOMPARE(PositionToCaretOffset(text, position), std::abs(offset));
            QTextCursor cursor = form->TypingBox->textCursor();
            cursor.setPosition(position);
            if (offset < 0)
                cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
            form->TypingBox->setTextCursor(cursor);
        };
        auto caretOffset = [&] {
            return PositionToCaretOffset(text, form->TypingBox->textCursor().position());
        };
        placeCaret();
        form->TypingBoxKeyDown(key, Qt::NoModifier);
        QCOMPARE(caretOffset(), expected);
        if (expected == offset)
            return; // the rule left the caret alone
        QVERIFY(!form->TypingBox->textCursor().hasSelection());
        // Pressed in the box, the box's own movement starts from there.
        placeCaret();
        Press(key);
        QCOMPARE(caretOffset(), expected);
    }

    void clicksIntoTheTextsLeaveTheKeysWithTheTypingBox_data() {
        QTest::addColumn<bool>("task");
        QTest::addColumn<int>("page");
        QTest::newRow("explanation") << false << 1;
        QTest::newRow("task") << true << 1;
        QTest::newRow("explanation on a hidden page") << false << 2;
        QTest::newRow("task on a hidden page") << true << 2;
    }

    void clicksIntoTheTextsLeaveTheKeysWithTheTypingBox() {
        QFETCH(bool, task);
        QFETCH(int, page);
        WriteLayout("texts", "[Explanation texts]\ntitle-0=A\nexplanation-0=Words to read\n"
                             "task-0=Words to do\ntitle-1=B\nline1-1=hidden\n"
                             "explanation-1=More words\ntask-1=More to do\ntitle-2=C\n");
        OpenLayout("texts");
        form->ShowPage(page);
        QPlainTextEdit* text = task ? form->Task : form->Explanation;
        QTextCursor start = text->textCursor();
        start.setPosition(1);
        const QPoint word = text->cursorRect(start).center();
        QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, word);
        QTest::mouseDClick(text->viewport(), Qt::LeftButton, {}, word);
        QVERIFY(text->textCursor().hasSelection()); // the text can still be selected
        QCOMPARE(form->focusWidget(), form->TypingBox);
        QTest::keyClick(form->windowHandle(), Qt::Key_F12);
        QCOMPARE(form->PageNumber, page + 1);
    }

    void escapeClosesTheWindow() {
        OpenLayout("std");
        Press(Qt::Key_Escape);
        QVERIFY(!form->isVisible());
    }

    // --- proportional layout --------------------------------------------------------------

    void sizesFollowTheClientHeight() {
        OpenLayout("std", QSize(800, 560));
        QCOMPARE(form->height(), 560);
        QCOMPARE(form->font().pointSize(), 20);
        QCOMPARE(form->Title->height(), 56);
        QCOMPARE(form->Title->font().pointSize(), 31);
        QCOMPARE(form->Explanation->font().pointSize(), 15);
        QCOMPARE(form->TypingBox->font().pointSize(), 17);
        QCOMPARE(form->Task->height(), 80);
        QCOMPARE(form->Explanation->width(), 320);
        QCOMPARE(form->PaintBox->x(), 9 + 320);
        QCOMPARE(form->PaintBox->width(), 800 - 329);
        QCOMPARE(form->PaintBox->height(), 471 * 522 / 1536);
        QCOMPARE(form->TooltipLabel->y(), form->PaintBox->height());
        QCOMPARE(form->Panel1->height(), 40 + form->PaintBox->height());
        QCOMPARE(form->BottomPanel->height(), 58);
        QCOMPARE(form->BottomPanel->y() + form->BottomPanel->height(), 560);
        QCOMPARE(form->TypingPanel->y(), form->Task->y() + 80);
        QCOMPARE(form->TypingBox->width(), 800 - 25 - 36);

        form->resize(1536 + 9 + 1536 * 2 / 3, 2000); // tall: the panel follows the font
        QTRY_COMPARE(form->BottomPanel->height(), 2 * (2000 / 28));
    }

    void theMaximisedWindowKeepsItsSize() {
        NewForm()->FirstShow = false;
        form->showMaximized();
        const QSize workArea = form->screen()->availableGeometry().size();
        QTRY_COMPARE(form->frameGeometry().size(), workArea);
        QCOMPARE(form->minimumSize(), form->size()); // not resizable by dragging
        QCOMPARE(form->maximumSize(), form->size());
    }

    void theTitleAndFooterSitAtTheTopCentred_data() {
        QTest::addColumn<bool>("footer");
        QTest::newRow("title") << false;
        QTest::newRow("footer") << true;
    }

    void theTitleAndFooterSitAtTheTopCentred() {
        QFETCH(bool, footer);
        OpenLayout("std", QSize(2000, 1400));
        QLabel* label = footer ? form->Footer : form->Title;
        const QImage image = label->grab().toImage();
        const QRgb background = image.pixel(0, 0);
        int top = -1, bottom = -1, left = image.width(), right = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != background) {
                    top = top < 0 ? y : top;
                    bottom = y;
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        QVERIFY(top >= 0);
        const int spare = label->height() - QFontMetrics(label->font()).height();
        QVERIFY2(spare >= 8, "too little room to tell where the text sits");
        const int below = label->height() - 1 - bottom;
        QVERIFY2(below - top >= spare * 3 / 4,
                 qPrintable(QString("%1 above, %2 below").arg(top).arg(below)));
        QVERIFY2(std::abs(left - (image.width() - 1 - right)) <= 4,
                 qPrintable(QString("%1 left, %2 right of %3")
                                .arg(left)
                                .arg(image.width() - 1 - right)
                                .arg(image.width())));
    }

    // --- choosing the layout --------------------------------------------------------------

    void theChooserListsSortsAndPreselects() {
        for (const char* name : {"gamma", "alpha", "Beta", "en.us"})
            folder->Write(QString(name) + ".kb",
                          QString("[Messages]\nlayout=Prompt of %1\n").arg(name).toUtf8());
        folder->Write("notes.txt", "");
        folder->Write("two\nlines.kb", ""); // a name that could not be written back
        folder->Write("UPPER.KB", "");
        folder->Write(".kb", ""); // no layout name
        QDir(folder->Path()).mkdir("old.kb");
        folder->Write("fingerwise.ini", "[General]\nkeyboard=ALPHA\n");
        OpenLayout("std");
        QStringList items;
        QString prompt;
        TModalAnswerer answerer([&](QWidget* w) {
            auto* chooser = static_cast<TLayoutForm*>(w);
            for (int i = 0; i < chooser->LayoutsList->count(); ++i)
                items << chooser->LayoutsList->item(i)->text();
            prompt = chooser->Label1->text();
            QCOMPARE(chooser->LayoutsList->currentItem()->text(), QString("alpha"));
            chooser->LayoutsList->setCurrentRow(2);
            QCOMPARE(chooser->Label1->text(), QString("Prompt of en.us"));
            chooser->LayoutsList->setCurrentRow(items.indexOf("std"));
            QCOMPARE(chooser->Label1->text(), QString("Standard prompt"));
            chooser->LayoutsList->setCurrentRow(items.indexOf("UPPER"));
            QCOMPARE(chooser->Label1->text(),
                     QString("Select the keyboard layout that you want to use:"));
            chooser->CancelBtn->click();
        });
        form->Changelayout1->trigger();
        QCOMPARE(items, QStringList({"alpha", "Beta", "en.us", "gamma", "std", "UPPER"}));
        QCOMPARE(prompt, QString("Prompt of alpha"));
        QCOMPARE(folder->Read("fingerwise.ini"), QByteArray("[General]\nkeyboard=ALPHA\n"));
    }

    void changingTheLayoutKeepsThePageAndTheHistory() {
        folder->Write("other.kb",
                      "[Explanation texts]\ntitle-1=Zwei\ntitle-4=Fünf\n"
                      "[Menus]\nlayout=Tastatur wechseln...\n[Bitmap]\nbitmap=kb.bmp\n");
        OpenLayout("std");
        form->NextBtnClick();
        form->NextBtnClick();
        QCOMPARE(form->PageNumber, 5);
        TModalAnswerer answerer(Choose("other"));
        form->Changelayout1->trigger();
        QCOMPARE(form->PageNumber, 5);
        QCOMPARE(form->Title->text(), QString("Fünf"));
        QCOMPARE(form->HistoryDepth, 2);
        QCOMPARE(form->Changelayout1->text(), QString("Tastatur wechseln..."));
        QCOMPARE(form->LayoutFileName, folder->FilePath("other.kb"));
        QVERIFY(folder->Read("fingerwise.ini").contains("keyboard=other"));
        form->BackBtnClick();
        QCOMPARE(form->Title->text(), QString("Zwei"));
    }

    void aLayoutChangeWithNoPageShownShowsPageOne() {
        WriteLayout("untitled", "[Messages]\ncontinue=No pages here\n");
        OpenLayout("untitled");
        QCOMPARE(form->PageNumber, 0);
        TModalAnswerer answerer(Choose("std"));
        form->Changelayout1->trigger();
        QCOMPARE(form->PageNumber, 1);
        QCOMPARE(form->Title->text(), QString("One"));
        QCOMPARE(form->HistoryDepth, 0);
    }

    void cancellingAChangeLeavesEverything() {
        folder->Write("fingerwise.ini", "[General]\r\nkeyboard=std\r\n");
        OpenLayout("std");
        form->NextBtnClick();
        TModalAnswerer answerer([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
        form->Changelayout1->trigger();
        QCOMPARE(answerer.Answered, 1);
        QCOMPARE(form->PageNumber, 2);
        QCOMPARE(form->LayoutFileName, folder->FilePath("std.kb"));
        QCOMPARE(folder->Read("fingerwise.ini"), QByteArray("[General]\r\nkeyboard=std\r\n"));
    }

    void everyTextControlOffersThePopupMenu() {
        OpenLayout("std");
        for (QWidget* control :
             {static_cast<QWidget*>(form->Title), static_cast<QWidget*>(form->Task),
              static_cast<QWidget*>(form->TypingBox), static_cast<QWidget*>(form->Footer),
              static_cast<QWidget*>(form->Explanation), static_cast<QWidget*>(form->PaintBox)}) {
            QCOMPARE(control->contextMenuPolicy(), Qt::CustomContextMenu);
            emit control->customContextMenuRequested(QPoint(1, 1));
            QTRY_VERIFY(form->PopupMenu1->isVisible());
            form->PopupMenu1->close();
        }
    }

    void screenReadersFindEveryControlByName() {
        OpenLayout("std");
        auto accessible = [](QWidget* widget) {
            QAccessibleInterface* found = QAccessible::queryAccessibleInterface(widget);
            return std::pair(found ? found->role() : QAccessible::NoRole,
                             found ? found->text(QAccessible::Name) : QString());
        };
        using R = std::pair<QAccessible::Role, QString>;
        // The buttons are push buttons named by the captions of the layout file.
        QCOMPARE(accessible(form->BackBtn), R(QAccessible::Button, "Zurück"));
        QCOMPARE(accessible(form->NextBtn), R(QAccessible::Button, "Next"));
        QCOMPARE(accessible(form->ExitBtn), R(QAccessible::Button, "Exit"));
        QCOMPARE(accessible(form->CongratsDlg->OKBtn), R(QAccessible::Button, "OK"));
        QCOMPARE(accessible(form->Explanation).second, QString("Explanation"));
        QCOMPARE(accessible(form->Task).second, QString("Task"));
        QCOMPARE(accessible(form->TypingBox), R(QAccessible::EditableText, "Typing box"));
        QCOMPARE(accessible(form->PaintBox).second, QString("Keyboard picture"));
        // The page's texts stay readable under those names.
        QAccessibleTextInterface* explanation =
            QAccessible::queryAccessibleInterface(form->Explanation)->textInterface();
        QVERIFY(explanation);
        QCOMPARE(explanation->text(0, explanation->characterCount()), QString("The first page"));
    }

    void theSecondMenuItemShowsTheAboutBox() {
        folder->Write("about.kb", "[Menus]\nabout=Über Fingerwise...\n[Bitmap]\nbitmap=kb.bmp\n");
        OpenLayout("about");
        QCOMPARE(form->PopupMenu1->actions(),
                 (QList<QAction*>{form->Changelayout1, form->About1, form->Explorer1}));
        QCOMPARE(form->About1->text(), QString("Über Fingerwise..."));
        QWidget* shown = nullptr;
        TModalAnswerer answerer([&shown](QWidget* w) {
            shown = w;
            static_cast<QDialog*>(w)->accept();
        });
        form->About1->trigger();
        QCOMPARE(answerer.Answered, 1);
        QCOMPARE(shown, static_cast<QWidget*>(form->AboutForm));
    }
};

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
