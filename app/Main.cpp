#include "Main.h"

#include "About.h"
#include "Application.h"
#include "CongratsDlg.h"
#include "DirIterators.h"
#include "FormStyle.h"
#include "IniFile.h"
#include "KeyExplorer.h"
#include "KeyboardPicture.h"
#include "Layout.h"
#include "LayoutFile.h"
#include "TextWidgets.h"
#include "TypingText.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>

namespace {

constexpr int PictureWidth = 1536;
constexpr int PictureHeight = 522;
constexpr int HiddenTypingBoxTop = 1200;
constexpr int LeftSeparatorWidth = 9;
constexpr int TypingMarginLeft = 25;
constexpr int TypingMarginRight = 36;
constexpr int NumberedLinesFontSize = 10;

const QString Messages = QStringLiteral("Messages");

// A panel shows the window's background, which the window fills once for all of them.
QWidget* CreatePanel(QWidget* parent) {
    return new QWidget(parent);
}

// A read-only text box. It never takes the keyboard focus, so the keys of the typing box keep
// working after a click into it; its text can still be selected with the mouse.
QPlainTextEdit* CreateReadOnlyText(QWidget* parent) {
    auto* text = new TTextBox(parent);
    text->setReadOnly(true);
    text->setFocusPolicy(Qt::NoFocus);
    text->setFrameShape(QFrame::NoFrame);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    return text;
}

void SetPointSize(QWidget* widget, int points) {
    QFont font = widget->font();
    font.setPointSize(std::max(points, 1));
    widget->setFont(font);
}

TFancyButton* CreateButton(QWidget* parent, int left, const QString& glyph, int numGlyphs,
                           int textOffsetLeft, const QString& caption, const QString& hint) {
    auto* button = CreateGlyphButton(parent, glyph, numGlyphs, QRect(left, 4, 100, 48),
                                     QPoint(textOffsetLeft, -2), TahomaFont(16, false, true));
    button->SetCaption(caption);
    button->setToolTip(hint);
    return button;
}

} // namespace

TMainForm::TMainForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint)
    , ProgramFileName(QCoreApplication::applicationFilePath())
    , UserSettingsFileName(UserSettingsFilePath()) {
    setWindowTitle(QStringLiteral("Fingerwise"));
    SetHintPause(100);
    SetFormColors(this, FormColor, FormTextColor);
    QFont font(QStringLiteral("Tahoma"));
    setFont(font);
    CreateControls();
    TypingBox->setFocus();
}

TMainForm::~TMainForm() = default;

