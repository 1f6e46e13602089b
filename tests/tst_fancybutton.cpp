// The fancy button as a learner meets it: hover, press, drag, release, groups, keys and the
// dialog it closes, driven by pointer and key events through the window.
#include "FancyButton.h"
#include "Registry.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QMetaProperty>
#include <QtTest>

#include <memory>

namespace {

const QPoint Inside(30, 20);

// The strip of the program's own Back button: five 100 x 48 pictures.
QPixmap BackStrip() {
    return QPixmap(QStringLiteral(":/buttons/back.bmp"));
}

// Counts the paint events that reach a widget.
class TPaintCounter : public QObject {
public:
    explicit TPaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int Count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++Count;
        return false;
    }
};

} // namespace

class TestFancyButton : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void defaultsAndDesignerProperties();
    void sizeFromStrip_data();
    void sizeFromStrip();
    void hoverEnterAndLeave();
    void pressDragOutAndBackThenRelease();
    void releaseOutsideGivesNoClick();
    void clickThatDisablesTheButton();
    void releaseOutsideStillClosesDialog();
    void zeroModalResultLeavesDialogOpen();
    void groupLatchesAndReleases();
    void allowAllUpSpreadsThroughGroup();
    void fastDoubleClickIsOneClick();
    void enterAndEscapeKeys();
    void accelerator();
    void setStateAndDisabledHover();
    void picturesOfTheStates();
    void systemColourChangeRebuildsDisabledPicture();
    void onePictureStripMovedByTwo();
    void latchedCheckerboard();
    void registeredForDesigner();
    void accessibleNameIsTheCaption_data();
    void accessibleNameIsTheCaption();
    void accessiblePushButton();
    void accessiblePressActsAsAClick();

private:
    // Moves the pointer to a point of a widget (pointer moves reach the window as from the
    // mouse: enter and leave events follow from them, and the real cursor position too).
    void MoveTo(QWidget* widget, QPoint pos);
    void Press(QPoint pos);
    void Release(QPoint pos);
    void Click(QPoint pos = Inside);
    TFancyButton* AddButton(QWidget* parent, QPoint at);
    QDialog* MakeDialog();

    std::unique_ptr<QWidget> Host;
    TFancyButton* Button = nullptr;
};

void TestFancyButton::init() {
    Host = std::make_unique<QWidget>();
    Host->setGeometry(100, 100, 400, 200);
    Button = AddButton(Host.get(), QPoint(20, 20));
    Host->show();
    QVERIFY(QTest::qWaitForWindowExposed(Host.get()));
    MoveTo(Host.get(), QPoint(300, 150)); // the pointer rests away from the button
}

void TestFancyButton::cleanup() {
    Host.reset();
}

TFancyButton* TestFancyButton::AddButton(QWidget* parent, QPoint at) {
    auto* button = new TFancyButton(parent);
    button->SetGlyph(BackStrip());
    button->SetNumGlyphs(5);
    button->move(at);
    button->SetCaption(QStringLiteral("Back"));
    return button;
}

QDialog* TestFancyButton::MakeDialog() {
    Host.reset();
    auto* dialog = new QDialog;
    Host.reset(dialog);
    dialog->setGeometry(100, 100, 300, 150);
    Button = AddButton(dialog, QPoint(20, 20));
    dialog->open();
    if (!QTest::qWaitForWindowExposed(dialog))
        return nullptr;
    MoveTo(dialog, QPoint(250, 120));
    return dialog;
}

void TestFancyButton::MoveTo(QWidget* widget, QPoint pos) {
    QCursor::setPos(widget->mapToGlobal(pos));
    QCoreApplication::processEvents();
}

void TestFancyButton::Press(QPoint pos) {
    MoveTo(Button, pos);
    QTest::mousePress(Button->window()->windowHandle(), Qt::LeftButton, {},
                      Button->mapTo(Button->window(), pos));
}

