// The windows' colours: every text of every window stays readable under a dark desktop palette,
// measured on grabs of the windows, and a light palette shows the windows' own colours unchanged.

#include "About.h"
#include "Application.h"
#include "Colors.h"
#include "CongratsDlg.h"
#include "FormStyle.h"
#include "Layout.h"
#include "Main.h"
#include "TestSupport.h"
#include "URLStatic.h"
#include "Version.h"

#include <QAbstractButton>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>

namespace {

const QByteArray Layout = R"(
[Explanation texts]
title-0=Letters
explanation-0=Each letter key types its letter.
task-0=Type the missing r.
line1-0=keyboad
correction-0=keyboard
[Messages]
continue=Press F12 to continue
[Bitmap]
bitmap=kb.bmp
)";

// A dark desktop palette of the usual kind: light text on dark grey.
QPalette DarkPalette() {
    const QColor window(53, 53, 53);
    const QColor text(240, 240, 240);
    QPalette palette(text, window, QColor(80, 80, 80), QColor(35, 35, 35), QColor(45, 45, 45), text,
                     Qt::red, QColor(42, 42, 42), window);
    palette.setColor(QPalette::Highlight, QColor(42, 130, 218));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::ToolTipBase, QColor(25, 25, 25));
    palette.setColor(QPalette::ToolTipText, text);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(127, 127, 127));
    return palette;
}

struct TMeasure {
    QColor Background;
    QColor Text;
    double Contrast = 1;
};

// The contrast of the text in an area of a window's grab. The background is the colour of
// median lightness there (push buttons' faces are gradients); the text is the colour that stands
// out most from it among those on three pixels or more, which leaves out stray pixels of the
// anti-aliased edges.
TMeasure MeasureText(const QImage& grab, const QRect& area) {
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[grab.pixel(x, y) | 0xFF000000u];
    if (counts.isEmpty())
        return {};
    // Lightness order: the contrast against black grows with the relative luminance.
    QList<std::pair<double, QRgb>> lightness;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        lightness.append({ContrastRatio(QColor(it.key()), Qt::black), it.key()});
    std::sort(lightness.begin(), lightness.end());
    qsizetype remaining = qsizetype(area.width()) * area.height() / 2;
    auto median = lightness.cbegin();
    while ((remaining -= counts[median->second]) >= 0)
        ++median;
    TMeasure measure{QColor(median->second), QColor(median->second), 1};
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        const double contrast = ContrastRatio(QColor(it.key()), measure.Background);
        if (it.value() >= 3 && contrast > measure.Contrast)
            measure = {measure.Background, QColor(it.key()), contrast};
    }
    return measure;
}

// The area of a text on its window's grab: a text box's text area, a push button's face inside
// its frame, a label's whole rectangle.
QRect TextArea(QWidget* text) {
    QWidget* shown = text;
    if (auto* box = qobject_cast<QAbstractScrollArea*>(text))
        shown = box->viewport();
    const int inset = qobject_cast<QAbstractButton*>(text) ? 4 : 1;
    const QRect area(shown->mapTo(shown->window(), QPoint(0, 0)), shown->size());
    return area.adjusted(inset, inset, -inset, -inset);
}

TMeasure MeasureText(QWidget* text) {
    return MeasureText(text->window()->grab().toImage(), TextArea(text));
}

QString Describe(const TMeasure& measure) {
    return QStringLiteral("text %1 on %2: %3:1")
        .arg(measure.Text.name(), measure.Background.name())
        .arg(measure.Contrast, 0, 'f', 2);
}

using TTextOf = QWidget* (*)(TMainForm&);
struct TText {
    const char* Name;
    TTextOf Widget;
};