void TMainForm::CreateControls() {
    Title = new TTextLabel(QStringLiteral("Title"), this);
    Title->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont titleFont = font();
    titleFont.setBold(true);
    Title->setFont(titleFont);

    Panel1 = CreatePanel(this);
    LeftSeparator = CreatePanel(Panel1);
    Explanation = CreateReadOnlyText(Panel1);
    Explanation->setPlainText(QStringLiteral("Explanation"));
    PaintBox = new TPaintBox(this, Panel1);
    TooltipLabel = new TTextLabel(Panel1);
    TooltipLabel->setTextFormat(Qt::PlainText);
    TooltipLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    Task = CreateReadOnlyText(this);
    Task->document()->setDefaultTextOption(QTextOption(Qt::AlignHCenter));
    Task->setPlainText(QStringLiteral("Task"));

    TypingPanel = CreatePanel(this);
    TypingBox = new TTextBox(TypingPanel);
    TypingBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TypingBox->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    TypingBox->setTabChangesFocus(false);
    TypingBox->setPlainText(QStringLiteral("TypingBox"));
    SetTextBoxColors(TypingBox, clWindow, FormTextColor);
    TypingBox->installEventFilter(this);
    connect(TypingBox, &QPlainTextEdit::textChanged, this,
            [this] { RunHandler([this] { TypingBoxChange(); }); });

    BottomPanel = CreatePanel(this);
    Footer = new TTextLabel(QStringLiteral("Press F12 to continue"), BottomPanel);
    Footer->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    ButtonPanel = CreatePanel(BottomPanel);
    BackBtn = CreateButton(ButtonPanel, 0, QStringLiteral(":/buttons/back.bmp"), 5, 17,
                           QStringLiteral("Back"), QStringLiteral("Go back to the previous page"));
    NextBtn = CreateButton(ButtonPanel, 104, QStringLiteral(":/buttons/next.bmp"), 5, -17,
                           QStringLiteral("Next"), QStringLiteral("Proceed to the next page"));
    ExitBtn = CreateButton(ButtonPanel, 208, QStringLiteral(":/buttons/exit.bmp"), 4, -5,
                           QStringLiteral("Exit"), QStringLiteral("Close the Fingerwise program"));
    connect(BackBtn, &TFancyButton::clicked, this,
            [this] { RunHandler([this] { BackBtnClick(); }); });
    connect(NextBtn, &TFancyButton::clicked, this,
            [this] { RunHandler([this] { NextBtnClick(); }); });
    connect(ExitBtn, &TFancyButton::clicked, this, &QWidget::close);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setToolTipsVisible(true);
    Changelayout1 = PopupMenu1->addAction(QStringLiteral("Change layout..."));
    Changelayout1->setToolTip(QStringLiteral("Change the language and keyboard layout"));
    connect(Changelayout1, &QAction::triggered, this,
            [this] { RunHandler([this] { Changelayout1Click(); }); });
    About1 = PopupMenu1->addAction(QStringLiteral("About Fingerwise..."));
    connect(About1, &QAction::triggered, this, [this] { RunHandler([this] { About1Click(); }); });
    Explorer1 = PopupMenu1->addAction(QStringLiteral("Which key is this?..."));
    connect(Explorer1, &QAction::triggered, this,
            [this] { RunHandler([this] { Explorer1Click(); }); });
    for (QWidget* control : {static_cast<QWidget*>(Title), static_cast<QWidget*>(Explanation),
                             static_cast<QWidget*>(PaintBox), static_cast<QWidget*>(Task),
                             static_cast<QWidget*>(TypingBox), static_cast<QWidget*>(Footer)})
        AttachPopupMenu(control);
    NameForAssistiveTechnology();
}

void TMainForm::NameForAssistiveTechnology() {
    Explanation->setAccessibleName(QStringLiteral("Explanation"));
    PaintBox->setAccessibleName(QStringLiteral("Keyboard picture"));
    PaintBox->setAccessibleDescription(
        QStringLiteral("Point at a key to read what it does; click it to go to its page"));
    // The label's text is its name, so a screen reader hears each new key description.
    TooltipLabel->setAccessibleDescription(QStringLiteral("Key description"));
    Task->setAccessibleName(QStringLiteral("Task"));
    TypingBox->setAccessibleName(QStringLiteral("Typing box"));
}

void TMainForm::AttachPopupMenu(QWidget* control) {
    control->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* scrollArea = qobject_cast<QAbstractScrollArea*>(control);
    QWidget* origin = scrollArea ? scrollArea->viewport() : control;
    connect(control, &QWidget::customContextMenuRequested, this,
            [this, origin](const QPoint& pos) { PopupMenu1->popup(origin->mapToGlobal(pos)); });
}

TMainForm* CreateForms() {
    auto* mainForm = new TMainForm;
    mainForm->LayoutForm = new TLayoutForm(mainForm);
    mainForm->CongratsDlg = new TCongratsDlg(mainForm);
    mainForm->AboutForm = new TAboutForm(mainForm);
    return mainForm;
}

QString TMainForm::ProgramDirectoryName() const {
    return LayoutDirectory(ProgramFileName);
}

QString TMainForm::SettingsFileName() const {
    return SettingsFilePath(ProgramFileName);
}

// ---------------------------------------------------------------------------------------------
// Start-up and layout

void TMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (FirstShow)
        QTimer::singleShot(0, this, [this] { RunHandler([this] { FormShow(); }); });
}

void TMainForm::FormShow() {
    if (!FirstShow)
        return;
    FirstShow = false;
    const QString settings = SettingsFileName();
    const QString name = ReadRememberedLayout({settings, UserSettingsFileName});
    const QString layoutFile = LayoutFilePath(ProgramDirectoryName(), name);
    // A layout whose file has gone is no layout: the learner chooses one as at the first start.
    if (!name.isEmpty() && QFileInfo(layoutFile).isFile()) {
        LayoutFileName = layoutFile;
    } else if (ChooseLayout(settings).isEmpty()) {
        close();
        return;
    }
    LoadLayoutFile();
    ShowPage(1);
}