void TestFancyButton::Release(QPoint pos) {
    MoveTo(Button, pos);
    QTest::mouseRelease(Button->window()->windowHandle(), Qt::LeftButton, {},
                        Button->mapTo(Button->window(), pos));
}

void TestFancyButton::Click(QPoint pos) {
    Press(pos);
    Release(pos);
}

void TestFancyButton::defaultsAndDesignerProperties() {
    TFancyButton fresh;
    QCOMPARE(fresh.size(), QSize(22, 23));
    QCOMPARE(fresh.GetState(), TFancyButton::fbsMouseOut);
    QCOMPARE(fresh.GetNumGlyphs(), 1);
    QCOMPARE(fresh.GetTextShadowColor(), clNone);
    QVERIFY(fresh.GetGlyph().isNull());
    QVERIFY(fresh.hasMouseTracking());

    // Forms set the properties by these names; a misspelt one would silently do nothing.
    fresh.setProperty("Glyph", BackStrip());
    fresh.setProperty("NumGlyphs", 5);
    fresh.setProperty("State", QVariant::fromValue(TFancyButton::fbsDisabled));
    fresh.setProperty("ModalResult", 4);
    fresh.setProperty("GroupIndex", 3);
    fresh.setProperty("AllowAllUp", true);
    fresh.setProperty("Down", true);
    fresh.setProperty("TextOffsetLeft", 17);
    fresh.setProperty("TextOffsetTop", -2);
    fresh.setProperty("TextShadowColor", int(clBlack));
    fresh.setProperty("Caption", QStringLiteral("Next"));
    QVERIFY(fresh.dynamicPropertyNames().isEmpty());
    QCOMPARE(fresh.size(), QSize(100, 48));
    QCOMPARE(fresh.GetState(), TFancyButton::fbsExclusive); // latched after being disabled
    QVERIFY(fresh.GetDown());
    QCOMPARE(fresh.GetModalResult(), 4);
    QCOMPARE(fresh.GetGroupIndex(), 3);
    QVERIFY(fresh.GetAllowAllUp());
    QCOMPARE(fresh.GetTextOffsetLeft(), 17);
    QCOMPARE(fresh.GetTextOffsetTop(), -2);
    QCOMPARE(fresh.GetTextShadowColor(), clBlack);
    QCOMPARE(fresh.GetCaption(), QStringLiteral("Next"));
    QCOMPARE(fresh.GetGlyph().size(), QSize(500, 48));
    const QMetaObject* meta = fresh.metaObject();
    QCOMPARE(meta->property(meta->indexOfProperty("State")).enumerator().name(),
             "TFancyButtonState");
}

void TestFancyButton::sizeFromStrip_data() {
    QTest::addColumn<QSize>("strip");
    QTest::addColumn<int>("numGlyphs");
    QTest::addColumn<int>("count");
    QTest::addColumn<QSize>("size");
    QTest::newRow("one picture") << QSize(100, 48) << 1 << 1 << QSize(100, 48);
    QTest::newRow("four pictures") << QSize(400, 48) << 4 << 4 << QSize(100, 48);
    QTest::newRow("zero taken as one") << QSize(400, 48) << 0 << 1 << QSize(400, 48);
    QTest::newRow("negative taken as one") << QSize(400, 48) << -3 << 1 << QSize(400, 48);
    QTest::newRow("seven taken as five") << QSize(500, 48) << 7 << 5 << QSize(100, 48);
    QTest::newRow("count found in strip") << QSize(240, 48) << 5 << 5 << QSize(48, 48);
    QTest::newRow("empty strip") << QSize(0, 0) << 3 << 3 << QSize(0, 0);
}

void TestFancyButton::sizeFromStrip() {
    QFETCH(QSize, strip);
    QFETCH(int, numGlyphs);
    QFETCH(int, count);
    QFETCH(QSize, size);
    TFancyButton button;
    QImage image(strip, QImage::Format_RGB32);
    image.fill(Qt::gray);
    button.SetGlyphImage(image);
    button.SetNumGlyphs(numGlyphs);
    QCOMPARE(button.GetNumGlyphs(), count);
    QCOMPARE(button.size(), size);
}

