#pragma once

#include "KeyMap.h"
#include "KeyPositions.h"
#include "KeyboardPicture.h"

#include <QDialog>
#include <QImage>

class QLabel;
class QPushButton;
class TFancyButton;

// "Which key is this?": a modal window that shows the keyboard picture and, for every key pressed
// while it has the focus, lights that key in amber and names it with what it is for. Every key is
// explored, Esc and Tab too; the window closes with its buttons and its close box.
class TKeyExplorer : public QDialog {
    Q_OBJECT

public:
    static constexpr int GoToPageResult = 2;

    // The layout file in use, its key map and picture (may be absent) as the main window holds
    // them; the scan codes of the events are read as `scanCodes`.
    TKeyExplorer(const QString& layoutFile, const TKeyMap& keyMap, const QImage* picture,
                 QWidget* parent = nullptr, TScanCodeSet scanCodes = NativeScanCodeSet());

    QLabel* Picture = nullptr;
    QLabel* KeyLabel = nullptr;
    TFancyButton* CloseBtn = nullptr;
    QPushButton* GotoBtn = nullptr;

    // Lights the pressed key and says what it is.
    void ExploreKey(quint32 scanCode, int key, Qt::KeyboardModifiers modifiers,
                    const QString& fallbackName);
    // The page about the last key pressed: the first page that shows its group; 0 when none does.
    int PageOfLastKey() const;
    // The picture as shown, the lit key included.
    const QImage& ShownImage() const { return Shown; }

protected:
    bool event(QEvent* event) override;

private:
    void PlaceControls();
    void ShowPicture(const std::vector<TKeyRect>& rects);
    QString Read(const QString& section, const QString& key, const QString& defaultValue) const;

    QString LayoutFile;
    TKeyMap KeyMap;
    QImage KeyboardPicture;
    // The picture stretched once for the picture label; every key press composes from it.
    TStretchedPicture Stretched;
    TScanCodeSet ScanCodes;
    int LastGroup = -1;
    QImage Shown;
};