void TMainForm::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    KeepMaximisedSize();
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    KeepMaximisedSize();
    FormResize();
}

void TMainForm::FormResize() {
    const int h = height();
    const int w = width();
    const int windowFontSize = h / 28;
    SetPointSize(this, windowFontSize);

    Title->setGeometry(0, 0, w, h / 10);
    SetPointSize(Title, h / 18);

    const int explanationWidth = w * 2 / 5;
    SetPointSize(Explanation, h / 36);
    const int paintBoxLeft = LeftSeparatorWidth + explanationWidth;
    const int paintBoxWidth = std::max(w - paintBoxLeft, 0);
    const int paintBoxHeight = paintBoxWidth * PictureHeight / PictureWidth;
    const int tooltipFontSize = windowFontSize;
    const int panel1Height = 2 * tooltipFontSize + paintBoxHeight;
    Panel1->setGeometry(0, Title->height(), w, panel1Height);
    LeftSeparator->setGeometry(0, 0, LeftSeparatorWidth, panel1Height);
    Explanation->setGeometry(LeftSeparatorWidth, 0, explanationWidth, panel1Height);
    PaintBox->setGeometry(paintBoxLeft, 0, paintBoxWidth, paintBoxHeight);
    // A fixed size: a new description repaints the label and asks no layout of its parent.
    TooltipLabel->setFixedSize(paintBoxWidth, 2 * tooltipFontSize);
    TooltipLabel->move(paintBoxLeft, paintBoxHeight);

    Task->setGeometry(0, Panel1->y() + panel1Height, w, h / 7);
    SetPointSize(TypingBox, h / 32);

    int bottomHeight = BackBtn->height() + 10;
    if (2 * windowFontSize > bottomHeight)
        bottomHeight = 2 * windowFontSize;
    BottomPanel->setGeometry(0, h - bottomHeight, w, bottomHeight);
    ButtonPanel->setGeometry(std::max(w - 320, 0), 0, 320, bottomHeight);
    Footer->setGeometry(0, 0, ButtonPanel->x(), bottomHeight);

    const int typingTop = Task->y() + Task->height();
    TypingPanel->setGeometry(0, typingTop, w, std::max(BottomPanel->y() - typingTop, 0));
    PositionTypingBox();
}

// Once maximised, the window keeps that size: its size is fixed, so the learner cannot resize it by
// dragging. Window managers that keep no window of fixed size maximised restore it then; it goes
// back once to the place it had while maximised.
void TMainForm::KeepMaximisedSize() {
    const QScreen* display = screen();
    if (!display || isMinimized())
        return;
    if (MaximisedArea.isNull()) {
        const QRect workArea = display->availableGeometry();
        if (isMaximized() && frameGeometry().size() == workArea.size()) {
            const QPoint frameOffset = geometry().topLeft() - frameGeometry().topLeft();
            MaximisedArea = QRect(workArea.topLeft() + frameOffset, size());
            PlacingBack = true;
            setFixedSize(size());
        }
    } else if (PlacingBack && !isMaximized() && geometry() != MaximisedArea) {
        PlacingBack = false;
        setGeometry(MaximisedArea);
    }
}

void TMainForm::PositionTypingBox() {
    if (TypingBoxAligned) {
        TypingBox->setGeometry(
            TypingMarginLeft, 0,
            std::max(TypingPanel->width() - TypingMarginLeft - TypingMarginRight, 0),
            TypingPanel->height());
    } else {
        // Out of sight below the panel, also where the panel is taller than the usual place.
        TypingBox->move(TypingBox->x(), std::max(HiddenTypingBoxTop, TypingPanel->height()));
    }
}