void TestFancyButton::hoverEnterAndLeave() {
    MoveTo(Button, Inside);
    QVERIFY(Button->IsMouseOver());
    QCOMPARE(Button->GetState(), TFancyButton::fbsUp); // repainted at once
    MoveTo(Host.get(), QPoint(300, 150));
    QVERIFY(!Button->IsMouseOver());
    QTRY_COMPARE(Button->GetState(), TFancyButton::fbsMouseOut); // at the next paint
}

void TestFancyButton::pressDragOutAndBackThenRelease() {
    QSignalSpy clicks(Button, &TFancyButton::clicked);
    Press(Inside);
    QCOMPARE(Button->GetState(), TFancyButton::fbsDown);
    QVERIFY(Button->IsPressing());

    MoveTo(Button, QPoint(Button->width() + 5, 20)); // dragged off to the right
    QCOMPARE(Button->GetState(), TFancyButton::fbsUp);
    QVERIFY(Button->IsMouseOver()); // kept while the press lasts
    QEvent leave(QEvent::Leave);    // also where the platform reports leaving during the press
    QApplication::sendEvent(Button, &leave);
    QVERIFY(Button->IsMouseOver());
    MoveTo(Button, QPoint(Button->width(), 20)); // the right edge is outside
    QCOMPARE(Button->GetState(), TFancyButton::fbsUp);
    MoveTo(Button, QPoint(10, Button->height())); // the bottom edge still counts as inside
    QCOMPARE(Button->GetState(), TFancyButton::fbsDown);
    MoveTo(Button, QPoint(10, -1));
    QCOMPARE(Button->GetState(), TFancyButton::fbsUp);
    MoveTo(Button, Inside);
    QCOMPARE(Button->GetState(), TFancyButton::fbsDown);

    Release(Inside);
    QCOMPARE(clicks.count(), 1);
    QVERIFY(!Button->IsPressing());
    // Released, then found still under the pointer: the hover picture again.
    QVERIFY(Button->IsMouseOver());
    QTRY_COMPARE(Button->GetState(), TFancyButton::fbsUp);
}

void TestFancyButton::releaseOutsideGivesNoClick() {
    QSignalSpy clicks(Button, &TFancyButton::clicked);
    Press(Inside);
    MoveTo(Button, QPoint(-20, 20));
    QCOMPARE(Button->GetState(), TFancyButton::fbsUp);
    Release(QPoint(-20, 20));
    QCOMPARE(clicks.count(), 0);
    QVERIFY(!Button->IsMouseOver());
    QTRY_COMPARE(Button->GetState(), TFancyButton::fbsMouseOut);
}

void TestFancyButton::clickThatDisablesTheButton() {
    QDialog* dialog = MakeDialog();
    QVERIFY(dialog);
    Button->SetModalResult(1);
    int clicks = 0;
    connect(Button, &TFancyButton::clicked, Button, [&] {
        ++clicks;
        Button->SetState(TFancyButton::fbsDisabled);
    });
    Click();
    QCOMPARE(clicks, 1);
    QCOMPARE(Button->GetState(), TFancyButton::fbsDisabled);
    QVERIFY(!Button->isEnabled());
    QVERIFY(!Button->IsPressing());
    // The release found the press over: the dialog keeps going.
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->result(), 0);
}

void TestFancyButton::releaseOutsideStillClosesDialog() {
    QDialog* dialog = MakeDialog();
    QVERIFY(dialog);
    Button->SetModalResult(1);
    QSignalSpy clicks(Button, &TFancyButton::clicked);
    QSignalSpy finished(dialog, &QDialog::finished);
    Press(Inside);
    MoveTo(Button, QPoint(Button->width() + 30, 20));
    Release(QPoint(Button->width() + 30, 20));
    QCOMPARE(clicks.count(), 0);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), 1);
    QVERIFY(!dialog->isVisible());
}