// Every text of the windows the program makes at start-up.
const TText Texts[] = {
    {"main window, title", [](TMainForm& f) -> QWidget* { return f.Title; }},
    {"main window, explanation", [](TMainForm& f) -> QWidget* { return f.Explanation; }},
    {"main window, key description", [](TMainForm& f) -> QWidget* { return f.TooltipLabel; }},
    {"main window, task", [](TMainForm& f) -> QWidget* { return f.Task; }},
    {"main window, typing box", [](TMainForm& f) -> QWidget* { return f.TypingBox; }},
    {"main window, footer", [](TMainForm& f) -> QWidget* { return f.Footer; }},
    {"layout chooser, prompt", [](TMainForm& f) -> QWidget* { return f.LayoutForm->Label1; }},
    {"layout chooser, list", [](TMainForm& f) -> QWidget* { return f.LayoutForm->LayoutsList; }},
    {"layout chooser, OK", [](TMainForm& f) -> QWidget* { return f.LayoutForm->OKBtn; }},
    {"layout chooser, Cancel", [](TMainForm& f) -> QWidget* { return f.LayoutForm->CancelBtn; }},
    {"congratulations, message", [](TMainForm& f) -> QWidget* { return f.CongratsDlg->Memo1; }},
    {"About box, name", [](TMainForm& f) -> QWidget* { return f.AboutForm->NameLabel; }},
    {"About box, version", [](TMainForm& f) -> QWidget* { return f.AboutForm->VersionLabel1; }},
    {"About box, link", [](TMainForm& f) -> QWidget* { return f.AboutForm->URLStatic1; }},
    {"About box, OK", [](TMainForm& f) -> QWidget* { return f.AboutForm->Button1; }},
};

} // namespace

class TestFormColors : public QObject {
    Q_OBJECT

    QPalette LightPalette;
    std::unique_ptr<TProgramFolder> folder;
    std::unique_ptr<TMainForm> form;

    // The four windows with a page, a key description and a layout to choose filled in.
    TMainForm* MakeForms() {
        form.reset(CreateForms());
        form->ProgramFileName = folder->ProgramFile();
        form->FirstShow = false;
        form->resize(1000, 700);
        form->LayoutFileName = folder->FilePath("std.kb");
        form->LoadLayoutFile();
        form->ShowPage(1);
        form->TooltipLabel->setText(QStringLiteral("Shift: types capital letters"));
        for (const char* name : {"de-DE", "en-US", "fr-FR"})
            form->LayoutForm->AddLayout(QString::fromLatin1(name));
        form->LayoutForm->LayoutsList->setCurrentRow(1);
        // Shown without taking the focus, so that no caret stands among the texts.
        for (QWidget* window : std::initializer_list<QWidget*>{
                 form.get(), form->LayoutForm, form->CongratsDlg, form->AboutForm}) {
            window->setAttribute(Qt::WA_ShowWithoutActivating);
            window->show();
            if (!QTest::qWaitForWindowExposed(window))
                return nullptr;
        }
        return form.get();
    }

private slots:
    void initTestCase() {
        InstallFontSubstitutions();
        LightPalette = QApplication::palette();
    }

    void init() {
        folder = std::make_unique<TProgramFolder>();
        folder->Write("std.kb", Layout);
        QImage picture(32, 11, QImage::Format_RGB32);
        picture.fill(Qt::white);
        folder->Write("kb.bmp", BmpBytes(picture));
    }

    void cleanup() {
        form.reset();
        QApplication::setPalette(LightPalette);
    }

    void contrastRatio_data() {
        QTest::addColumn<QColor>("first");
        QTest::addColumn<QColor>("second");
        QTest::addColumn<double>("expected");
        QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
        QTest::newRow("white on black") << QColor(Qt::white) << QColor(Qt::black) << 21.0;
        QTest::newRow("same colour") << QColor(86, 86, 171) << QColor(86, 86, 171) << 1.0;
        QTest::newRow("slate blue on lavender")
            << QColor(86, 86, 171) << QColor(227, 227, 240) << 4.98;
        QTest::newRow("slate blue on white") << QColor(86, 86, 171) << QColor(Qt::white) << 6.34;
        QTest::newRow("pure blue on dark grey") << QColor(Qt::blue) << QColor(53, 53, 53) << 1.43;
        QTest::newRow("mid grey on white") << QColor(118, 118, 118) << QColor(Qt::white) << 4.54;
    }

    void contrastRatio() {
        QFETCH(QColor, first);
        QFETCH(QColor, second);
        QFETCH(double, expected);
        QCOMPARE(qRound(ContrastRatio(first, second) * 100), qRound(expected * 100));
    }