void TMainForm::LoadLayoutFile() {
    ShownPictureErrors.clear();
    const QString bitmap = ReadLayoutText(LayoutFileName, QStringLiteral("Bitmap"),
                                          QStringLiteral("bitmap"), QString(), 10);
    KeyboardPicture.reset();
    QImage picture = LoadKeyboardPicture(bitmap, LayoutFileName);
    // A layout file that is there but cannot be read leaves the window without its texts: that
    // is the one message, not the picture it could not name.
    if (const QString problem = LayoutFileProblem(LayoutFileName); !problem.isEmpty()) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Unreadable file"), problem,
                        QMessageBox::Ok, this);
        box.exec();
    } else if (picture.isNull()) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Missing file"),
                        QStringLiteral("The program could not load the keyboard image file"),
                        QMessageBox::Ok, this);
        box.exec();
    } else {
        KeyboardPicture = picture;
    }

    auto read = [this](const QString& section, const QString& key, const QString& defaultValue) {
        return ReadLayoutText(LayoutFileName, section, key, defaultValue);
    };
    const QString buttons = QStringLiteral("Buttons");
    const QString hints = QStringLiteral("Hints");
    Footer->setText(
        read(Messages, QStringLiteral("continue"), QStringLiteral("Press F12 to continue")));
    CongratsDlg->setWindowTitle(
        read(Messages, QStringLiteral("congrats0"), QStringLiteral("Congratulations")));
    CongratsDlg->SetMessage(
        read(Messages, QStringLiteral("congrats1"), QStringLiteral("Well done!")),
        read(Messages, QStringLiteral("congrats2"),
             QStringLiteral("Press Enter to return to the training program")));
    BackBtn->SetCaption(read(buttons, QStringLiteral("Back"), QStringLiteral("Back")));
    NextBtn->SetCaption(read(buttons, QStringLiteral("Next"), QStringLiteral("Next")));
    ExitBtn->SetCaption(read(buttons, QStringLiteral("Exit"), QStringLiteral("Exit")));
    CongratsDlg->OKBtn->SetCaption(read(buttons, QStringLiteral("OK"), QStringLiteral("OK")));
    for (int i = 0; i < KeyGroupCount; ++i)
        KeyMap[i] = read(QStringLiteral("Key co-ordinates"), KeyGroupNames[i], QString());
    BackBtn->setToolTip(read(hints, QStringLiteral("prev"), QString()));
    NextBtn->setToolTip(read(hints, QStringLiteral("next"), QString()));
    ExitBtn->setToolTip(read(hints, QStringLiteral("exit"), QString()));
    Changelayout1->setToolTip(read(hints, QStringLiteral("layout"), QString()));
    Changelayout1->setText(read(QStringLiteral("Menus"), QStringLiteral("layout"),
                                QStringLiteral("Change layout...")));
    About1->setToolTip(read(hints, QStringLiteral("about"), QString()));
    About1->setText(read(QStringLiteral("Menus"), QStringLiteral("about"),
                         QStringLiteral("About Fingerwise...")));
    Explorer1->setToolTip(
        read(hints, QStringLiteral("explorer"), QStringLiteral("Press any key to see what it is")));
    Explorer1->setText(read(QStringLiteral("Menus"), QStringLiteral("explorer"),
                            QStringLiteral("Which key is this?...")));
}

// ---------------------------------------------------------------------------------------------
// Pages and navigation

void TMainForm::ShowPage(int n) {
    const int page = FindPage(LayoutFileName, n);
    if (page == 0)
        return;
    LoadingPage = true;
    CheckAfterLoad = false;
    PageNumber = page;
    BackBtn->SetState(HistoryDepth > 0 ? TFancyButton::fbsMouseOut : TFancyButton::fbsDisabled);
    NextBtn->SetState(page >= LastPage ? TFancyButton::fbsDisabled : TFancyButton::fbsMouseOut);
    Title->setText(ReadPageText(LayoutFileName, QStringLiteral("title"), page));
    Explanation->setPlainText(ReadPageText(LayoutFileName, QStringLiteral("explanation"), page));
    const bool hasImage = !ReadPageText(LayoutFileName, QStringLiteral("image"), page).isEmpty();
    PaintBox->setVisible(hasImage);
    if (hasImage)
        RunPictureHandler([this] { PaintBoxPaint(); });
    Task->setPlainText(ReadPageText(LayoutFileName, QStringLiteral("task"), page));
    PrepareTypingBox(page);
    Footer->setVisible(page != LastPage);
    TypingBox->setFocus();
    ClearKeyDescription();
    LoadingPage = false;
    if (CheckAfterLoad)
        TypingBoxChange();
}