void TestFancyButton::zeroModalResultLeavesDialogOpen() {
    QDialog* dialog = MakeDialog();
    QVERIFY(dialog);
    QSignalSpy clicks(Button, &TFancyButton::clicked);
    Click();
    QCOMPARE(clicks.count(), 1);
    QVERIFY(dialog->isVisible());
}

void TestFancyButton::groupLatchesAndReleases() {
    TFancyButton* first = Button;
    TFancyButton* second = AddButton(Host.get(), QPoint(140, 20));
    second->show();
    // Without a group a button cannot stay down.
    first->SetDown(true);
    QVERIFY(!first->GetDown());

    first->SetGroupIndex(1);
    second->SetGroupIndex(1);
    Click();
    QVERIFY(first->GetDown());
    QCOMPARE(first->GetState(), TFancyButton::fbsExclusive);

    // Pressed and dragged about, a latched button stays latched.
    Press(Inside);
    QCOMPARE(first->GetState(), TFancyButton::fbsExclusive);
    MoveTo(first, QPoint(-10, 10));
    QCOMPARE(first->GetState(), TFancyButton::fbsExclusive);
    Release(QPoint(-10, 10));
    QVERIFY(first->GetDown());
    QCOMPARE(first->GetState(), TFancyButton::fbsExclusive);

    // Clicking it again does not release it (all-up not allowed).
    Click();
    QVERIFY(first->GetDown());
    QCOMPARE(first->GetState(), TFancyButton::fbsExclusive);

    // Another button of the group going down releases it.
    Button = second;
    Click();
    QVERIFY(second->GetDown());
    QCOMPARE(second->GetState(), TFancyButton::fbsExclusive);
    QVERIFY(!first->GetDown());
    QTRY_COMPARE(first->GetState(), TFancyButton::fbsMouseOut);
}

void TestFancyButton::allowAllUpSpreadsThroughGroup() {
    TFancyButton* first = Button;
    TFancyButton* second = AddButton(Host.get(), QPoint(140, 20));
    TFancyButton* otherGroup = AddButton(Host.get(), QPoint(260, 20));
    QWidget elsewhere(Host.get());
    TFancyButton* otherParent = AddButton(&elsewhere, QPoint(0, 0));
    for (TFancyButton* b : {first, second, otherParent})
        b->SetGroupIndex(2);
    otherGroup->SetGroupIndex(3);

    second->SetAllowAllUp(true);
    QVERIFY(first->GetAllowAllUp());
    QVERIFY(second->GetAllowAllUp());
    QVERIFY(!otherGroup->GetAllowAllUp());
    QVERIFY(!otherParent->GetAllowAllUp());

    // With all-up allowed a latched button comes up when clicked again.
    Click();
    QVERIFY(first->GetDown());
    Click();
    QVERIFY(!first->GetDown());
    QCOMPARE(first->GetState(), TFancyButton::fbsUp); // the pointer is still over it

    // Turned off on one button, off for the group again.
    first->SetAllowAllUp(false);
    QVERIFY(!second->GetAllowAllUp());
}

void TestFancyButton::fastDoubleClickIsOneClick() {
    QSignalSpy clicks(Button, &TFancyButton::clicked);
    QSignalSpy doubleClicks(Button, &TFancyButton::doubleClicked);
    MoveTo(Button, Inside);
    QTest::mouseDClick(Button->window()->windowHandle(), Qt::LeftButton, {},
                       Button->mapTo(Button->window(), Inside));
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(doubleClicks.count(), 0);
    QVERIFY(!Button->IsPressing());

    // A latched button reports the double click.
    Button->SetGroupIndex(1);
    Button->SetDown(true);
    QTest::mouseDClick(Button->window()->windowHandle(), Qt::LeftButton, {},
                       Button->mapTo(Button->window(), Inside));
    QCOMPARE(doubleClicks.count(), 1);
}

