#pragma once

#include "FancyButton.h"
#include "KeyMap.h"
#include "KeyboardPicture.h"

#include <QImage>
#include <QSet>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPlainTextEdit;
class TAboutForm;
class TCongratsDlg;
class TLayoutForm;
class TPaintBox;

// The tutorial's main window: one page at a time, with its title, explanation, keyboard picture,
// task and typing box, the Back, Next and Exit buttons, and the pop-up menu.
class TMainForm : public QWidget {
    Q_OBJECT

public:
    static constexpr int HistorySize = 500;

    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // The companion windows, created after the main window (see CreateForms).
    TLayoutForm* LayoutForm = nullptr;
    TCongratsDlg* CongratsDlg = nullptr;
    TAboutForm* AboutForm = nullptr;

    // The program's full file name: the settings file and the layout files stand beside it.
    QString ProgramFileName;
    // The user's own settings file, used when the one beside the program cannot be written.
    QString UserSettingsFileName;

    // Window state.
    int PageNumber = 0;
    QString LayoutFileName;
    std::optional<QImage> KeyboardPicture;
    int HistoryDepth = 0;
    std::array<int, HistorySize> History{};
    bool FirstShow = true;

    // Controls.
    QLabel* Title = nullptr;
    QWidget* Panel1 = nullptr;
    QWidget* LeftSeparator = nullptr;
    QPlainTextEdit* Explanation = nullptr;
    TPaintBox* PaintBox = nullptr;
    QLabel* TooltipLabel = nullptr;
    QPlainTextEdit* Task = nullptr;
    QWidget* TypingPanel = nullptr;
    QPlainTextEdit* TypingBox = nullptr;
    QWidget* BottomPanel = nullptr;
    QLabel* Footer = nullptr;
    QWidget* ButtonPanel = nullptr;
    TFancyButton* BackBtn = nullptr;
    TFancyButton* NextBtn = nullptr;
    TFancyButton* ExitBtn = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* Changelayout1 = nullptr;
    QAction* About1 = nullptr;
    QAction* Explorer1 = nullptr;

    // Start-up flow of the first showing: layout name, layout file, page 1.
    void FormShow();
    // Proportional layout of every control from the client size.
    void FormResize();
    // Reads the window-wide values of the layout file and applies them.
    void LoadLayoutFile();

    // Pages and navigation.
    void ShowPage(int n);
    void NextBtnClick();
    void BackBtnClick();
    void Restart();

    // The typing check and the keys of the typing box.
    void ClearKeyDescription();
    void TypingBoxChange();
    void TypingBoxKeyDown(int key, Qt::KeyboardModifiers shift);

    // Layout choice.
    QString ChooseLayout(const QString& settingsFileName);
    // Writes the chosen layout into the settings file, or into the user's own when that cannot be
    // written; where neither can, tells the learner, once per run, that the choice is not
    // remembered.
    void RememberLayout(const QString& name, const QString& settingsFileName);
    void Changelayout1Click();

    // Shows the About box modally.
    void About1Click();
    // Opens the key explorer; its "Go to its page" shows that page as a click on the picture does.
    void Explorer1Click();

    // The keyboard picture.
    TKeyMap KeyMap;
    TStretchedPicture StretchedPicture;
    void HighlightKeyGroup(const QString& name);
    void PaintBoxPaint();
    void PaintBoxMouseMove(int x, int y);
    void PaintBoxMouseUp(int x, int y);
    void PaintBoxMouseLeave();
    void SysColorsChanged();
    // Runs a paint, hover or click handler of the picture. An error (a co-ordinates value that is
    // not a valid integer) abandons the handler; each error is shown once per layout load, so the
    // learner can go on moving the pointer after answering it.
    void RunPictureHandler(const std::function<void()>& handler);

    // The directory of the layout files: beside the program, or an installed program's data
    // directory (LayoutDirectory).
    QString ProgramDirectoryName() const;
    QString SettingsFileName() const;

protected:
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void AttachPopupMenu(QWidget* control);
    // Names and descriptions that screen readers read for the controls without a caption.
    void NameForAssistiveTechnology();
    void PushHistory();
    void PrepareTypingBox(int page);
    void SetTypingFontSize(int points);
    QString FirstDisplayedLine() const;
    QString PageKeyGroup() const;
    void PositionTypingBox();
    void KeepMaximisedSize();

    // The typing box fills its panel unless a hidden page has moved it out of sight.
    bool TypingBoxAligned = true;
    // A page load is under way; a change of the typing text then checks once the load is done.
    bool LoadingPage = false;
    bool CheckAfterLoad = false;
    // The learner has been told that the layout choice cannot be remembered.
    bool ToldNotRemembered = false;
    // Where the window's client area lay while maximised (empty until then); the window keeps
    // that size, and is put back there once if the window manager restores it.
    QRect MaximisedArea;
    bool PlacingBack = false;
    // The picture errors shown since the layout file was loaded.
    QSet<QString> ShownPictureErrors;
};

// Creates the program's four windows in order: the main window, the layout chooser, the
// congratulations dialog and the About box; the main window owns the other three.
TMainForm* CreateForms();

// The paint box that shows the keyboard picture; its events go to the main window's handlers.
class TPaintBox : public QWidget {
    Q_OBJECT

public:
    explicit TPaintBox(TMainForm* form, QWidget* parent);

    // Shows the picture composed with the rectangles (in paint box pixels), replacing what the box
    // showed; what changed is drawn again on the next paint.
    void Present(const QImage& stretched, const std::vector<TKeyRect>& rects);
    // What the box shows, drawn into an image.
    QImage ShownImage() const { return Shown.Image(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    TMainForm* Form;
    TLitKeyboard Shown;
    bool Painting = false;
    bool Presented = false; // the next paint shows what Present composed
};