void TMainForm::PrepareTypingBox(int page) {
    const QString line1 = ReadPageText(LayoutFileName, QStringLiteral("line1"), page);
    const TypingMode mode = TypingModeOf(line1);
    if (mode == TypingMode::Hidden) {
        TypingBoxAligned = false;
        PositionTypingBox();
        return;
    }
    TypingBoxAligned = true;
    PositionTypingBox();
    if (mode == TypingMode::NumberedLines) {
        SetTypingFontSize(NumberedLinesFontSize);
        TypingBox->setPlainText(
            NumberedLines(ReadLayoutText(LayoutFileName, Messages, QStringLiteral("thisisline"),
                                         QStringLiteral("This is line number "), 100)));
    } else {
        SetTypingFontSize(height() / 32);
        TypingBox->setPlainText(
            ExerciseText(line1, ReadPageText(LayoutFileName, QStringLiteral("line2"), page)));
    }
    const int caret =
        ReadProfileInt(ExplanationTexts, PageKey(QStringLiteral("caret"), page), 0, LayoutFileName);
    QTextCursor cursor = TypingBox->textCursor();
    cursor.setPosition(CaretOffsetToPosition(TypingBox->toPlainText(), caret));
    TypingBox->setTextCursor(cursor);
}

void TMainForm::SetTypingFontSize(int points) {
    SetPointSize(TypingBox, points);
}

void TMainForm::PushHistory() {
    if (HistoryDepth < HistorySize)
        History[HistoryDepth++] = PageNumber;
}

void TMainForm::NextBtnClick() {
    PushHistory();
    ShowPage(PageNumber + 1);
}

void TMainForm::BackBtnClick() {
    if (HistoryDepth == 0) {
        ShowPage(-1);
        return;
    }
    --HistoryDepth;
    ShowPage(History[HistoryDepth]);
}

void TMainForm::Restart() {
    HistoryDepth = 0;
    ShowPage(1);
}

// ---------------------------------------------------------------------------------------------
// Typing check and keys

// The first paragraph up to its first wrap. The box's own layout wraps at the box's width, and it
// follows the font keys and every resize; a box that has no width yet does not wrap at all.
QString TMainForm::FirstDisplayedLine() const {
    const QTextBlock block = TypingBox->document()->firstBlock();
    if (auto* layout =
            qobject_cast<QPlainTextDocumentLayout*>(TypingBox->document()->documentLayout()))
        layout->ensureBlockLayout(block);
    const QTextLayout* textLayout = block.layout();
    if (!textLayout || textLayout->lineCount() == 0)
        return block.text();
    const QTextLine line = textLayout->lineAt(0);
    QString text = block.text().mid(line.textStart(), line.textLength());
    // A wrapped line ends in the blank at which it wraps; the box does not show that blank.
    if (textLayout->lineCount() > 1)
        while (text.endsWith(u' '))
            text.chop(1);
    return text;
}

// QLabel::clear repaints the label even when it is empty, as it is at most keystrokes.
void TMainForm::ClearKeyDescription() {
    if (!TooltipLabel->text().isEmpty())
        TooltipLabel->clear();
}

void TMainForm::TypingBoxChange() {
    ClearKeyDescription();
    if (LoadingPage) {
        CheckAfterLoad = true;
        return;
    }
    if (TypingBox->document()->isEmpty())
        return;
    const QString firstLine = FirstDisplayedLine();
    if (firstLine.isEmpty())
        return;
    if (firstLine != ReadPageText(LayoutFileName, QStringLiteral("correction"), PageNumber))
        return;
    if (CongratsDlg->exec() == TCongratsDlg::NextPageResult)
        NextBtnClick();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == TypingBox && event->type() == QEvent::KeyPress) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        RunHandler([&] { TypingBoxKeyDown(keyEvent->key(), keyEvent->modifiers()); });
        // Keys held with Alt are commands, not text: Alt+C must not also type a "c". AltGr, which
        // arrives as Ctrl+Alt on Windows, types the third sign of a key (@, €, {) as text.
        const Qt::KeyboardModifiers modifiers = keyEvent->modifiers();
        if (modifiers.testFlag(Qt::AltModifier) && !modifiers.testFlag(Qt::ControlModifier) &&
            !keyEvent->text().isEmpty())
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TMainForm::TypingBoxKeyDown(int key, Qt::KeyboardModifiers shift) {
    if (key == Qt::Key_Escape)
        close();
    if (key == Qt::Key_F10)
        Restart();
    if (key == Qt::Key_F11)
        BackBtnClick();
    if (key == Qt::Key_F12)
        NextBtnClick();
    if (key == Qt::Key_B && shift.testFlag(Qt::ControlModifier)) {
        QFont font = TypingBox->font();
        font.setBold(!font.bold());
        TypingBox->setFont(font);
    }
    if (key == Qt::Key_C && shift.testFlag(Qt::AltModifier)) {
        QPalette palette = TypingBox->palette();
        const TColor color = QColorToColor(palette.color(QPalette::Text));
        palette.setColor(QPalette::Text, ColorToQColor(NextTypingColor(color)));
        TypingBox->setPalette(palette);
    }
    if (key == Qt::Key_F2)
        SetTypingFontSize(TypingBox->font().pointSize() + 1);
    if (key == Qt::Key_F3 && TypingBox->font().pointSize() > 3)
        SetTypingFontSize(TypingBox->font().pointSize() - 1);
    const QString text = TypingBox->toPlainText();
    const int caret = PositionToCaretOffset(text, TypingBox->textCursor().selectionStart());
    auto moveCaret = [&](int offset) {
        QTextCursor cursor = TypingBox->textCursor();
        cursor.setPosition(CaretOffsetToPosition(text, offset));
        TypingBox->setTextCursor(cursor);
    };
    if (key == Qt::Key_PageDown && caret > PageDownThreshold)
        moveCaret(PageDownTarget);
    if (key == Qt::Key_PageUp && caret < PageUpThreshold)
        moveCaret(0);
}