void TestFancyButton::enterAndEscapeKeys() {
    QDialog* dialog = MakeDialog();
    QVERIFY(dialog);
    QSignalSpy clicks(Button, &TFancyButton::clicked);
    QSignalSpy finished(dialog, &QDialog::finished);

    // Escape does nothing for a button whose result is not Cancel (the key goes on to the
    // dialog, which closes itself on Escape with no result).
    Button->SetModalResult(1);
    QTest::keyClick(Button, Qt::Key_Escape);
    QCOMPARE(clicks.count(), 0);
    QCOMPARE(dialog->result(), 0);
    finished.clear();
    dialog->open();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));

    // Enter passes the result and clicks.
    QTest::keyClick(Button, Qt::Key_Return);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), 1);

    // Escape on a Cancel button closes with Cancel (not with the dialog's own "rejected").
    dialog->open();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    Button->SetModalResult(2);
    QTest::keyClick(Button, Qt::Key_Escape);
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(finished.count(), 2);
    QCOMPARE(finished.at(1).at(0).toInt(), 2);
    QCOMPARE(dialog->result(), 2);

    // Enter with no result clicks and leaves the dialog open.
    dialog->open();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    Button->SetModalResult(0);
    QTest::keyClick(Button, Qt::Key_Enter);
    QCOMPARE(clicks.count(), 3);
    QVERIFY(dialog->isVisible());
}

void TestFancyButton::accelerator() {
    QSignalSpy clicks(Button, &TFancyButton::clicked);
    Button->SetCaption(QStringLiteral("&Back"));
    Host->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Host.get()));
    QTest::keyClick(Host.get(), Qt::Key_B, Qt::AltModifier);
    QCOMPARE(clicks.count(), 1);
    QTest::keyClick(Host.get(), Qt::Key_N, Qt::AltModifier);
    QCOMPARE(clicks.count(), 1);

    // A doubled ampersand stands for itself; the accelerator follows the caption.
    Button->SetCaption(QStringLiteral("R&&D &next"));
    QTest::keyClick(Host.get(), Qt::Key_B, Qt::AltModifier);
    QTest::keyClick(Host.get(), Qt::Key_D, Qt::AltModifier);
    QCOMPARE(clicks.count(), 1);
    QTest::keyClick(Host.get(), Qt::Key_N, Qt::AltModifier);
    QCOMPARE(clicks.count(), 2);

    Button->SetState(TFancyButton::fbsDisabled);
    QTest::keyClick(Host.get(), Qt::Key_N, Qt::AltModifier);
    QCOMPARE(clicks.count(), 2);
}

void TestFancyButton::setStateAndDisabledHover() {
    TPaintCounter paints(Button);
    QTRY_VERIFY(paints.Count > 0 || Button->isVisible());
    QCoreApplication::processEvents();
    const int before = paints.Count;
    Button->SetState(TFancyButton::fbsMouseOut); // unchanged: no repaint
    QCOMPARE(paints.Count, before);

    MoveTo(Button, Inside);
    QVERIFY(Button->IsMouseOver());
    Button->SetState(TFancyButton::fbsDisabled);
    QVERIFY(!Button->isEnabled());
    QCOMPARE(paints.Count, before + 2); // the hover and the disabling, each at once
    QSignalSpy clicks(Button, &TFancyButton::clicked);
    Click();
    QCOMPARE(clicks.count(), 0);
    QCOMPARE(Button->GetState(), TFancyButton::fbsDisabled);

    // Leaving while disabled is ignored: enabled again, it shows the hover picture.
    MoveTo(Host.get(), QPoint(300, 150));
    QVERIFY(Button->IsMouseOver());
    Button->SetState(TFancyButton::fbsMouseOut);
    QVERIFY(Button->isEnabled());
    QCOMPARE(Button->GetState(), TFancyButton::fbsUp);
    // Until the pointer passes over it and leaves.
    MoveTo(Button, Inside);
    MoveTo(Host.get(), QPoint(300, 150));
    QTRY_COMPARE(Button->GetState(), TFancyButton::fbsMouseOut);
}

