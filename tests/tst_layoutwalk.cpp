// Walks through every shipped layout file (data/*.kb) in the real window as a learner does: each
// exercise is completed by typing its correction, and each key group that has a page is reached
// by clicking it on the keyboard picture.

#include "CongratsDlg.h"
#include "KeyMap.h"
#include "LayoutFile.h"
#include "Main.h"
#include "TestSupport.h"
#include "TypingText.h"
#include "WindowMeasures.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

namespace {

QString PageText(const QString& file, const QString& stem, int page) {
    return ReadPageText(file, stem, page);
}

// The pages, in order, whose picture shows the group (compared as a click compares them).
QList<int> PagesOfGroup(const QString& file, const QString& group) {
    QList<int> pages;
    for (int page = 1; page <= LastPage; ++page)
        if (PageText(file, QStringLiteral("image"), page).compare(group, Qt::CaseInsensitive) == 0)
            pages << page;
    return pages;
}

// A page that shows the picture and on which the group reacts to the pointer; 0 if none.
int PageToClickFrom(const QString& file, int group) {
    for (int page = 1; page <= LastPage; ++page)
        if (ReactsOnPage(group, page) && !PageText(file, QStringLiteral("title"), page).isEmpty() &&
            !PageText(file, QStringLiteral("image"), page).isEmpty())
            return page;
    return 0;
}

// A pixel of the paint box where the group, and no group before it, takes the click.
std::optional<QPoint> PointOfGroup(const TMainForm& form, int group, int page) {
    const int width = form.PaintBox->width();
    for (const TKeyRect& rect : ParseKeyRects(form.KeyMap[group])) {
        const TKeyRect pixels = ScaleKeyRect(rect, width);
        for (int y = pixels.Top; y < pixels.Bottom; y += 2)
            for (int x = pixels.Left; x < pixels.Right; x += 2)
                if (KeyGroupAt(form.KeyMap, page, width, x, y) == group)
                    return QPoint(x, y);
    }
    return std::nullopt;
}

// Types the text key by key, as a keyboard sends it: each character with its key code.
void TypeText(QWidget* widget, const QString& text) {
    for (QChar ch : text)
        for (auto action : {QTest::Press, QTest::Release})
            QTest::sendKeyEvent(action, widget, Qt::Key(ch.toUpper().unicode()), QString(ch),
                                Qt::NoModifier);
}

} // namespace

class TestLayoutWalk : public QObject {
    Q_OBJECT

    std::unique_ptr<TMainForm> form;

    // The window showing a page of a shipped layout, as large as a learner's smallest window.
    void Open(const QString& file, int page) {
        form.reset(CreateForms());
        form->FirstShow = false;
        form->resize(TWindowMeasures::ReferenceClientSize);
        form->show();
        form->LayoutFileName = file;
        form->LoadLayoutFile();
        form->ShowPage(page);
    }

private slots:
    void cleanup() { form.reset(); }

    void everyExerciseCanBeCompleted_data();
    void everyExerciseCanBeCompleted();
    void everyGroupWithAPageIsReachedByClicking_data();
    void everyGroupWithAPageIsReachedByClicking();
};

void TestLayoutWalk::everyExerciseCanBeCompleted_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("page");
    for (const QString& file : ShippedLayoutFiles())
        for (int page = 1; page <= LastPage; ++page)
            if (!PageText(file, QStringLiteral("correction"), page).isEmpty())
                QTest::addRow("%s page %d", qPrintable(QFileInfo(file).fileName()), page)
                    << file << page;
}

void TestLayoutWalk::everyExerciseCanBeCompleted() {
    QFETCH(QString, file);
    QFETCH(int, page);
    const QString correction = PageText(file, QStringLiteral("correction"), page);

    int congratulated = 0;
    Open(file, page);
    QCOMPARE(form->PageNumber, page);
    QVERIFY(TypingModeOf(PageText(file, QStringLiteral("line1"), page)) != TypingMode::Hidden);
    TModalAnswerer answerer([&](QWidget* modal) {
        if (modal == form->CongratsDlg)
            ++congratulated;
        QTest::keyClick(modal, Qt::Key_Return);
    });

    // Replace the first line by the correction, one key at a time.
    QTest::keyClick(form->TypingBox, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(form->TypingBox, Qt::Key_End, Qt::ShiftModifier);
    TypeText(form->TypingBox, correction);

    QVERIFY2(congratulated == 1,
             qPrintable(QStringLiteral("typed \"%1\", the first line is \"%2\"")
                            .arg(correction, form->TypingBox->document()->firstBlock().text())));
    QCOMPARE(answerer.Answered, 1);
    QCOMPARE(form->PageNumber, page);
}

void TestLayoutWalk::everyGroupWithAPageIsReachedByClicking_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("group");
    for (const QString& file : ShippedLayoutFiles())
        for (int group = 0; group < KeyGroupCount; ++group)
            if (!PagesOfGroup(file, KeyGroupNames[group]).isEmpty() &&
                (ReactsOnPage(group, 1) || ReactsOnPage(group, 2)))
                QTest::addRow("%s %s", qPrintable(QFileInfo(file).fileName()),
                              KeyGroupNames[group].data())
                    << file << group;
}

void TestLayoutWalk::everyGroupWithAPageIsReachedByClicking() {
    QFETCH(QString, file);
    QFETCH(int, group);
    const int from = PageToClickFrom(file, group);
    QVERIFY2(from > 0, "no page shows the picture where the group reacts");
    Open(file, from);
    QCOMPARE(form->PageNumber, from);

    // A group whose keys all belong to a group before it too (the right Alt key of a US keyboard
    // is an Alt key and the key that other keyboards call AltGr) is reached through that group,
    // whose page shows the same key.
    int reached = group;
    std::optional<QPoint> point = PointOfGroup(*form, group, from);
    if (!point) {
        const std::vector<TKeyRect> rects = ParseKeyRects(form->KeyMap[group]);
        QVERIFY2(!rects.empty(), "the group has no co-ordinates");
        const TKeyRect pixels = ScaleKeyRect(rects.front(), form->PaintBox->width());
        point = QPoint((pixels.Left + pixels.Right) / 2, (pixels.Top + pixels.Bottom) / 2);
        reached = KeyGroupAt(form->KeyMap, from, form->PaintBox->width(), point->x(), point->y());
        QVERIFY2(reached >= 0 && PointOfGroup(*form, reached, from),
                 "the group's keys take no click");
        const std::vector<TKeyRect> shared = ParseKeyRects(form->KeyMap[reached]);
        for (const TKeyRect& rect : rects)
            QVERIFY2(std::find(shared.begin(), shared.end(), rect) != shared.end(),
                     "a group before it covers the group without sharing its keys");
        qInfo("%s is reached through %s", KeyGroupNames[group].data(),
              KeyGroupNames[reached].data());
    }
    QTest::mouseClick(form->PaintBox, Qt::LeftButton, Qt::NoModifier, *point);
    // Every page of the group is shown in turn, each recorded; the last one stays.
    const QList<int> pages = PagesOfGroup(file, KeyGroupNames[reached]);
    QVERIFY(!pages.isEmpty());
    QCOMPARE(form->PageNumber, pages.last());
    QCOMPARE(form->HistoryDepth, int(pages.size()));
    QCOMPARE(form->History[0], from);
}

QTEST_MAIN(TestLayoutWalk)

#include "tst_layoutwalk.moc"