// ---------------------------------------------------------------------------------------------
// Layout choice

QString TMainForm::ChooseLayout(const QString& settingsFileName) {
    const QString current = ReadRememberedLayout({settingsFileName, UserSettingsFileName});
    const QString directory = ProgramDirectoryName();
    QListWidget* list = LayoutForm->LayoutsList;
    LayoutForm->LayoutDirectory = directory;
    list->clear();
    for (TFileIterator files(directory, QStringLiteral("*.kb")); files.Current; files.Next()) {
        const QString name = BaseName(*files.Current);
        if (!name.isEmpty() && !name.contains(u'\n') && !name.contains(u'\r'))
            LayoutForm->AddLayout(name);
    }
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->text().compare(current, Qt::CaseInsensitive) == 0) {
            list->setCurrentRow(row); // selecting shows the prompt of that layout
            break;
        }
    }
    const int result = LayoutForm->exec();
    QListWidgetItem* selected = list->currentItem();
    if (result == TLayoutForm::CancelResult || !selected || !selected->isSelected())
        return QString();
    const QString name = CutToCharacters(selected->text(), ValueBufferSize - 1);
    RememberLayout(name, settingsFileName);
    LayoutFileName = LayoutFilePath(directory, name);
    return name;
}

void TMainForm::RememberLayout(const QString& name, const QString& settingsFileName) {
    if (RememberLayoutName({settingsFileName, UserSettingsFileName}, name) || ToldNotRemembered)
        return;
    ToldNotRemembered = true;
    QMessageBox box(QMessageBox::Information, QStringLiteral("Layout not remembered"),
                    QStringLiteral("The chosen layout is used now, but the next start will not "
                                   "remember it: neither the settings file %1 nor %2 can be "
                                   "written.")
                        .arg(QDir::toNativeSeparators(settingsFileName),
                             QDir::toNativeSeparators(UserSettingsFileName)),
                    QMessageBox::Ok, this);
    box.exec();
}

void TMainForm::Changelayout1Click() {
    if (ChooseLayout(SettingsFileName()).isEmpty())
        return;
    LoadLayoutFile();
    ShowPage(PageNumber > 0 ? PageNumber : 1);
}

void TMainForm::About1Click() {
    if (AboutForm)
        AboutForm->exec();
}

void TMainForm::Explorer1Click() {
    TKeyExplorer explorer(LayoutFileName, KeyMap, KeyboardPicture ? &*KeyboardPicture : nullptr,
                          this);
    if (explorer.exec() != TKeyExplorer::GoToPageResult)
        return;
    PushHistory();
    ShowPage(explorer.PageOfLastKey());
}

// ---------------------------------------------------------------------------------------------
// Keyboard picture