void TestFancyButton::picturesOfTheStates() {
    // Each state shows its cell of the strip; the disabled one is the outline cell recoloured.
    const QImage strip = BackStrip().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint probe(50, 10); // on the button's face, away from symbol and caption
    auto shown = [&] { return Button->grab().toImage().pixel(probe); };
    auto cell = [&](int i) { return strip.pixel(i * 100 + probe.x(), probe.y()); };
    QCOMPARE(shown(), cell(2));
    MoveTo(Button, Inside);
    QCOMPARE(shown(), cell(0));
    Press(Inside);
    QCOMPARE(shown(), cell(1));
    Release(Inside);
    Button->SetState(TFancyButton::fbsDisabled);
    const QImage disabled = Button->grab().toImage();
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 100; ++x) {
            const QColor source = strip.pixelColor(400 + x, y);
            if (source == QColor(128, 128, 128))
                QCOMPARE(disabled.pixel(x, y), ColorToQColor(clBtnShadow).rgb());
        }
    }
}

void TestFancyButton::systemColourChangeRebuildsDisabledPicture() {
    // A pixel of the outline that the disabled picture is recoloured from.
    const QImage strip = BackStrip().toImage().convertToFormat(QImage::Format_RGB32);
    QPoint outline;
    for (int x = 0; x < 100 && outline.isNull(); ++x)
        if (strip.pixel(400 + x, 24) == qRgb(128, 128, 128))
            outline = QPoint(x, 24);
    QVERIFY(!outline.isNull());
    Button->SetState(TFancyButton::fbsDisabled);
    const int slot = Button->ButtonGlyph()->SlotOf(TFancyButton::fbsDisabled);

    const QPalette saved = QApplication::palette();
    QPalette changed = saved;
    changed.setColor(QPalette::Dark, QColor(200, 0, 100));
    QApplication::setPalette(changed); // the button hears of it itself
    QCoreApplication::processEvents();
    QCOMPARE(Button->grab().toImage().pixel(outline), qRgb(200, 0, 100));
    QCOMPARE(Button->ButtonGlyph()->SlotOf(TFancyButton::fbsDisabled), slot);

    // A window passing the change on gets the same.
    changed.setColor(QPalette::Dark, QColor(0, 90, 10));
    QApplication::setPalette(changed);
    Button->CMSyscolorChange();
    QCOMPARE(Button->grab().toImage().pixel(outline), qRgb(0, 90, 10));
    QApplication::setPalette(saved);
}

void TestFancyButton::onePictureStripMovedByTwo() {
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(QColor(0, 128, 128));
    picture.setPixelColor(0, 0, QColor(200, 10, 10));
    picture.setPixelColor(39, 0, QColor(10, 200, 10));
    TFancyButton* one = AddButton(Host.get(), QPoint(150, 100));
    one->SetCaption(QString());
    one->SetGlyphImage(picture);
    one->SetNumGlyphs(1);
    QCOMPARE(one->size(), QSize(40, 20));
    one->show();
    const QImage shown = one->grab().toImage();
    QCOMPARE(shown.pixel(2, 2), qRgb(200, 10, 10));
    QVERIFY(shown.pixel(1, 1) != qRgb(200, 10, 10));
    QVERIFY(shown.pixel(39, 2) != qRgb(10, 200, 10)); // cut off at the right edge
}

void TestFancyButton::latchedCheckerboard() {
    Button->SetGroupIndex(1);
    Button->SetDown(true);
    const QImage shown = Button->grab().toImage();
    // The bottom-left corner of the picture is transparent: the checkerboard shows there.
    const QRgb light = ColorToQColor(clBtnHighlight).rgb();
    const QRgb face = ColorToQColor(clBtnFace).rgb();
    QVERIFY(light != face);
    QCOMPARE(shown.pixel(0, 47), face);
    QCOMPARE(shown.pixel(1, 47), light);
    QCOMPARE(shown.pixel(0, 46), light);
    QCOMPARE(shown.pixel(1, 46), face);
}