    // Under a dark palette, whether the desktop had it when the program started or switched to
    // it while the program runs.
    void textsReadableUnderDarkPalette_data() {
        QTest::addColumn<int>("text");
        QTest::addColumn<bool>("darkAtStart");
        for (bool darkAtStart : {true, false})
            for (int i = 0; i < int(std::size(Texts)); ++i)
                QTest::addRow("%s, %s", Texts[i].Name,
                              darkAtStart ? "dark at start" : "turned dark later")
                    << i << darkAtStart;
    }

    void textsReadableUnderDarkPalette() {
        QFETCH(int, text);
        QFETCH(bool, darkAtStart);
        if (darkAtStart)
            QApplication::setPalette(DarkPalette());
        QVERIFY(MakeForms());
        if (!darkAtStart) {
            QApplication::setPalette(DarkPalette());
            QApplication::processEvents(); // some controls take the new palette from an event
        }
        const TMeasure measure = MeasureText(Texts[text].Widget(*form));
        QVERIFY2(measure.Contrast >= MinimumTextContrast, qPrintable(Describe(measure)));
    }

    // The message boxes the program opens follow the palette as a whole.
    void messageBoxesReadableUnderDarkPalette_data() {
        QTest::addColumn<int>("box");
        QTest::newRow("missing picture") << 0;
        QTest::newRow("error display") << 1;
    }

    void messageBoxesReadableUnderDarkPalette() {
        QFETCH(int, box);
        QApplication::setPalette(DarkPalette());
        QVERIFY(MakeForms());
        QList<TMeasure> measures;
        TModalAnswerer answerer([&measures](QWidget* modal) {
            auto* message = qobject_cast<QMessageBox*>(modal);
            if (message) {
                for (auto* label : message->findChildren<QLabel*>())
                    if (!label->text().isEmpty())
                        measures << MeasureText(label);
                measures << MeasureText(message->button(QMessageBox::Ok));
            }
            modal->close();
        });
        if (box == 0) {
            folder->Write("std.kb", QByteArray(Layout).replace("kb.bmp", "none.bmp"));
            form->LoadLayoutFile();
        } else {
            TApplication::ShowException(QStringLiteral("Unknown error"));
            QTRY_COMPARE(answerer.Answered, 1);
        }
        QCOMPARE(answerer.Answered, 1);
        QCOMPARE(measures.size(), 2);
        for (const TMeasure& measure : measures)
            QVERIFY2(measure.Contrast >= MinimumTextContrast, qPrintable(Describe(measure)));
    }

    // Where the system's colours are readable the windows show them; where they are not, the
    // light desktop's colours stand behind the fixed texts.
    void backgroundsBehindFixedTexts_data() {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light palette") << false;
        QTest::newRow("dark palette") << true;
    }

    void backgroundsBehindFixedTexts() {
        QFETCH(bool, dark);
        if (dark)
            QApplication::setPalette(DarkPalette());
        QVERIFY(MakeForms());
        const QPalette& system = dark ? LightDesktopPalette() : LightPalette;
        const TMeasure typing = MeasureText(form->TypingBox);
        QCOMPARE(typing.Background, system.color(QPalette::Base));
        QCOMPARE(typing.Text, ColorToQColor(FormTextColor));
        const TMeasure link = MeasureText(form->AboutForm->URLStatic1);
        QCOMPARE(link.Background, system.color(QPalette::Button));
        QCOMPARE(link.Text, QColor(Qt::blue));
        const TMeasure name = MeasureText(form->AboutForm->NameLabel);
        QCOMPARE(name.Background, system.color(QPalette::Button));
        // The windows whose colours are all fixed keep them on every palette.
        const TMeasure title = MeasureText(form->Title);
        QCOMPARE(title.Background, ColorToQColor(FormColor));
        QCOMPARE(title.Text, ColorToQColor(FormTextColor));
        const TMeasure message = MeasureText(form->CongratsDlg->Memo1);
        QCOMPARE(message.Background, ColorToQColor(FormColor));
        QCOMPARE(message.Text, ColorToQColor(FormTextColor));
    }
};

QTEST_MAIN(TestFormColors)
#include "tst_formcolors.moc"