void TMainForm::HighlightKeyGroup(const QString& name) {
    const int index = KeyGroupIndex(name);
    if (index < 0)
        return;
    std::vector<TKeyRect> rects = ParseKeyRects(KeyMap[index]);
    for (TKeyRect& rect : rects)
        rect = ScaleKeyRect(rect, PaintBox->width());
    const QImage& stretched = StretchedPicture.For(KeyboardPicture ? &*KeyboardPicture : nullptr,
                                                   PaintBox->size(), PaintBox->devicePixelRatio());
    PaintBox->Present(stretched, rects);
}

QString TMainForm::PageKeyGroup() const {
    return ReadPageText(LayoutFileName, QStringLiteral("image"), PageNumber);
}

void TMainForm::PaintBoxPaint() {
    const QString name = PageKeyGroup();
    if (!name.isEmpty())
        HighlightKeyGroup(name);
}

void TMainForm::PaintBoxMouseMove(int x, int y) {
    const int index = KeyGroupAt(KeyMap, PageNumber, PaintBox->width(), x, y);
    if (index < 0) {
        ClearKeyDescription();
        // Leaving the areas of the keyboard page shows the page's own group again.
        if (PageNumber == 2)
            PaintBoxPaint();
        return;
    }
    TooltipLabel->setText(ReadLayoutText(LayoutFileName, QStringLiteral("Key descriptions"),
                                         QStringLiteral("descr-") + KeyGroupNames[index], QString(),
                                         30));
    if (PageNumber == 2)
        HighlightKeyGroup(KeyGroupNames[index]);
}

void TMainForm::PaintBoxMouseLeave() {
    if (PageNumber == 2)
        PaintBoxPaint();
}

void TMainForm::PaintBoxMouseUp(int x, int y) {
    const int index = KeyGroupAt(KeyMap, PageNumber, PaintBox->width(), x, y);
    if (index < 0)
        return;
    for (int page = 1; page <= LastPage; ++page) {
        const QString name = ReadPageText(LayoutFileName, QStringLiteral("image"), page);
        if (!name.isEmpty() && name.compare(KeyGroupNames[index], Qt::CaseInsensitive) == 0) {
            PushHistory();
            ShowPage(page);
        }
    }
}

void TMainForm::RunPictureHandler(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        const QString message = QString::fromUtf8(error.what());
        if (!ShownPictureErrors.contains(message)) {
            ShownPictureErrors.insert(message);
            TApplication::ShowException(message);
        }
    }
}

void TMainForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        KeepMaximisedSize();
    if (event->type() == QEvent::ApplicationPaletteChange)
        SysColorsChanged();
}

void TMainForm::SysColorsChanged() {
    BackBtn->CMSyscolorChange();
    NextBtn->CMSyscolorChange();
}

TPaintBox::TPaintBox(TMainForm* form, QWidget* parent)
    : QWidget(parent)
    , Form(form) {
    setMouseTracking(true);
    // The paint event covers every pixel, so the panel below need not be filled first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPaintBox::Present(const QImage& stretched, const std::vector<TKeyRect>& rects) {
    Shown.Light(stretched, rects);
    if (Painting || Shown.Changed().isEmpty())
        return;
    // Only what changed is drawn again, in the box's own pixels, as it stands.
    Presented = true;
    const qreal ratio = devicePixelRatio();
    for (const QRect& device : Shown.Changed())
        update(LogicalRect(device, ratio).toAlignedRect());
}

void TPaintBox::paintEvent(QPaintEvent*) {
    const auto current = [this] {
        return Shown.Stretched().deviceIndependentSize() == QSizeF(size());
    };
    if (!Presented || !current()) {
        // Uncovered or resized: the page's own keys are drawn, as the page shows them.
        Painting = true;
        Form->RunPictureHandler([this] { Form->PaintBoxPaint(); });
        Painting = false;
    }
    Presented = false;
    QPainter painter(this);
    if (!current()) // no picture, or one for another size
        painter.fillRect(rect(), palette().window());
    Shown.Draw(painter);
}

void TPaintBox::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    Form->RunPictureHandler([&] { Form->PaintBoxMouseMove(pos.x(), pos.y()); });
}

void TPaintBox::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    Form->RunPictureHandler([&] { Form->PaintBoxMouseUp(pos.x(), pos.y()); });
}

void TPaintBox::leaveEvent(QEvent*) {
    Form->RunPictureHandler([&] { Form->PaintBoxMouseLeave(); });
}