void TestFancyButton::registeredForDesigner() {
    FancyButtonUnit::Register();
    FancyButtonUnit::Register();
    int found = 0;
    for (const TRegisteredComponent& component : RegisteredComponents()) {
        if (component.Class != &TFancyButton::staticMetaObject)
            continue;
        ++found;
        QCOMPARE(component.Page, QStringLiteral("Brightmoss 2"));
        std::unique_ptr<QWidget> made(component.Create(nullptr));
        QVERIFY(qobject_cast<TFancyButton*>(made.get()));
    }
    QCOMPARE(found, 1);
}

void TestFancyButton::accessibleNameIsTheCaption_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "Back"
                           << "Back";
    QTest::newRow("mnemonic") << "&Next"
                              << "Next";
    QTest::newRow("mnemonic inside") << "E&xit"
                                     << "Exit";
    QTest::newRow("escaped ampersand") << "Save && Exit"
                                       << "Save & Exit";
    QTest::newRow("trailing marker") << "OK&"
                                     << "OK";
    QTest::newRow("non-ASCII") << "Zur\u00FCck"
                               << "Zur\u00FCck";
    QTest::newRow("empty") << ""
                           << "";
}

void TestFancyButton::accessibleNameIsTheCaption() {
    QFETCH(QString, caption);
    QFETCH(QString, name);
    Button->SetCaption(caption);
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(Button);
    QVERIFY(button);
    QCOMPARE(button->text(QAccessible::Name), name);
}

void TestFancyButton::accessiblePushButton() {
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(Button);
    QVERIFY(button);
    QCOMPARE(button->role(), QAccessible::Button);
    QVERIFY(button->actionInterface());
    QCOMPARE(button->actionInterface()->actionNames().value(0),
             QAccessibleActionInterface::pressAction());

    // The hint describes it; a mnemonic is its accelerator.
    Button->setToolTip(QStringLiteral("Go back to the previous page"));
    QCOMPARE(button->text(QAccessible::Description), QString("Go back to the previous page"));
    Button->SetCaption(QStringLiteral("&Back"));
    QCOMPARE(button->text(QAccessible::Accelerator),
             QKeySequence(Qt::ALT | Qt::Key_B).toString(QKeySequence::NativeText));

    // A new caption is a new name; an accessible name set by hand wins.
    Button->SetCaption(QStringLiteral("Previous"));
    QCOMPARE(button->text(QAccessible::Name), QString("Previous"));
    Button->setAccessibleName(QStringLiteral("Page back"));
    QCOMPARE(button->text(QAccessible::Name), QString("Page back"));

    // The states: disabled, latched in a group.
    Button->SetState(TFancyButton::fbsDisabled);
    QVERIFY(button->state().disabled);
    Button->SetState(TFancyButton::fbsMouseOut);
    QVERIFY(!button->state().disabled);
    QVERIFY(!button->state().checkable);
    Button->SetGroupIndex(1);
    Button->SetDown(true);
    QVERIFY(button->state().checkable);
    QVERIFY(button->state().checked);
}

void TestFancyButton::accessiblePressActsAsAClick() {
    QSignalSpy clicks(Button, &TFancyButton::clicked);
    QAccessibleActionInterface* actions =
        QAccessible::queryAccessibleInterface(Button)->actionInterface();
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(clicks.count(), 1);

    // A disabled button does nothing.
    Button->SetState(TFancyButton::fbsDisabled);
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(clicks.count(), 1);

    // On a dialog, the dialog closes with the button's modal result.
    QDialog* dialog = MakeDialog();
    QVERIFY(dialog);
    Button->SetModalResult(1);
    QSignalSpy finished(dialog, &QDialog::finished);
    QSignalSpy dialogClicks(Button, &TFancyButton::clicked);
    QAccessible::queryAccessibleInterface(Button)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    QCOMPARE(dialogClicks.count(), 1);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), 1);
}

QTEST_MAIN(TestFancyButton)
#include "tst_fancybutton.moc"
